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

// File names and other texts from POSIX system calls, which are bytes that
// are usually but not always UTF-8. Each byte that is not part of a valid
// UTF-8 sequence becomes the lone surrogate U+DC80..U+DCFF carrying it (valid
// UTF-8 never decodes to a surrogate), and EncodeFileName turns those back
// into their bytes: Encode(Decode(b)) == b for every byte string, so a name
// read from the system can be handed back to it and still name the same
// entry. Use these wherever a path crosses a POSIX system call.
std::wstring DecodeFileName(std::string_view bytes);
std::string EncodeFileName(std::wstring_view name);
// The name as a person should see it: each carried byte shown as U+FFFD.
std::wstring DisplayFileName(std::wstring_view name);

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

// Which bytes EscapeBytes leaves as they are.
enum class Verbatim {
  kAllButControls,  // UTF-8 and other bytes beyond ASCII stay
  // The backslash and all beyond ASCII escaped too: every byte of a
  // diagnostic reads back unambiguously.
  kPrintableAscii,
};

// The bytes on one line, for a listing or a message: line ends and tabs as
// \n, \r and \t, a backslash not kept verbatim as \\, any other byte not kept
// verbatim as \xhh.
std::string EscapeBytes(std::string_view bytes, Verbatim verbatim);

}  // namespace tessaro::text
