#include <windows.h>

#include <vector>

#include "Handles.h"
#include "platform/CommandRunner.h"
#include "platform/Launcher.h"

namespace tessaro::platform {

namespace {

WORD ShowCommand(WindowShow show) {
  switch (show) {
    case WindowShow::kNormal:
      return SW_SHOWNORMAL;
    case WindowShow::kMinimized:
      return SW_SHOWMINIMIZED;
  }
  return SW_SHOWNORMAL;
}

// Starts the command line's program; on success *process holds its handles
// for the caller to close. Returns the system's error, or 0.
DWORD StartProcess(const std::wstring& commandLine, WORD showCommand, DWORD flags,
                   PROCESS_INFORMATION* process) {
  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand;
  // No application name: Windows then looks in our own folder first, then
  // the system folders, then PATH, as for a command typed without a path.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                      &startup, process)) {
    return GetLastError();
  }
  return 0;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

class Win32Launcher final : public ILauncher {
 public:
  LaunchResult Launch(const std::wstring& commandLine, WindowShow show) override {
    PROCESS_INFORMATION process{};
    if (const DWORD error = StartProcess(commandLine, ShowCommand(show), 0, &process)) {
      return {IsMissing(error) ? LaunchStatus::kNotFound : LaunchStatus::kFailed,
              SystemMessage(error)};
    }
    // Nothing is waited for or read back, so the handles go at once.
    const UniqueHandle thread(process.hThread);
    const UniqueHandle child(process.hProcess);
    return {LaunchStatus::kStarted, {}};
  }
};

class Win32CommandRunner final : public ICommandRunner {
 public:
  RunResult RunAndWait(const std::wstring& commandLine) override {
    PROCESS_INFORMATION process{};
    // No console flashes up for a console program.
    if (const DWORD error = StartProcess(commandLine, SW_HIDE, CREATE_NO_WINDOW, &process)) {
      return {IsMissing(error) ? RunStatus::kNotFound : RunStatus::kFailed, 0,
              SystemMessage(error)};
    }
    const UniqueHandle thread(process.hThread);
    const UniqueHandle child(process.hProcess);
    DWORD code = 0;
    const bool waited = WaitForSingleObject(child.get(), INFINITE) == WAIT_OBJECT_0 &&
                        GetExitCodeProcess(child.get(), &code);
    const DWORD error = GetLastError();
    if (!waited) return {RunStatus::kFailed, 0, SystemMessage(error)};
    return {RunStatus::kStarted, static_cast<int>(code), {}};
  }
};

}  // namespace

std::unique_ptr<ILauncher> MakeSystemLauncher() { return std::make_unique<Win32Launcher>(); }

std::unique_ptr<ICommandRunner> MakeSystemCommandRunner() {
  return std::make_unique<Win32CommandRunner>();
}

}  // namespace tessaro::platform
