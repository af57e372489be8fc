#pragma once

// How this system writes paths and text files.
namespace tessaro::platform {

enum class LineEnd { kCrLf, kLf };

// The character that joins a folder and a name.
wchar_t PathSeparator();

// The line end of text files the program creates.
LineEnd NativeLineEnd();

}  // namespace tessaro::platform
