#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program's rules for letter case, all of them here and none taken from
// the locale (the C library's towlower turns 'I' into a dotless i under a
// Turkish locale): drive letters and command-line switches fold as ASCII;
// settings-file section and key names fold as the Windows profile functions
// fold them (ASCII and the common letters beyond it, as recorded from them).
// Paths are compared by the platform's own rule (platform::SamePath).
namespace tessaro::text {

constexpr wchar_t AsciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
constexpr wchar_t AsciiUpper(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}
constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::wstring AsciiLower(std::wstring_view text) {
  std::wstring lower(text);
  for (auto& c : lower) c = AsciiLower(c);
  return lower;
}
inline std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring upper(text);
  for (auto& c : upper) c = AsciiUpper(c);
  return upper;
}

constexpr bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Section and key names of the settings file.
wchar_t ProfileUpper(wchar_t c);
bool EqualsProfileNameNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace tessaro::text
