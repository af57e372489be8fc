#include "ui/CommandLine.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/MappingCommands.h"
#include "support/Fakes.h"
#include "support/TurkishLocale.h"
#include "text/TextCodec.h"

namespace tessaro::ui {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;
using Args = std::vector<std::wstring>;

TEST(ParseStartModeTest, OurSwitchesAreRecognisedOthersIgnored) {
  const struct {
    Args arguments;
    SwitchStyle style;
    StartMode mode;
  } cases[] = {
      {{}, SwitchStyle::kWindows, StartMode::kNormal},
      {{L"C:\\Daten", L"/x"}, SwitchStyle::kWindows, StartMode::kNormal},
      {{L"-platform", L"offscreen"}, SwitchStyle::kPosix, StartMode::kNormal},
      // A path is no switch on Linux.
      {{L"/restore"}, SwitchStyle::kPosix, StartMode::kNormal},
      {{L"/restore"}, SwitchStyle::kWindows, StartMode::kRestore},
      {{L"/RESTORE"}, SwitchStyle::kWindows, StartMode::kRestore},
      {{L"--restore"}, SwitchStyle::kWindows, StartMode::kRestore},
      {{L"--restore"}, SwitchStyle::kPosix, StartMode::kRestore},
      {{L"--RESTORE"}, SwitchStyle::kPosix, StartMode::kNormal},
      {{L"/restore-at-login", L"on"}, SwitchStyle::kWindows, StartMode::kRestoreAtLoginOn},
      {{L"--restore-at-login", L"OFF"}, SwitchStyle::kPosix, StartMode::kRestoreAtLoginOff},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseStartMode(c.arguments, c.style), c.mode)
        << (c.arguments.empty() ? "" : text::EncodeUtf8(c.arguments[0]));
  }
}

TEST(ParseStartModeTest, WindowsSwitchesFoldAsAsciiUnderATurkishLocale) {
  const testing::TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this system";
  EXPECT_EQ(ParseStartMode({L"/RESTORE-AT-LOGIN", L"ON"}, SwitchStyle::kWindows),
            StartMode::kRestoreAtLoginOn);
}

TEST(ParseStartModeTest, MalformedUseOfOurSwitchesGivesUsage) {
  for (const Args& arguments : std::vector<Args>{
           {L"--restore-at-login"},
           {L"--restore-at-login", L"ja"},
           {L"--restore-at-login", L"on", L"off"},
           {L"x", L"--restore-at-login", L"on"},
           {L"--restore", L"X:"},
           {L"-platform", L"offscreen", L"--restore"},
           {L"--restore-at-logon", L"on"},
           {L"--restored"},
       }) {
    EXPECT_EQ(ParseStartMode(arguments, SwitchStyle::kPosix), StartMode::kUsage)
        << text::EncodeUtf8(arguments[0]);
  }
}

class FakeRunner final : public platform::ICommandRunner {
 public:
  platform::RunResult RunAndWait(const std::wstring& commandLine) override {
    commandLines.push_back(commandLine);
    return next;
  }
  std::vector<std::wstring> commandLines;
  platform::RunResult next{platform::RunStatus::kStarted, 0, {}};
};

class FakeAutostart final : public platform::IAutostart {
 public:
  platform::AutostartResult SetRestoreAtLogin(bool on) override {
    calls.push_back(on);
    return result;
  }
  std::vector<bool> calls;
  platform::AutostartResult result = platform::AutostartResult::kDone;
};

// Pausing is counted, not slept; a pause may make folders appear.
class CountingPause final : public IRestorePause {
 public:
  void Pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    if (pauses.size() == appearAfter) onAppear();
  }
  std::vector<std::chrono::milliseconds> pauses;
  std::size_t appearAfter = 0;
  std::function<void()> onAppear;
};

class RestoreTest : public ::testing::Test, protected testing::SettingsFolders {
 protected:
  RestoreTest() : SettingsFolders(L"/home/anna/Dokumente") {}

  CommandOutcome Run(StartMode mode, SwitchStyle style = SwitchStyle::kPosix) {
    return RunStartMode(mode, style, {folders, runner, autostart, drives, pause});
  }

  FakeRunner runner;
  FakeAutostart autostart;
  testing::FakeDriveTable drives;
  CountingPause pause;
};

TEST_F(RestoreTest, RemembersDriveAndFolder_RunsMapCommandAndPassesOnItsExitCode) {
  const std::string settings =
      "[Startup]\r\ntarget drive=X:\r\ntarget path=/srv/Eigene Daten\r\nreset restart=0\r\n";
  WriteBytes(IniFile(), settings);
  runner.next.exitCode = 3;

  const CommandOutcome outcome = Run(StartMode::kRestore);
  EXPECT_EQ(outcome.exitCode, 3);
  EXPECT_EQ(outcome.message, L"");
  EXPECT_EQ(runner.commandLines, Args{BuildMapCommandLine(L"X:", L"/srv/Eigene Daten")});
  EXPECT_EQ(ReadBytes(IniFile()), settings);
}

TEST_F(RestoreTest, NothingRemembered_RunsNothingAndSucceeds) {
  EXPECT_EQ(Run(StartMode::kRestore).exitCode, 0);
  WriteBytes(IniFile(), "[Startup]\ntarget drive=X:\n[Data]\nlast path 1=/a\n");
  EXPECT_EQ(Run(StartMode::kRestore).exitCode, 0);
  WriteBytes(IniFile(), "[Startup]\ntarget path=/a\n");
  EXPECT_EQ(Run(StartMode::kRestore).exitCode, 0);
  EXPECT_TRUE(runner.commandLines.empty());
}

TEST_F(RestoreTest, SubstMissing_OneLineReasonAndFailure) {
  WriteBytes(IniFile(), "[Startup]\ntarget drive=Q:\ntarget path=/a\n");
  runner.next = {platform::RunStatus::kNotFound, 0, L"No such file\nor directory"};
  const CommandOutcome outcome = Run(StartMode::kRestore);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.message,
            L"tessaro: Laufwerk Q: nicht wiederhergestellt: \"subst\" wurde nicht gefunden "
            L"(No such file or directory)");
}

TEST_F(RestoreTest, AutostartSwitches_SucceedSilentlyOrReportFailure) {
  EXPECT_EQ(Run(StartMode::kRestoreAtLoginOn).exitCode, 0);
  EXPECT_EQ(Run(StartMode::kRestoreAtLoginOff).message, L"");
  EXPECT_EQ(autostart.calls, (std::vector<bool>{true, false}));

  autostart.result = platform::AutostartResult::kFailed;
  const CommandOutcome failed = Run(StartMode::kRestoreAtLoginOn, SwitchStyle::kWindows);
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_TRUE(failed.message.starts_with(L"tessaro.exe: ")) << text::EncodeUtf8(failed.message);

  // A refused program path is said as such, on one line.
  autostart.result = platform::AutostartResult::kProgramPathRefused;
  const CommandOutcome refused = Run(StartMode::kRestoreAtLoginOn);
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_NE(refused.message.find(L"Pfad des Programms"), std::wstring::npos);
  EXPECT_EQ(refused.message.find_first_of(L"\r\n"), std::wstring::npos);
}

TEST_F(RestoreTest, Usage_ExitsWithTwoAndThePlatformsSpelling) {
  const CommandOutcome posix = Run(StartMode::kUsage);
  EXPECT_EQ(posix.exitCode, 2);
  EXPECT_EQ(posix.message, L"Aufruf: tessaro [--restore | --restore-at-login on|off]");
  EXPECT_EQ(Run(StartMode::kUsage, SwitchStyle::kWindows).message,
            L"Aufruf: tessaro.exe [/restore | /restore-at-login on|off]");
  EXPECT_TRUE(runner.commandLines.empty());
  EXPECT_TRUE(autostart.calls.empty());
}

}  // namespace
}  // namespace tessaro::ui

namespace tessaro::ui {
namespace {

using testing::WriteBytes;

class RestoreWaitTest : public RestoreTest {
 protected:
  RestoreWaitTest() {
    WriteBytes(IniFile(), "[Startup]\ntarget drive=X:\ntarget path=C:\\Daten\\\n");
  }
};

TEST_F(RestoreWaitTest, LateFolder_LookedForEveryTwoSeconds_SubstRunsOnceItIsThere) {
  pause.appearAfter = 3;
  pause.onAppear = [&] { drives.existing = {L"C:\\Daten\\"}; };
  EXPECT_EQ(Run(StartMode::kRestore).exitCode, 0);
  EXPECT_EQ(pause.pauses, std::vector<std::chrono::milliseconds>(3, kRestoreRetryPause));
  EXPECT_EQ(runner.commandLines.size(), 1u);
}

TEST_F(RestoreWaitTest, FolderNeverThere_SubstRunsAnywayAfterThirtySeconds) {
  runner.next.exitCode = 1;
  EXPECT_EQ(Run(StartMode::kRestore).exitCode, 1);
  EXPECT_EQ(pause.pauses.size(), 15u);
  EXPECT_EQ(runner.commandLines, Args{L"subst X:  C:\\Daten\\"});
}

TEST_F(RestoreWaitTest, DriveAlreadyMappedToThatFolder_SucceedsWithoutSubst) {
  drives.mappings = {{L'X', L"c:\\daten"}};
  EXPECT_EQ(Run(StartMode::kRestore).exitCode, 0);
  EXPECT_TRUE(runner.commandLines.empty());
  EXPECT_TRUE(pause.pauses.empty());

  // Mapped elsewhere: subst runs (and says the drive is taken).
  drives.mappings = {{L'X', L"C:\\Anderswo"}};
  drives.existing = {L"C:\\Daten\\"};
  Run(StartMode::kRestore);
  EXPECT_EQ(runner.commandLines.size(), 1u);
}

}  // namespace
}  // namespace tessaro::ui
