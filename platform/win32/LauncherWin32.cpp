#include <windows.h>

#include <vector>

#include "platform/Launcher.h"

namespace tessaro::platform {

namespace {

// The system's own words for an error code, without the line end it appends.
std::wstring SystemMessage(DWORD error) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  if (length == 0 || message == nullptr) return {};
  std::wstring text(message, length);
  LocalFree(message);
  const std::size_t end = text.find_last_not_of(L"\r\n \t");
  text.erase(end == std::wstring::npos ? 0 : end + 1);
  return text;
}

WORD ShowCommand(WindowShow show) {
  switch (show) {
    case WindowShow::kNormal:
      return SW_SHOWNORMAL;
    case WindowShow::kMinimized:
      return SW_SHOWMINIMIZED;
  }
  return SW_SHOWNORMAL;
}

class Win32Launcher final : public ILauncher {
 public:
  LaunchResult Launch(const std::wstring& commandLine, WindowShow show) override {
    // CreateProcessW may write into the command line, so it gets a copy.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = ShowCommand(show);
    PROCESS_INFORMATION process{};
    // No application name: Windows then looks in our own folder first, then
    // the system folders, then PATH, as for a command typed without a path.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
      const DWORD error = GetLastError();
      const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
      return {missing ? LaunchStatus::kNotFound : LaunchStatus::kFailed, SystemMessage(error)};
    }
    // Nothing is waited for or read back, so the handles go at once.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {LaunchStatus::kStarted, {}};
  }
};

}  // namespace

std::unique_ptr<ILauncher> MakeSystemLauncher() { return std::make_unique<Win32Launcher>(); }

}  // namespace tessaro::platform
