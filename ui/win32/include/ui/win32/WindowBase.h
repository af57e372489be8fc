#pragma once

#include <windows.h>

#include <string>

namespace tessaro::ui::win32 {

// One window procedure for all our window classes: the object rides in
// GWLP_USERDATA from WM_NCCREATE on, and every message goes to its member.
class WindowBase {
 public:
  WindowBase() = default;
  virtual ~WindowBase() = default;
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  // lpParam of CreateWindowExW must be the object itself.
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Shows what stopped a message's handling; a message box over the window.
  virtual void ReportUnexpected(const std::wstring& message);

  HWND hwnd_ = nullptr;
};

}  // namespace tessaro::ui::win32
