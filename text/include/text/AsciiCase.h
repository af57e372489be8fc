#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program's one rule for letter case where it folds case itself: drive
// letters, command-line switches and settings-file section and key names fold
// as ASCII, whatever the locale (the C library's towlower turns 'I' into a
// dotless i under a Turkish locale). Paths are compared by the platform's own
// rule instead (platform::SamePath).
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

}  // namespace tessaro::text
