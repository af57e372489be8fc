#include "ui/AboutMessage.h"

namespace tessaro::ui {
namespace {

constexpr wchar_t kLineBreak = L'\r';
constexpr const wchar_t* kHolder = L"Die Tessaro-Entwickler";

// The pictures were drawn for Tessaro and given away; the credits say so and
// name nobody else.
constexpr const wchar_t* kImageCredit =
    L"Window picture drawn for Tessaro by the Tessaro developers, released into the public "
    L"domain and published with Tessaro's source code, and";
constexpr const wchar_t* kIconCredit =
    L"the Tessaro icon is free as well (public domain), from the same place: the Tessaro "
    L"source repository. You are welcome to visit it.";

}  // namespace

std::wstring ComposeAboutText(std::int32_t year, const ProgramVersion& version) {
  std::wstring text = L"Copyright \u00A9 ";
  text += std::to_wstring(year);
  text += L' ';
  text += kHolder;
  text += kLineBreak;
  text += L"Version " + std::to_wstring(version.major) + L'.' + std::to_wstring(version.minor) +
          L'.' + std::to_wstring(version.revision);
  text += kLineBreak;
  text += kLineBreak;
  text += kImageCredit;
  text += kLineBreak;
  text += kIconCredit;
  return text;
}

}  // namespace tessaro::ui
