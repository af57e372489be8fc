#pragma once

#include <cstdint>
#include <string>

#include "core/Controls.h"

namespace tessaro::ui {

class frmOpenPath;

// Message box styles the program uses (the Windows values).
inline constexpr std::int32_t kMsgInformation = 64;
inline constexpr std::int32_t kMsgCritical = 16;

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
  virtual void SetForeground() = 0;

  // Open mnuFile's items / mnuBar's items as a popup menu at the pointer. The
  // front end runs the chosen item's handler itself; the call may return
  // before or after that, as the platform's menus do.
  virtual void PopupFileMenu() = 0;
  virtual void PopupTrayMenu() = 0;

  // Shows the folder dialog modally and returns when it has closed.
  virtual void ShowOpenPathDialog(frmOpenPath& dialog) = 0;

  virtual void ShowMessage(const std::wstring& text, std::int32_t style,
                           const std::wstring& title) = 0;
};

}  // namespace tessaro::ui
