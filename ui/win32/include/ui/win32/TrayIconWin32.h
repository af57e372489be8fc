#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <optional>

#include "ui/Services.h"

namespace tessaro::ui::win32 {

// The notification-area icon, in the classic protocol: the shell posts
// WM_MOUSEMOVE to the callback window (Picture1) with the mouse message in
// lParam. The wide call keeps the German tip intact whatever the system's
// code page. An icon still shown when the object goes is removed with it.
class TrayIconWin32 final : public ITrayIcon {
 public:
  TrayIconWin32() = default;
  ~TrayIconWin32() override;
  TrayIconWin32(const TrayIconWin32&) = delete;
  TrayIconWin32& operator=(const TrayIconWin32&) = delete;

  // The window that receives the callbacks, and the icon's picture (loaded
  // with the first Show: nothing at start-up waits for it).
  void Attach(HWND callbackWindow, HINSTANCE instance, int iconId);

  bool Show(const std::wstring& tip) override;
  void Remove() override;

  // After Explorer restarts its task bar the icon is gone; put it back.
  void OnTaskbarCreated();

  // Gives the keyboard focus back to the notification area, as after the
  // icon's menu closed without a choice.
  void ReturnFocus();

 private:
  HWND callbackWindow_ = nullptr;
  HINSTANCE instance_ = nullptr;
  int iconId_ = 0;
  HICON icon_ = nullptr;
  // The record last handed to the shell; all zero until the first Show, and
  // what Remove hands over whether or not an icon is shown.
  NOTIFYICONDATAW record_{};
  bool present_ = false;
};

// The callback's lParam as one of the two events the logic knows. With the
// classic protocol a keyboard selection of the icon (Enter, Space or the
// context-menu key) arrives as WM_RBUTTONDOWN then WM_RBUTTONUP, so it opens
// the menu like a right click.
std::optional<TrayEvent> TrayEventFromCallback(LPARAM lParam);

}  // namespace tessaro::ui::win32
