// The window procedure's guard: an exception from a handler stops at the
// window procedure, is reported, and the window keeps working.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ui/win32/WindowBase.h"

namespace tessaro::ui::win32 {
namespace {

class ThrowingWindow final : public WindowBase {
 public:
  ThrowingWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Thunk;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TessaroThrowingWindow";
    RegisterClassW(&windowClass);
    CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                    nullptr, windowClass.hInstance, this);
  }
  ~ThrowingWindow() override {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }

  std::vector<std::wstring> reported;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_APP)
      throw std::runtime_error(
          "Gr\xc3\xb6\xc3\x9f"
          "e");
    if (msg == WM_APP + 1) throw 42;
    if (msg == WM_APP + 2) return 7;
    return WindowBase::HandleMessage(msg, wParam, lParam);
  }
  void ReportUnexpected(const std::wstring& message) override { reported.push_back(message); }
};

TEST(WindowBase, ThrowingHandler_ReportedInGermanAndTheWindowCarriesOn) {
  ThrowingWindow window;
  ASSERT_NE(window.hwnd(), nullptr);
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_APP, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_APP + 1, 0, 0), 0);
  EXPECT_EQ(SendMessageW(window.hwnd(), WM_APP + 2, 0, 0), 7);
  EXPECT_EQ(window.reported, (std::vector<std::wstring>{
                                 L"Ein unerwarteter Fehler ist aufgetreten: Gr\u00f6\u00dfe",
                                 L"Ein unerwarteter Fehler ist aufgetreten.",
                             }));
}

}  // namespace
}  // namespace tessaro::ui::win32
