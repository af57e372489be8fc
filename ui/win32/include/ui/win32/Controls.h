#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "ui/Commands.h"
#include "ui/Controls.h"

namespace tessaro::ui::win32 {

// The whole text of a window, however long.
std::wstring WindowText(HWND hwnd);

// An editable drop-down combo box as the logic sees it.
class ComboBoxWin32 final : public IComboBox {
 public:
  void Bind(HWND combo) { combo_ = combo; }
  std::wstring Text() const override;
  void SetText(const std::wstring& text) override;
  void AddItem(const std::wstring& item) override;

 private:
  HWND combo_ = nullptr;
};

// The check mark of one item of a popup menu we own.
class MenuCheckMark final : public ICheckMark {
 public:
  MenuCheckMark(HMENU& menu, CommandId id) : menu_(menu), id_(id) {}
  bool Checked() const override;
  void SetChecked(bool checked) override;

 private:
  HMENU& menu_;
  CommandId id_;
};

// A popup menu built from one of the tables in ui/Commands.h; the caller owns
// it (DestroyMenu).
HMENU BuildPopupMenu(std::span<const MenuEntry> entries);

// Whether a WM_COMMAND id names one of our commands.
bool IsCommandId(unsigned id);

}  // namespace tessaro::ui::win32
