#pragma once

#include <string>
#include <vector>

#include "platform/Autostart.h"
#include "platform/CommandRunner.h"
#include "platform/KnownFolders.h"

namespace tessaro::ui {

// What the command line asks for. kNormal opens the window as always.
enum class StartMode { kNormal, kRestore, kRestoreAtLoginOn, kRestoreAtLoginOff, kUsage };

// Windows: "/restore", names in any case. POSIX: "--restore", exact.
enum class SwitchStyle { kWindows, kPosix };

// The arguments after the program's name. A switch of ours is one whose name
// starts with "restore"; when one is there the command line must be exactly
// "restore" or "restore-at-login on|off", anything else is kUsage. Arguments
// that are not ours are ignored, as they always were.
StartMode ParseStartMode(const std::vector<std::wstring>& arguments, SwitchStyle style);

struct StartModeServices {
  platform::IKnownFolders& folders;
  platform::ICommandRunner& runner;
  platform::IAutostart& autostart;
};

struct CommandOutcome {
  int exitCode = 0;
  // One line for the error stream; empty when there is nothing to say.
  std::wstring message;
};

// Brings back the remembered drive: the settings read as start-up reads them,
// then the very command line "Map" runs, waited for; its exit code is ours.
// Nothing remembered is nothing to do (0). Writes nothing.
CommandOutcome RestoreMapping(platform::IKnownFolders& folders, platform::ICommandRunner& runner);

// Carries out any mode but kNormal; kUsage gives the usage line and 2.
CommandOutcome RunStartMode(StartMode mode, SwitchStyle style, const StartModeServices& services);

}  // namespace tessaro::ui
