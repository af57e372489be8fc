#include "core/modIniAccess.h"

#include <array>
#include <utility>

#include "core/NumericText.h"

namespace tessaro {
namespace {

// Each key's section, name and field, once: load and save both walk this
// table in its order, so they cannot drift apart.
struct Setting {
  const wchar_t* section;
  const wchar_t* key;
  std::wstring (*save)(const AppState&);
  void (*load)(AppState&, const std::wstring&);
};

template <std::size_t Slot>
constexpr Setting LastPath(const wchar_t* key) {
  return {L"Data", key, [](const AppState& a) { return a.arrLastPath[Slot]; },
          [](AppState& a, const std::wstring& v) { a.arrLastPath[Slot] = v; }};
}

const std::array<Setting, 10> kSettings{{
    {L"Startup", L"target drive", [](const AppState& a) { return a.strTargetDrive; },
     [](AppState& a, const std::wstring& v) { a.strTargetDrive = v; }},
    {L"Startup", L"target path", [](const AppState& a) { return a.strTargetPath; },
     [](AppState& a, const std::wstring& v) { a.strTargetPath = v; }},
    // The file holds the negated Boolean: "1" for set, "0" for clear; any
    // number but 0 reads as set, so a hand-edited -1 or 7 counts too.
    {L"Startup", L"reset restart",
     [](const AppState& a) { return std::to_wstring(-a.blnResetRestart); },
     [](AppState& a, const std::wstring& v) {
       a.blnResetRestart = ToBool16(NumericValue(v) != 0.0);
     }},
    {L"Data", L"next path", [](const AppState& a) { return std::to_wstring(a.intNextPath); },
     [](AppState& a, const std::wstring& v) {
       a.intNextPath = ToInt16RoundHalfEven(NumericValue(v));
     }},
    LastPath<0>(L"last path 1"),
    LastPath<1>(L"last path 2"),
    LastPath<2>(L"last path 3"),
    LastPath<3>(L"last path 4"),
    LastPath<4>(L"last path 5"),
    LastPath<5>(L"last path 6"),
}};

}  // namespace

std::wstring fctReadIniValue(const profile::ProfileText& document, std::wstring_view section,
                             std::wstring_view key, std::wstring_view defaultValue) {
  return document.Read(section, key).value_or(std::wstring(defaultValue));
}

Bool16 fctWriteIniValue(profile::ProfileText& document, std::wstring_view section,
                        std::wstring_view key, std::wstring_view value) {
  return ToBool16(document.Write(section, key, value));
}

void LoadSettings(AppState& app) {
  // A missing or unreadable file reads like a file without keys.
  const auto document = profile::LoadProfile(app.strIniFile).value_or(profile::ProfileText());
  for (const auto& setting : kSettings) {
    setting.load(app, fctReadIniValue(document, setting.section, setting.key));
  }
}

platform::WriteResult SaveSettings(const AppState& app, profile::LineEnd newFileLineEnd) {
  std::wstring reason;
  auto document = profile::LoadProfile(app.strIniFile, newFileLineEnd, &reason);
  // A file that cannot be read is never replaced by one without its keys.
  if (!document) return platform::WriteResult::Failed(std::move(reason));
  for (const auto& setting : kSettings) {
    // A refused value (a folder name holding a line break) keeps the stored
    // one; it must not cost the other keys their save.
    (void)fctWriteIniValue(*document, setting.section, setting.key, setting.save(app));
  }
  return profile::StoreProfile(app.strIniFile, *document);
}

}  // namespace tessaro
