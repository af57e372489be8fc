#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/AccessKeys.h"

// One id for every command a button or menu item can give, shared by both
// front ends: the Win32 WM_COMMAND switch and the Qt actions dispatch through
// frmMain::Dispatch.
namespace tessaro::ui {

enum class CommandId : std::uint16_t {
  kNone = 0,
  // buttons
  cmdSubst = 1001,
  cmdDelRes,
  cmdOpenPath,
  cmdOpenDrive,
  // mnuFile
  mnuDrivesMap = 2001,
  mnuDrivesDel,
  mnuRemoveItem,
  mnuSystray,
  mnuAbout,
  mnuEnd,
  // mnuBar (tray menu)
  mnuBarShowWindow = 3001,
  mnuBarAbout,
  mnuBarEnd,
};

enum class MenuEntryKind { kItem, kSeparator, kSubmenuBegin, kSubmenuEnd };

struct MenuEntry {
  MenuEntryKind kind;
  CommandId id;
  const wchar_t* caption;
  // The access key's position in the caption (keys::Marked); items that list
  // things have none.
  int accessKey = keys::kNone;
  // Whether the item carries a check mark that its handler sets.
  bool checkable = false;
};

// Both menus open with the mappings submenu...
inline constexpr std::array<MenuEntry, 4> kMappingsSubmenu{{
    {MenuEntryKind::kSubmenuBegin, CommandId::kNone, L"Local Mappings", 0},
    {MenuEntryKind::kItem, CommandId::mnuDrivesMap, L"Map", 0},
    {MenuEntryKind::kItem, CommandId::mnuDrivesDel, L"Delete", 0},
    {MenuEntryKind::kSubmenuEnd, CommandId::kNone, nullptr},
}};

// ...and close with the about box and the end, each menu under its own ids.
constexpr std::array<MenuEntry, 4> AboutAndEnd(CommandId about, CommandId end) {
  return {{
      {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
      {MenuEntryKind::kItem, about, L"Über...", 1},
      {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
      {MenuEntryKind::kItem, end, L"Tessaro beenden", 9},
  }};
}

// A menu made of its parts, in order.
template <std::size_t... N>
constexpr std::array<MenuEntry, (N + ...)> JoinMenu(const std::array<MenuEntry, N>&... parts) {
  std::array<MenuEntry, (N + ...)> menu{};
  std::size_t at = 0;
  for (const std::span<const MenuEntry> part : {std::span<const MenuEntry>(parts)...}) {
    for (const MenuEntry& entry : part) menu[at++] = entry;
  }
  return menu;
}

// mnuFile ("Datei") as the right-click popup shows it; its own caption is
// never shown.
inline constexpr auto kFileMenu =
    JoinMenu(kMappingsSubmenu,
             std::to_array<MenuEntry>({
                 {MenuEntryKind::kItem, CommandId::mnuRemoveItem, L"Reset nach Neustart", 0, true},
                 {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
                 {MenuEntryKind::kItem, CommandId::mnuSystray, L"Im Systray verstecken", 3},
             }),
             AboutAndEnd(CommandId::mnuAbout, CommandId::mnuEnd));

// mnuBar ("Systray"), the tray icon's menu.
inline constexpr auto kTrayMenu =
    JoinMenu(kMappingsSubmenu,
             std::to_array<MenuEntry>({
                 {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
                 {MenuEntryKind::kItem, CommandId::mnuBarShowWindow, L"Anzeigen", 0},
             }),
             AboutAndEnd(CommandId::mnuBarAbout, CommandId::mnuBarEnd));

}  // namespace tessaro::ui
