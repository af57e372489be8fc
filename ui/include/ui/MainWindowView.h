#pragma once

#include <cstdint>
#include <string>

#include "ui/Controls.h"

namespace tessaro::ui {

class frmOpenPath;

// The kinds of message box the program shows; each front end picks its icon.
enum class MessageKind { kInformation, kWarning, kCritical };

// The two popup menus: the window's own and the tray's.
enum class PopupMenuId { mnuFile, mnuBar };

// What frmMain's logic needs of its window. A front end implements it with
// real controls; tests implement it in memory.
class IMainWindowView {
 public:
  virtual ~IMainWindowView() = default;

  virtual IComboBox& cboDrive() = 0;
  virtual IComboBox& cboLocRes() = 0;
  virtual ICheckMark& mnuRemoveItem() = 0;

  virtual void Hide() = 0;
  virtual void Show() = 0;

  // Opens the menu's items as a popup menu at the pointer (mnuFile at the
  // focused control when the keyboard asked for it). The front end does what
  // its platform needs for a menu opened from the tray, and runs the chosen
  // item's handler itself; the call may return before or after that, as the
  // platform's menus do.
  virtual void PopupMenu(PopupMenuId menu) = 0;

  // Shows the folder dialog modally and returns when it has closed.
  virtual void ShowOpenPathDialog(frmOpenPath& dialog) = 0;

  virtual void ShowMessage(const std::wstring& text, MessageKind kind,
                           const std::wstring& title) = 0;
};

}  // namespace tessaro::ui
