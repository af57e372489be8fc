#pragma once

#include <string_view>

// How this system writes paths and text files.
namespace tessaro::platform {

enum class LineEnd { kCrLf, kLf };

// The character that joins a folder and a name.
wchar_t PathSeparator();

// The line end of text files the program creates.
LineEnd NativeLineEnd();

// Whether two paths name the same thing by the system's rule: ordinal and
// ignoring case on Windows (as the file system compares names), byte for byte
// elsewhere. Never the locale's rule.
bool SamePath(std::wstring_view a, std::wstring_view b);

}  // namespace tessaro::platform
