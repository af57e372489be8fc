#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions at the program's edges: the inside speaks std::wstring, files
// and POSIX system calls speak bytes. wchar_t is UTF-16 on Windows and UTF-32
// elsewhere; both are handled.
namespace tessaro::text {

bool IsValidUtf8(std::string_view bytes);

// Strict: nullopt when the bytes are not valid UTF-8 (overlongs, surrogates
// and code points above U+10FFFF included).
std::optional<std::wstring> DecodeUtf8(std::string_view bytes);

// Lenient: each invalid sequence becomes U+FFFD. For texts from the system
// (file names, environment) where something must be shown.
std::wstring DecodeUtf8Lossy(std::string_view bytes);

// Unpaired surrogates (possible in Windows file names) become U+FFFD.
std::string EncodeUtf8(std::wstring_view text);

// A POSIX file name or path, whose bytes need not be UTF-8, and back without
// loss: valid UTF-8 decodes as usual, and each byte that is not part of a
// valid sequence becomes U+DC80 to U+DCFF (a lone surrogate no UTF-8 text
// yields), which EncodeFileName turns back into that byte. Anything shown to
// the user should replace those first.
std::wstring DecodeFileName(std::string_view bytes);
std::string EncodeFileName(std::wstring_view name);

// Windows-1252, the Western 8-bit code page; the five undefined bytes map to
// the C1 control with the same number, as Windows does.
std::wstring DecodeWindows1252(std::string_view bytes);

// UTF-16LE, as a file holds it after its byte-order mark. Where wchar_t is
// wider, pairs become one code point and a lone surrogate is kept as its unit,
// so that it is written back unchanged; an odd trailing byte becomes U+FFFD.
std::wstring DecodeUtf16Le(std::string_view bytes);
std::string EncodeUtf16Le(std::wstring_view text);

// Number of Unicode code points in the text (surrogate pairs count once).
std::size_t CodePointCount(std::wstring_view text);

}  // namespace tessaro::text
