#pragma once

#include <QString>

#include <string>

// The logic speaks std::wstring, Qt speaks QString: convert only at the edge.
namespace tessaro::ui::qt {

inline QString ToQString(const std::wstring& text) { return QString::fromStdWString(text); }
inline QString ToQString(const wchar_t* text) {
  return text == nullptr ? QString() : QString::fromWCharArray(text);
}
// Lone surrogates stay as they are (toStdWString would make them U+FFFD): on
// Linux they carry the bytes of a file name that is not UTF-8
// (text::DecodeFileName), which must survive a trip through a text box.
inline std::wstring ToWString(const QString& text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return text.toStdWString();
  } else {
    std::wstring wide;
    wide.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
      const char16_t unit = text[i].unicode();
      if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
          QChar::isLowSurrogate(text[i + 1].unicode())) {
        wide.push_back(static_cast<wchar_t>(QChar::surrogateToUcs4(unit, text[i + 1].unicode())));
        ++i;
      } else {
        wide.push_back(static_cast<wchar_t>(unit));
      }
    }
    return wide;
  }
}

}  // namespace tessaro::ui::qt
