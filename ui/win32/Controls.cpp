#include "ui/win32/Controls.h"

#include <vector>

namespace tessaro::ui::win32 {

std::wstring WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(hwnd, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

std::wstring ComboBoxWin32::Text() const { return WindowText(combo_); }

void ComboBoxWin32::SetText(const std::wstring& text) { SetWindowTextW(combo_, text.c_str()); }

void ComboBoxWin32::AddItem(const std::wstring& item) {
  // The box is unsorted, so CB_ADDSTRING appends.
  SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool MenuCheckMark::Checked() const {
  const UINT state = GetMenuState(menu_, static_cast<UINT>(id_), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void MenuCheckMark::SetChecked(bool checked) {
  CheckMenuItem(menu_, static_cast<UINT>(id_),
                MF_BYCOMMAND | static_cast<UINT>(checked ? MF_CHECKED : MF_UNCHECKED));
}

HMENU BuildPopupMenu(std::span<const MenuEntry> entries) {
  HMENU root = CreatePopupMenu();
  HMENU current = root;
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntryKind::kSubmenuBegin: {
        HMENU submenu = CreatePopupMenu();
        AppendMenuW(current, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu),
                    keys::Marked(entry.caption, entry.accessKey).c_str());
        current = submenu;
        break;
      }
      case MenuEntryKind::kSubmenuEnd:
        current = root;
        break;
      case MenuEntryKind::kSeparator:
        AppendMenuW(current, MF_SEPARATOR, 0, nullptr);
        break;
      case MenuEntryKind::kItem:
        AppendMenuW(current, MF_STRING, static_cast<UINT_PTR>(entry.id),
                    keys::Marked(entry.caption, entry.accessKey).c_str());
        break;
    }
  }
  return root;
}

bool IsCommandId(unsigned id) {
  switch (static_cast<CommandId>(id)) {
    case CommandId::cmdSubst:
    case CommandId::cmdDelRes:
    case CommandId::cmdOpenPath:
    case CommandId::cmdOpenDrive:
    case CommandId::mnuDrivesMap:
    case CommandId::mnuDrivesDel:
    case CommandId::mnuRemoveItem:
    case CommandId::mnuSystray:
    case CommandId::mnuAbout:
    case CommandId::mnuEnd:
    case CommandId::mnuBarShowWindow:
    case CommandId::mnuBarAbout:
    case CommandId::mnuBarEnd:
      return true;
    case CommandId::kNone:
      return false;
  }
  return false;
}

}  // namespace tessaro::ui::win32
