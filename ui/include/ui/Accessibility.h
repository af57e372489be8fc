#pragma once

#include <array>
#include <string>
#include <string_view>

// What assistive technology hears for each control, for both front ends. A
// control is either named by its label (the label's caption, linked to the
// box) or carries a name of its own where its visible text says nothing.
namespace tessaro::ui::access {

struct AccessibleName {
  std::string_view control;
  std::string_view label;  // the label that names it, or empty
  const wchar_t* name;     // its name: the label's caption or a name of its own
};

inline constexpr std::array<AccessibleName, 7> kAccessibleNames{{
    {"cboDrive", "lblDrive", L"Laufwerk auswählen"},
    {"cboLocRes", "Label1", L"Lokale Ressource hinzufügen..."},
    {"cmdOpenDrive", {}, L"Laufwerk und Ordner wählen"},
    {"cmdOpenPath", {}, L"Ordner wählen"},
    {"Drive1", {}, L"Laufwerke"},
    {"Dir1", {}, L"Ordner"},
    {"File1", {}, L"Dateien"},
}};

// The entry for a control, or nullptr when its own text is its name.
constexpr const AccessibleName* AccessibleNameOf(std::string_view control) {
  for (const auto& entry : kAccessibleNames) {
    if (entry.control == control) return &entry;
  }
  return nullptr;
}

// A message text as a screen reader should get it: every line break (a lone
// CR, as the message box takes it, a CR LF or a lone LF) becomes lineBreak.
std::wstring WithLineBreaks(std::wstring_view text, std::wstring_view lineBreak);

}  // namespace tessaro::ui::access
