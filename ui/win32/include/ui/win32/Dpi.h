#pragma once

#include <windows.h>

#include "ui/Layout.h"

// DPI helpers. The per-monitor functions exist only on newer systems, so they
// are looked up at run time and fall back to the screen's DPI.
namespace tessaro::ui::win32 {

UINT ScreenDpi();
UINT WindowDpi(HWND hwnd);

// The system's message font at the given DPI; the caller owns the font.
HFONT CreateMessageFont(UINT dpi);

// The window rectangle whose client area has the given size at the origin.
RECT WindowRectForClient(int left, int top, int clientWidth, int clientHeight, DWORD style,
                         DWORD exStyle, UINT dpi);

inline int Px(int twips, UINT dpi) { return layout::TwipsToPixels(twips, static_cast<int>(dpi)); }

// Sends WM_SETFONT to the window and every child.
void ApplyFont(HWND parent, HFONT font);

// A window's message font, owned: made for the window's DPI, made again when
// the DPI changes, deleted with the window.
class WindowFont {
 public:
  WindowFont() = default;
  ~WindowFont();
  WindowFont(const WindowFont&) = delete;
  WindowFont& operator=(const WindowFont&) = delete;

  // The font for dpi, for controls that take it as they are made.
  HFONT Create(UINT dpi);
  // Hands the font for dpi to the window and its children; the old font goes
  // only once nothing shows it any more.
  void Apply(HWND window, UINT dpi);

 private:
  void Replace(HFONT font);

  HFONT font_ = nullptr;
};

}  // namespace tessaro::ui::win32
