#pragma once

#include <cstdint>
#include <string>

namespace tessaro::ui {

struct ProgramVersion {
  std::int16_t major = 0;
  std::int16_t minor = 0;
  std::int16_t revision = 0;
};

// The notification-area icon, as the logic knows it: shown with a tip or
// not, and two events back from it (TrayEvent).
class ITrayIcon {
 public:
  virtual ~ITrayIcon() = default;
  // False when the desktop has no notification area, so that the logic can
  // bring the window back instead of losing it.
  virtual bool Show(const std::wstring& tip) = 0;
  // Asked for even when no icon is shown; the front end treats that as a no-op.
  virtual void Remove() = 0;
};

// What the user did to the icon: activate is the left button going down,
// menu is the right button coming up (or what the platform offers instead).
enum class TrayEvent { kActivate, kMenu };

class IClock {
 public:
  virtual ~IClock() = default;
  virtual std::int32_t CurrentYear() = 0;
};

// Ends the process at once, without the window's close sequence. A test's
// fake records the call and returns; callers must not rely on it returning.
class IProcessExit {
 public:
  virtual ~IProcessExit() = default;
  virtual void EndNow() = 0;
};

// The program's own version, as the platform stores it with the executable.
class IVersionSource {
 public:
  virtual ~IVersionSource() = default;
  virtual ProgramVersion Version() = 0;
};

}  // namespace tessaro::ui
