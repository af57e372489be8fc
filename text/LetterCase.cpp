#include "text/LetterCase.h"

namespace tessaro::text {

// Upper case for the scripts a folder or key name is likely to use, from our
// own table: the result must not depend on the locale, and it folds the
// letters beyond ASCII that the Windows profile functions fold too.
wchar_t ProfileUpper(wchar_t c) {
  const auto u = static_cast<unsigned long>(c);
  const auto pairEvenUpper = [c, u]() { return (u & 1UL) != 0 ? static_cast<wchar_t>(c - 1) : c; };
  const auto pairOddUpper = [c, u]() { return (u & 1UL) == 0 ? static_cast<wchar_t>(c - 1) : c; };
  if (u < 0x80) return (u >= 'a' && u <= 'z') ? static_cast<wchar_t>(c - 32) : c;
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(c - 32);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u >= 0x100 && u <= 0x137) return pairEvenUpper();
  if (u >= 0x139 && u <= 0x148) return pairOddUpper();
  if (u >= 0x14A && u <= 0x177) return pairEvenUpper();
  if (u >= 0x179 && u <= 0x17E) return pairOddUpper();
  if ((u >= 0x3B1 && u <= 0x3C1) || (u >= 0x3C3 && u <= 0x3CB)) return static_cast<wchar_t>(c - 32);
  if (u == 0x3C2) return static_cast<wchar_t>(0x3A3);
  if (u == 0x3AC) return static_cast<wchar_t>(0x386);
  if (u >= 0x3AD && u <= 0x3AF) return static_cast<wchar_t>(c - 37);
  if (u == 0x3CC) return static_cast<wchar_t>(0x38C);
  if (u == 0x3CD || u == 0x3CE) return static_cast<wchar_t>(c - 63);
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(c - 32);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(c - 80);
  if ((u >= 0x460 && u <= 0x481) || (u >= 0x48A && u <= 0x4BF)) return pairEvenUpper();
  if (u >= 0x4C1 && u <= 0x4CE) return pairOddUpper();
  if (u == 0x4CF) return static_cast<wchar_t>(0x4C0);
  if (u >= 0x4D0 && u <= 0x52F) return pairEvenUpper();
  if (u >= 0x561 && u <= 0x586) return static_cast<wchar_t>(c - 48);
  if ((u >= 0x1E00 && u <= 0x1E95) || (u >= 0x1EA0 && u <= 0x1EFF)) return pairEvenUpper();
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(c - 32);
  return c;
}

bool EqualsProfileNameNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && ProfileUpper(a[i]) != ProfileUpper(b[i])) return false;
  }
  return true;
}

}  // namespace tessaro::text
