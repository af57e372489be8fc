#pragma once

#include <windows.h>

namespace tessaro::ui::win32 {

// The keys the dialog manager does not give a window that is not a dialog;
// each takes the message before IsDialogMessageW and says whether it used it.

// Enter on a focused push button presses it, as Space does. Enter anywhere
// else (in a box, in a list) is left to the dialog manager, which presses
// nothing: no button is a default button.
bool PressFocusedButtonOnEnter(HWND window, const MSG& msg);

// The context-menu key and Shift+F10 ask the window for its context menu as
// the keyboard does (WM_CONTEXTMENU at -1, -1), before the dialog manager
// hands Shift+F10 to an edit field's own menu.
bool RequestContextMenuByKey(HWND window, const MSG& msg);

// Whether a WM_CONTEXTMENU came from the keyboard rather than the mouse.
bool IsKeyboardContextMenu(LPARAM lParam);

}  // namespace tessaro::ui::win32
