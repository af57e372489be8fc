#include "ui/win32/Keyboard.h"

#include <windowsx.h>

namespace tessaro::ui::win32 {

bool PressFocusedButtonOnEnter(HWND window, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN) return false;
  HWND focus = GetFocus();
  if (focus == nullptr || msg.hwnd != focus || GetParent(focus) != window) return false;
  const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, 0, 0);
  if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0) return false;
  if (IsWindowEnabled(focus) == FALSE) return false;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
               reinterpret_cast<LPARAM>(focus));
  return true;
}

bool RequestContextMenuByKey(HWND window, const MSG& msg) {
  if (msg.hwnd != window && IsChild(window, msg.hwnd) == FALSE) return false;
  // The context-menu key's release would open an edit field's own menu.
  if (msg.wParam == VK_APPS && (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)) {
    return true;
  }
  const bool menuKey = msg.wParam == VK_APPS && msg.message == WM_KEYDOWN;
  const bool shiftF10 = msg.wParam == VK_F10 &&
                        (msg.message == WM_SYSKEYDOWN || msg.message == WM_KEYDOWN) &&
                        GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0;
  if (!menuKey && !shiftF10) return false;
  SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(-1, -1));
  return true;
}

bool IsKeyboardContextMenu(LPARAM lParam) {
  return GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1;
}

}  // namespace tessaro::ui::win32
