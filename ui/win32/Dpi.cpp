#include "ui/win32/Dpi.h"

namespace tessaro::ui::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// GetProcAddress hands out a generic pointer; going through void(*)() keeps
// the cast warning-free.
template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

}  // namespace

UINT ScreenDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return USER_DEFAULT_SCREEN_DPI;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT WindowDpi(HWND hwnd) {
  if (auto getDpi = User32Function<GetDpiForWindowFn>("GetDpiForWindow")) {
    const UINT dpi = getDpi(hwnd);
    if (dpi != 0) return dpi;
  }
  return ScreenDpi();
}

HFONT CreateMessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (auto forDpi = User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi")) {
    if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
      return CreateFontIndirectW(&metrics.lfMessageFont);
    }
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }
  // The classic call answers for the screen's DPI.
  metrics.lfMessageFont.lfHeight =
      MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

RECT WindowRectForClient(int left, int top, int clientWidth, int clientHeight, DWORD style,
                         DWORD exStyle, UINT dpi) {
  RECT rect{left, top, left + clientWidth, top + clientHeight};
  if (auto adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi")) {
    if (adjust(&rect, style, FALSE, exStyle, dpi)) return rect;
  }
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return rect;
}

void ApplyFont(HWND parent, HFONT font) {
  SendMessageW(parent, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

WindowFont::~WindowFont() { Replace(nullptr); }

HFONT WindowFont::Create(UINT dpi) {
  Replace(CreateMessageFont(dpi));
  return font_;
}

void WindowFont::Apply(HWND window, UINT dpi) {
  HFONT font = CreateMessageFont(dpi);
  ApplyFont(window, font);
  Replace(font);
}

void WindowFont::Replace(HFONT font) {
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;
}

}  // namespace tessaro::ui::win32
