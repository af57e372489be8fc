#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessaro {

// 16-bit Booleans: -1 is true, 0 is false, nothing else is ever stored.
using Bool16 = std::int16_t;
inline constexpr Bool16 kTrue = -1;
inline constexpr Bool16 kFalse = 0;

inline constexpr Bool16 ToBool16(bool b) { return b ? kTrue : kFalse; }

inline constexpr int kRecentSlots = 6;

// The one program-wide state. Exactly one instance exists per run; the
// composition root owns it and hands it to every window's logic by reference.
struct AppState {
  std::wstring strAppData;
  std::wstring strIniFile;
  std::wstring strTargetDrive;
  std::wstring strTargetPath;
  std::array<std::wstring, kRecentSlots> arrLastPath{};
  std::int16_t intNextPath = 0;
  Bool16 blnResetRestart = kFalse;
  Bool16 blnPathMode = kFalse;
  Bool16 blnPrefill = kFalse;
};

}  // namespace tessaro
