#pragma once

#include <cstdint>
#include <string>

#include "core/TrayRecord.h"

namespace tessaro::ui {

struct ProgramVersion {
  std::int16_t major = 0;
  std::int16_t minor = 0;
  std::int16_t revision = 0;
};

// The notification-area icon. Add reports whether an icon is now shown, so
// that the logic can bring the window back when there is no tray to hide in.
class ITrayIcon {
 public:
  virtual ~ITrayIcon() = default;
  // Fills in what only the platform knows (the record size) before the add.
  virtual std::uint32_t RecordSize() const = 0;
  virtual bool Add(const TrayRecord& record) = 0;
  virtual void Remove(const TrayRecord& record) = 0;
};

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
