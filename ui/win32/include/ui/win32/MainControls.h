#pragma once

#include <windows.h>

#include <array>

#include "ui/Layout.h"

// frmMain's controls as the window shows them, with nothing of the program
// behind them: the main window makes its controls here, and so does the
// start-up bench's floor, which is therefore the program's window by
// construction.
namespace tessaro::ui::win32 {

// Fixed single border with close and minimize boxes, no maximize box; Tab
// and arrow keys walk the controls as in a dialog.
inline constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
inline constexpr DWORD kMainWindowExStyle = WS_EX_CONTROLPARENT;

using MainControlHandles = std::array<HWND, layout::kMainControls.size()>;

// Makes the never-visible picture box in its place; the program's own is the
// tray's message target.
using MakePicture = HWND (*)(void* context, HWND parent, const RECT& rect);

// Creates the controls in parent, in the order of layout::kMainControls, each
// in its place at dpi and with font.
MainControlHandles CreateMainControls(HWND parent, HINSTANCE instance, UINT dpi, HFONT font,
                                      MakePicture makePicture, void* context);

// Where a control sits at dpi; a combo box's height includes its list.
RECT MainControlRect(const layout::Control& control, UINT dpi);

// Sets a combo box's field to the layout's height, which the font overrides.
void FitComboFieldHeight(HWND combo, int height);

}  // namespace tessaro::ui::win32
