#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/Autostart.h"
#include "platform/CommandRunner.h"
#include "platform/DriveTable.h"
#include "platform/KnownFolders.h"
#include "text/TextCodec.h"
#include "ui/CommandLine.h"
#include "ui/qt/Program.h"

using namespace tessaro;

namespace {

class SleepingPause final : public ui::IRestorePause {
 public:
  void Pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

}  // namespace

int main(int argc, char** argv) {
  // Restoring at logon needs no display: it is settled before Qt starts.
  std::vector<std::wstring> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(text::DecodeUtf8Lossy(argv[i]));
  const ui::StartMode mode = ui::ParseStartMode(arguments, ui::SwitchStyle::kPosix);
  if (mode != ui::StartMode::kNormal) {
    // These modes change nothing on disk but what they are for.
    const auto folders = platform::MakeSystemKnownFolders(platform::AppDataCreation::kLookUpOnly);
    const auto runner = platform::MakeSystemCommandRunner();
    const auto autostart = platform::MakeSystemAutostart();
    const auto drives = platform::MakeSystemDriveTable();
    SleepingPause pause;
    const ui::CommandOutcome outcome = ui::RunStartMode(
        mode, ui::SwitchStyle::kPosix, {*folders, *runner, *autostart, *drives, pause});
    if (!outcome.message.empty()) {
      std::fprintf(stderr, "%s\n", text::EncodeUtf8(outcome.message).c_str());
    }
    return outcome.exitCode;
  }
  return ui::qt::RunProgram(argc, argv, {});
}
