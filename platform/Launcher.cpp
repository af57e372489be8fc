#include <memory>
#include <utility>

#include "Processes.h"
#include "platform/CommandRunner.h"
#include "platform/Launcher.h"

namespace tessaro::platform {
namespace {

class SystemLauncher final : public ILauncher {
 public:
  SystemLauncher(UiPost post, std::chrono::milliseconds watch)
      : post_(std::move(post)), watch_(watch) {}

  LaunchResult Launch(const std::wstring& commandLine, WindowShow show,
                      CommandEnded onEnded) override {
    if (!onEnded) return StartDetached(commandLine, show);
    // With a post, the watching thread hands the end over instead of telling
    // it itself.
    if (post_) {
      onEnded = [post = post_, told = std::move(onEnded)](const CommandEnd& end) mutable {
        post([told = std::move(told), end] { told(end); });
      };
    }
    return StartWatched(commandLine, show, watch_, std::move(onEnded));
  }

 private:
  UiPost post_;
  std::chrono::milliseconds watch_;
};

class SystemCommandRunner final : public ICommandRunner {
 public:
  RunResult RunAndWait(const std::wstring& commandLine) override { return RunToEnd(commandLine); }
};

}  // namespace

std::unique_ptr<ILauncher> MakeSystemLauncher(UiPost post, std::chrono::milliseconds watch) {
  return std::make_unique<SystemLauncher>(std::move(post), watch);
}

std::unique_ptr<ICommandRunner> MakeSystemCommandRunner() {
  return std::make_unique<SystemCommandRunner>();
}

}  // namespace tessaro::platform
