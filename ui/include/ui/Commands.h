#pragma once

#include <array>
#include <cstdint>

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

// mnuFile ("Datei") as the right-click popup shows it; its own caption is
// never shown.
inline constexpr std::array<MenuEntry, 11> kFileMenu{{
    {MenuEntryKind::kSubmenuBegin, CommandId::kNone, L"Local Mappings", 0},
    {MenuEntryKind::kItem, CommandId::mnuDrivesMap, L"Map", 0},
    {MenuEntryKind::kItem, CommandId::mnuDrivesDel, L"Delete", 0},
    {MenuEntryKind::kSubmenuEnd, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuRemoveItem, L"Reset nach Neustart", 0, true},
    {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuSystray, L"Im Systray verstecken", 3},
    {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuAbout, L"Über...", 1},
    {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuEnd, L"Tessaro beenden", 9},
}};

// mnuBar ("Systray"), the tray icon's menu.
inline constexpr std::array<MenuEntry, 10> kTrayMenu{{
    {MenuEntryKind::kSubmenuBegin, CommandId::kNone, L"Local Mappings", 0},
    {MenuEntryKind::kItem, CommandId::mnuDrivesMap, L"Map", 0},
    {MenuEntryKind::kItem, CommandId::mnuDrivesDel, L"Delete", 0},
    {MenuEntryKind::kSubmenuEnd, CommandId::kNone, nullptr},
    {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuBarShowWindow, L"Anzeigen", 0},
    {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuBarAbout, L"Über...", 1},
    {MenuEntryKind::kSeparator, CommandId::kNone, nullptr},
    {MenuEntryKind::kItem, CommandId::mnuBarEnd, L"Tessaro beenden", 9},
}};

}  // namespace tessaro::ui
