#pragma once

#include <QString>

#include <string>

// The logic speaks std::wstring, Qt speaks QString: convert only at the edge.
namespace tessaro::ui::qt {

inline QString ToQString(const std::wstring& text) { return QString::fromStdWString(text); }
inline QString ToQString(const wchar_t* text) {
  return text == nullptr ? QString() : QString::fromWCharArray(text);
}
inline std::wstring ToWString(const QString& text) { return text.toStdWString(); }

}  // namespace tessaro::ui::qt
