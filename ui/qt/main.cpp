#include <cstdio>
#include <string>
#include <thread>
#include <vector>

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
    SleepingPause pause;
    const ui::CommandOutcome outcome =
        ui::RunStartModeOnSystem(mode, ui::SwitchStyle::kPosix, pause);
    if (!outcome.message.empty()) {
      std::fprintf(stderr, "%s\n", text::EncodeUtf8(outcome.message).c_str());
    }
    return outcome.exitCode;
  }
  return ui::qt::RunProgram(argc, argv, {});
}
