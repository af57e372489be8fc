#pragma once

#include <memory>

namespace tessaro::platform {

// The entry that makes the session run this very program with its restore
// switch at logon: a Run value in the registry on Windows, an XDG autostart
// file on Linux. Both point at the running program's full path.
enum class AutostartResult {
  kDone,
  kFailed,
  // Not written: the session's autostart could not run the program from
  // where it lies (on Linux a path with a control character, "%", "\" or
  // bytes that are not UTF-8).
  kProgramPathRefused,
};

class IAutostart {
 public:
  virtual ~IAutostart() = default;
  // Writes (on) or removes (off) the entry. Removing one that is not there
  // succeeds. Nothing is written unless the entry can work.
  virtual AutostartResult SetRestoreAtLogin(bool on) = 0;
};

std::unique_ptr<IAutostart> MakeSystemAutostart();

}  // namespace tessaro::platform
