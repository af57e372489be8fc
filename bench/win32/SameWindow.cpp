// The start-up floor of Tessaro's window: the main window made by the very
// code that makes tessaro.exe's (its class, style, size, font and controls),
// with the drive list filled, but none of the program around it (no settings,
// folder lookups, menus, tray or screen-reader names). What tessaro.exe takes
// beyond this is the program's own start-up work.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "ui/win32/ControlIds.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/MainControls.h"

namespace {

using namespace tessaro::ui;
using namespace tessaro::ui::win32;

HFONT font = nullptr;
HWND drives = nullptr;

HWND MakeHiddenPicture(void* /*context*/, HWND parent, const RECT& rect) {
  return CreateWindowExW(0, L"STATIC", L"", WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
}

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) {
    const UINT dpi = WindowDpi(window);
    font = CreateMessageFont(dpi);
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    CreateMainControls(window, create->hInstance, dpi, font, &MakeHiddenPicture, nullptr);
    drives = GetDlgItem(window, kIdCboDrive);
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
      const wchar_t item[] = {letter, L':', L'\0'};
      SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
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
  // As the program registers its class, but for the icons.
  const WNDCLASSEXW windowClass{
      .cbSize = sizeof(WNDCLASSEXW),
      .style = 0,
      .lpfnWndProc = &Procedure,
      .cbClsExtra = 0,
      .cbWndExtra = 0,
      .hInstance = instance,
      .hIcon = nullptr,
      .hCursor = LoadCursorW(nullptr, IDC_ARROW),
      .hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
      .lpszMenuName = nullptr,
      .lpszClassName = L"SameWindow",
      .hIconSm = nullptr,
  };
  if (RegisterClassExW(&windowClass) == 0) return 1;

  const UINT dpi = ScreenDpi();
  const RECT rect = WindowRectForClient(0, 0, Px(layout::kMainClientWidth, dpi),
                                        Px(layout::kMainClientHeight, dpi), kMainWindowStyle,
                                        kMainWindowExStyle, dpi);
  HWND window = CreateWindowExW(kMainWindowExStyle, L"SameWindow", layout::kMainCaption,
                                kMainWindowStyle, CW_USEDEFAULT, 0, rect.right - rect.left,
                                rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;

  ShowWindow(window, showCommand);
  UpdateWindow(window);
  SetFocus(drives);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
