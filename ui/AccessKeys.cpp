#include "ui/AccessKeys.h"

namespace tessaro::ui::keys {
namespace {

bool IsKey(std::wstring_view caption, int at) {
  return at >= 0 && static_cast<std::size_t>(at) < caption.size();
}

}  // namespace

std::wstring Marked(std::wstring_view caption, int at) {
  std::wstring text;
  text.reserve(caption.size() + 2);
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (IsKey(caption, at) && i == static_cast<std::size_t>(at)) text += L'&';
    if (caption[i] == L'&') text += L'&';
    text += caption[i];
  }
  return text;
}

std::wstring Shortcut(std::wstring_view caption, int at) {
  if (!IsKey(caption, at)) return {};
  wchar_t letter = caption[static_cast<std::size_t>(at)];
  if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  return std::wstring(L"Alt+") + letter;
}

}  // namespace tessaro::ui::keys
