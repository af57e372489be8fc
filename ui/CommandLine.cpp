#include "ui/CommandLine.h"

#include <algorithm>
#include <optional>

#include "core/MappingCommands.h"
#include "core/Startup.h"
#include "core/modApp.h"
#include "text/LetterCase.h"

namespace tessaro::ui {

namespace {

constexpr std::wstring_view kOurPrefix = L"restore";

// The switch's name without its lead-in (and folded on Windows), or nothing
// when the argument is no switch of ours.
std::optional<std::wstring> OurSwitch(std::wstring_view argument, SwitchStyle style) {
  std::wstring_view name;
  if (argument.starts_with(L"--")) {
    name = argument.substr(2);
  } else if (style == SwitchStyle::kWindows && argument.starts_with(L"/")) {
    name = argument.substr(1);
  } else {
    return std::nullopt;
  }
  std::wstring folded =
      style == SwitchStyle::kWindows ? text::AsciiLower(name) : std::wstring(name);
  if (!folded.starts_with(kOurPrefix)) return std::nullopt;
  return folded;
}

std::wstring ProgramName(SwitchStyle style) {
  return style == SwitchStyle::kWindows ? L"tessaro.exe" : L"tessaro";
}

// A folder as compared with the drive table: without trailing separators.
std::wstring Comparable(std::wstring_view folder, const platform::PathStyle& style) {
  std::wstring text(folder);
  while (text.size() > 1 && (text.back() == style.separator || text.back() == L'/'))
    text.pop_back();
  return text;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

bool AlreadyMapped(platform::IDriveTable& drives, std::wstring_view drive,
                   std::wstring_view folder) {
  drive = TrimBlanks(drive);
  if (drive.size() != 2 || drive[1] != L':') return false;
  const wchar_t letter = text::AsciiUpper(drive[0]);
  const platform::PathStyle style = drives.Style();
  const std::wstring wanted = Comparable(TrimBlanks(folder), style);
  for (const platform::DriveMapping& mapping : drives.Mappings()) {
    if (mapping.letter == letter) return drives.SamePath(Comparable(mapping.folder, style), wanted);
  }
  return false;
}

std::wstring OneLine(std::wstring text) {
  std::replace_if(
      text.begin(), text.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
  return text;
}

}  // namespace

StartMode ParseStartMode(const std::vector<std::wstring>& arguments, SwitchStyle style) {
  const auto ours = std::find_if(arguments.begin(), arguments.end(), [style](const auto& a) {
    return OurSwitch(a, style).has_value();
  });
  if (ours == arguments.end()) return StartMode::kNormal;

  const std::wstring name = *OurSwitch(*ours, style);
  if (name == L"restore" && arguments.size() == 1) return StartMode::kRestore;
  if (name == L"restore-at-login" && arguments.size() == 2 && ours == arguments.begin()) {
    const std::wstring value = text::AsciiLower(arguments[1]);
    if (value == L"on") return StartMode::kRestoreAtLoginOn;
    if (value == L"off") return StartMode::kRestoreAtLoginOff;
  }
  return StartMode::kUsage;
}

CommandOutcome RestoreMapping(const RestoreServices& services) {
  // The settings file is found and read as the main window's start-up does.
  AppState app;
  LoadSettingsFromAppData(app, services.folders);
  if (app.strTargetDrive.empty() || app.strTargetPath.empty()) return {};
  if (AlreadyMapped(services.drives, app.strTargetDrive, app.strTargetPath)) return {};

  const std::wstring folder(TrimBlanks(app.strTargetPath));
  for (auto waited = std::chrono::milliseconds::zero();
       waited < kRestoreWaitLimit && !services.drives.FolderExists(folder);
       waited += kRestoreRetryPause) {
    services.pause.Pause(kRestoreRetryPause);
  }

  const platform::RunResult result =
      services.runner.RunAndWait(BuildMapCommandLine(app.strTargetDrive, app.strTargetPath));
  if (result.status == platform::RunStatus::kStarted) return {result.exitCode, {}};

  std::wstring message =
      L"Laufwerk " + app.strTargetDrive + L" nicht wiederhergestellt: \"subst\" ";
  message += result.status == platform::RunStatus::kNotFound ? L"wurde nicht gefunden"
                                                             : L"konnte nicht gestartet werden";
  if (!result.detail.empty()) message += L" (" + result.detail + L")";
  return {1, OneLine(std::move(message))};
}

CommandOutcome RunStartMode(StartMode mode, SwitchStyle style, const StartModeServices& services) {
  const std::wstring program = ProgramName(style);
  const std::wstring lead = style == SwitchStyle::kWindows ? L"/" : L"--";
  switch (mode) {
    case StartMode::kNormal:
      return {};
    case StartMode::kRestore: {
      CommandOutcome outcome =
          RestoreMapping({services.folders, services.runner, services.drives, services.pause});
      if (!outcome.message.empty()) outcome.message = program + L": " + outcome.message;
      return outcome;
    }
    case StartMode::kRestoreAtLoginOn:
      switch (services.autostart.SetRestoreAtLogin(true)) {
        case platform::AutostartResult::kDone:
          return {};
        case platform::AutostartResult::kProgramPathRefused:
          return {1, program +
                         L": Kein Eintrag für die Anmeldung: Der Pfad des Programms enthält ein "
                         L"Steuerzeichen, \"%\", \"\\\" oder Bytes, die kein UTF-8 sind; von "
                         L"dort kann die Anmeldung Tessaro nicht starten."};
        case platform::AutostartResult::kFailed:
          break;
      }
      return {1, program + L": Der Eintrag für die Anmeldung konnte nicht geschrieben werden."};
    case StartMode::kRestoreAtLoginOff:
      if (services.autostart.SetRestoreAtLogin(false) == platform::AutostartResult::kDone)
        return {};
      return {1, program + L": Der Eintrag für die Anmeldung konnte nicht entfernt werden."};
    case StartMode::kUsage:
      break;
  }
  return {
      2, L"Aufruf: " + program + L" [" + lead + L"restore | " + lead + L"restore-at-login on|off]"};
}

CommandOutcome RunStartModeOnSystem(StartMode mode, SwitchStyle style, IRestorePause& pause) {
  const auto folders = platform::MakeSystemKnownFolders(platform::AppDataCreation::kLookUpOnly);
  const auto runner = platform::MakeSystemCommandRunner();
  const auto autostart = platform::MakeSystemAutostart();
  const auto drives = platform::MakeSystemDriveTable();
  return RunStartMode(mode, style, {*folders, *runner, *autostart, *drives, pause});
}

}  // namespace tessaro::ui
