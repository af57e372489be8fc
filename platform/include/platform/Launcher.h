#pragma once

#include <memory>
#include <string>

namespace tessaro::platform {

// How the launched program's window first appears.
enum class WindowShow {
  kNormal,
  kMinimized,  // minimized and activated
};

enum class LaunchStatus { kStarted, kNotFound, kFailed };

struct LaunchResult {
  LaunchStatus status = LaunchStatus::kFailed;
  // The system's own words for a failure (may be empty); nothing on success.
  std::wstring detail;
};

// Starts a command line as a new process and returns at once: the caller never
// waits for the process and never reads its result. The command line is never
// given to a shell; the program is the first argument, found the way Windows
// finds a program named without a path (the launching program's own folder
// first).
class ILauncher {
 public:
  virtual ~ILauncher() = default;
  virtual LaunchResult Launch(const std::wstring& commandLine, WindowShow show) = 0;
};

std::unique_ptr<ILauncher> MakeSystemLauncher();

}  // namespace tessaro::platform
