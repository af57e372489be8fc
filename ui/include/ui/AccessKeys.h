#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

// Access keys (Alt + the underlined letter) of both front ends. A key is the
// position of its letter in the caption, so that captions stay the plain
// texts the rest of the program reads; the front ends mark it when they hand
// the caption to a control or menu.
namespace tessaro::ui::keys {

inline constexpr int kNone = -1;

struct ControlKey {
  std::string_view control;  // a name of the window's layout table
  int at;                    // the key's position in the control's caption
};

// Labels reach the box they name (lblDrive the drive box, Label1 the folder
// box), buttons press. The "..." buttons have no letter to mark; the folder
// dialog's lists have no labels, and its OK and Abbrechen answer Enter and
// Escape, so it has none.
inline constexpr std::array<ControlKey, 4> kMainWindowKeys{{
    {"lblDrive", 0},   // &Laufwerk auswählen
    {"Label1", 7},     // Lokale &Ressource hinzufügen...
    {"cmdSubst", 0},   // &Map
    {"cmdDelRes", 0},  // &Delete
}};
inline constexpr std::array<ControlKey, 0> kDialogKeys{};

// The key's position for a control, or kNone.
constexpr int KeyOf(std::span<const ControlKey> table, std::string_view control) {
  for (const ControlKey& key : table) {
    if (key.control == control) return key.at;
  }
  return kNone;
}

// The caption as controls and menus of both platforms take it: every '&'
// doubled so that it shows as itself, and an '&' before the key's letter.
// With kNone (a folder, a drive) the text only shows literally.
std::wstring Marked(std::wstring_view caption, int at);

// What a screen reader announces for the key: "Alt+L"; empty for kNone.
std::wstring Shortcut(std::wstring_view caption, int at);

}  // namespace tessaro::ui::keys
