#pragma once

#include <array>
#include <cstdint>

namespace tessaro {

// The notification-area icon record, kept by the program in the platform's
// field order. Handles are opaque numbers here; only a front end knows what
// they stand for.
struct TrayRecord {
  std::uint32_t cbSize = 0;
  std::uintptr_t hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 0;
  std::uint32_t uCallbackMessage = 0;
  std::uintptr_t hIcon = 0;
  std::array<wchar_t, 64> szTip{};
};

}  // namespace tessaro
