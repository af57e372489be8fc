#pragma once

#include <memory>
#include <string>

namespace tessaro::platform {

enum class RunStatus { kStarted, kNotFound, kFailed };

struct RunResult {
  RunStatus status = RunStatus::kFailed;
  // The program's exit code; meaningful only when it was started.
  int exitCode = 0;
  // The system's own words for a failure (may be empty); nothing on success.
  std::wstring detail;
};

// Runs a command line to its end without a window or a console and hands back
// its exit code. As with ILauncher, no shell ever sees the command line, and
// the program is found the same way (the running program's own folder first).
class ICommandRunner {
 public:
  virtual ~ICommandRunner() = default;
  virtual RunResult RunAndWait(const std::wstring& commandLine) = 0;
};

std::unique_ptr<ICommandRunner> MakeSystemCommandRunner();

}  // namespace tessaro::platform
