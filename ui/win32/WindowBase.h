#pragma once

#include <windows.h>

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

  HWND hwnd_ = nullptr;
};

}  // namespace tessaro::ui::win32
