#pragma once

#include <chrono>
#include <functional>
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

// How a launched command ended: its exit code and what it wrote to standard
// output and standard error together, cut at kMaxCommandOutput bytes.
struct CommandEnd {
  int exitCode = 0;
  std::wstring output;
};

inline constexpr std::size_t kMaxCommandOutput = 4096;
// A command still running after this long is no longer watched (its handles
// are released); nothing is told of it.
inline constexpr std::chrono::milliseconds kCommandWatch{60000};

using CommandEnded = std::function<void(const CommandEnd&)>;
// Runs a task on the user-interface thread; callable from any thread. A post
// after the program's loop has ended may be dropped.
using UiPost = std::function<void(std::function<void()>)>;

// Starts a command line as a new process and returns at once: the caller never
// waits for the process. The command line is never given to a shell; the
// program is the first argument, found the way Windows finds a program named
// without a path (the launching program's own folder first).
class ILauncher {
 public:
  virtual ~ILauncher() = default;
  // With onEnded, the command's output and exit code are kept and handed to
  // onEnded through the launcher's UiPost when the command ends (never for a
  // command that did not start, or one that outlived the watch).
  virtual LaunchResult Launch(const std::wstring& commandLine, WindowShow show,
                              CommandEnded onEnded) = 0;
  LaunchResult Launch(const std::wstring& commandLine, WindowShow show) {
    return Launch(commandLine, show, {});
  }
};

// Without a post, onEnded runs on the thread that watched the command.
std::unique_ptr<ILauncher> MakeSystemLauncher(UiPost post = {},
                                              std::chrono::milliseconds watch = kCommandWatch);

}  // namespace tessaro::platform
