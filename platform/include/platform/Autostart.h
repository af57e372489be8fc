#pragma once

#include <memory>

namespace tessaro::platform {

// The entry that makes the session run this very program with its restore
// switch at logon: a Run value in the registry on Windows, an XDG autostart
// file on Linux. Both point at the running program's full path.
class IAutostart {
 public:
  virtual ~IAutostart() = default;
  // Writes (on) or removes (off) the entry. Removing one that is not there
  // succeeds. False when the entry could not be written or removed.
  virtual bool SetRestoreAtLogin(bool on) = 0;
};

std::unique_ptr<IAutostart> MakeSystemAutostart();

}  // namespace tessaro::platform
