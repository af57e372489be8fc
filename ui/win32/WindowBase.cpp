#include "ui/win32/WindowBase.h"

#include "ui/UnexpectedError.h"

namespace tessaro::ui::win32 {

LRESULT CALLBACK WindowBase::Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowBase* self = nullptr;
  if (msg == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    self = static_cast<WindowBase*>(create->lpCreateParams);
    if (self != nullptr) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);

  // An exception must not cross the system's code above us: it stops here,
  // the user is told, and the message counts as handled.
  LRESULT result = 0;
  CatchUnexpected([&] { result = self->HandleMessage(msg, wParam, lParam); },
                  [self](const std::wstring& message) { self->ReportUnexpected(message); });
  if (msg == WM_NCDESTROY) {
    // The object may outlive its window; no message may reach it afterwards.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

LRESULT WindowBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void WindowBase::ReportUnexpected(const std::wstring& message) {
  // The box's own message loop may bring a second failure; one box at a time.
  static bool showing = false;
  if (showing) return;
  showing = true;
  MessageBoxW(hwnd_ != nullptr && IsWindow(hwnd_) ? hwnd_ : nullptr, message.c_str(), L"Tessaro",
              MB_OK | MB_ICONERROR);
  showing = false;
}

}  // namespace tessaro::ui::win32
