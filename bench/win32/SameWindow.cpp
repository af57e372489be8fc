// The start-up floor of Tessaro's window: the main window with the same
// controls, styles, font and drive list as tessaro.exe, built the same way,
// but none of the program around it (no settings, folder lookups, menus,
// tray or screen-reader names). What tessaro.exe takes beyond this is the
// program's own start-up work. Its boxes end up a pixel or two taller than
// tessaro.exe's; that costs nothing measurable.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "ui/Layout.h"

namespace {

using namespace tessaro::ui::layout;

int Px(int twips, int dpi) { return TwipsToPixels(twips, dpi); }

// As tessaro.exe does: the controls are made while the window is created.
HFONT CreateControls(HWND window) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  HWND drives = nullptr;
  for (const Control& c : kMainControls) {
    const wchar_t* className = c.kind == Kind::kComboBox ? L"COMBOBOX"
                               : c.kind == Kind::kButton ? L"BUTTON"
                                                         : L"STATIC";
    DWORD style = c.kind == Kind::kPicture ? WS_CHILD : WS_CHILD | WS_VISIBLE;
    if (c.kind == Kind::kLabel) style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    if (c.kind == Kind::kComboBox)
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    if (c.kind == Kind::kButton) style |= WS_TABSTOP | BS_PUSHBUTTON;
    if (c.kind == Kind::kImage) style |= SS_OWNERDRAW | SS_NOTIFY | WS_BORDER;
    const int height = Px(c.twips.height, dpi) + (c.kind == Kind::kComboBox ? Px(2400, dpi) : 0);
    HWND control =
        CreateWindowExW(0, className, c.caption, style, Px(c.twips.left, dpi), Px(c.twips.top, dpi),
                        Px(c.twips.width, dpi), height, window, nullptr, nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == Kind::kComboBox) {
      SetWindowPos(control, nullptr, 0, 0, Px(c.twips.width, dpi), height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      RECT field{};
      GetWindowRect(control, &field);
      const LRESULT item = SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
      SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                   item + Px(c.twips.height, dpi) - (field.bottom - field.top));
      if (drives == nullptr) drives = control;
    }
  }
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    const wchar_t item[] = {letter, L':', L'\0'};
    SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }

  return font;
}

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  static HFONT font = nullptr;
  if (msg == WM_CREATE) {
    font = CreateControls(window);
    return 0;
  }
  if (msg == WM_DESTROY) {
    DeleteObject(font);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = L"SameWindow";
  if (RegisterClassExW(&windowClass) == 0) return 1;

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  constexpr DWORD kStyle =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT rect{0, 0, Px(kMainClientWidth, dpi), Px(kMainClientHeight, dpi)};
  AdjustWindowRectEx(&rect, kStyle, FALSE, WS_EX_CONTROLPARENT);
  HWND window = CreateWindowExW(WS_EX_CONTROLPARENT, L"SameWindow", kMainCaption, kStyle,
                                CW_USEDEFAULT, 0, rect.right - rect.left, rect.bottom - rect.top,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;

  ShowWindow(window, showCommand);
  UpdateWindow(window);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
