#pragma once

#include <windows.h>

#include <string>

namespace tessaro::ui::win32 {

// Gives a control the name a screen reader announces, where its own text says
// nothing (a "..." button) or the wrong thing (a combo box is read by its
// text). A combo box's edit field gets the same name. The control keeps its
// own copy of the name.
void SetAccessibleName(HWND control, const wchar_t* name);

// Puts a label directly before its control in the z-order, where the system's
// accessibility looks for a control's name. The tab order is unchanged: it
// skips labels.
void PlaceLabelBefore(HWND label, HWND control);

// MessageBoxW whose text a screen reader reads with line breaks: the box shows
// exactly the text given, lone CRs included.
int MessageBoxForReaders(HWND owner, const std::wstring& text, const std::wstring& title,
                         UINT style);

}  // namespace tessaro::ui::win32
