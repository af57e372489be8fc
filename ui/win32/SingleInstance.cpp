#include "ui/win32/SingleInstance.h"

#include "ui/win32/ControlIds.h"

namespace tessaro::ui::win32 {
namespace {

// Local\ is per session, which is per user as well.
constexpr const wchar_t* kMutexName = L"Local\\Tessaro.SingleInstance";
constexpr DWORD kWaitForWindowMs = 5000;
constexpr DWORD kPollMs = 50;

}  // namespace

SingleInstance::SingleInstance() : mutex_(CreateMutexW(nullptr, FALSE, kMutexName)) {
  // Without a mutex (no rights, no memory) Tessaro starts as it always did.
  first_ = !mutex_.valid() || GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::WakeRunning() {
  const ULONGLONG until = GetTickCount64() + kWaitForWindowMs;
  for (;;) {
    if (HWND running = FindWindowW(kMainWindowClass, nullptr); running != nullptr) {
      DWORD process = 0;
      GetWindowThreadProcessId(running, &process);
      // Only the program the user just started may hand on the foreground.
      AllowSetForegroundWindow(process);
      PostMessageW(running, StartedAgainMessage(), 0, 0);
      return;
    }
    if (GetTickCount64() >= until) return;
    Sleep(kPollMs);
  }
}

UINT StartedAgainMessage() {
  static const UINT message = RegisterWindowMessageW(L"Tessaro.StartedAgain");
  return message;
}

}  // namespace tessaro::ui::win32
