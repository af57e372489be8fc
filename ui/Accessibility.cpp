#include "ui/Accessibility.h"

namespace tessaro::ui::access {

std::wstring WithLineBreaks(std::wstring_view text, std::wstring_view lineBreak) {
  std::wstring result;
  result.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'\r' || c == L'\n') {
      result += lineBreak;
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace tessaro::ui::access
