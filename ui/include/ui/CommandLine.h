#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/Autostart.h"
#include "platform/CommandRunner.h"
#include "platform/DriveTable.h"
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

// How the restore waits between its looks for a late folder.
class IRestorePause {
 public:
  virtual ~IRestorePause() = default;
  virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// A folder that is not there yet (a share or a synchronised folder appearing
// after logon) is looked for again at this pace, for at most this long.
inline constexpr std::chrono::milliseconds kRestoreRetryPause{2000};
inline constexpr std::chrono::milliseconds kRestoreWaitLimit{30000};

struct RestoreServices {
  platform::IKnownFolders& folders;
  platform::ICommandRunner& runner;
  platform::IDriveTable& drives;
  IRestorePause& pause;
};

struct StartModeServices {
  platform::IKnownFolders& folders;
  platform::ICommandRunner& runner;
  platform::IAutostart& autostart;
  platform::IDriveTable& drives;
  IRestorePause& pause;
};

struct CommandOutcome {
  int exitCode = 0;
  // One line for the error stream; empty when there is nothing to say.
  std::wstring message;
};

// Brings back the remembered drive: the settings read as start-up reads them,
// then the very command line "Map" runs, waited for; its exit code is ours.
// Nothing remembered is nothing to do (0), and so is a drive mapped to that
// very folder already. A folder that does not exist yet is waited for (see
// kRestoreWaitLimit); then subst runs anyway, to say why it fails. Writes
// nothing.
CommandOutcome RestoreMapping(const RestoreServices& services);

// Carries out any mode but kNormal; kUsage gives the usage line and 2.
CommandOutcome RunStartMode(StartMode mode, SwitchStyle style, const StartModeServices& services);

// RunStartMode with the system's own services, as both programs run it. The
// settings folder is only looked up: these modes change nothing on disk but
// what they are for.
CommandOutcome RunStartModeOnSystem(StartMode mode, SwitchStyle style, IRestorePause& pause);

}  // namespace tessaro::ui
