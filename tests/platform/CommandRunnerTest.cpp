#include "platform/CommandRunner.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <filesystem>

#include "AutostartEntry.h"
#include "platform/Autostart.h"
#include "support/Files.h"
#include "text/TextCodec.h"
#endif

namespace tessaro::platform {
namespace {

#ifndef _WIN32

// Temporary folders, files and environment of the test support.
using namespace tessaro::testing;
namespace fs = std::filesystem;

class PosixCommandRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(temp_.Path().empty());
    environment_.Set("PATH", (temp_.Path() / "bin").string());
  }
  TempFolder temp_;
  ScopedEnvironment environment_;
};

TEST_F(PosixCommandRunnerTest, WaitsForTheProgramAndHandsBackItsExitCode) {
  const fs::path done = temp_.Path() / "done";
  WriteFile(temp_.Path() / "bin" / "subst",
            "#!/bin/sh\nsleep 0.2\nprintf '%s|' \"$@\" > '" + done.string() + "'\nexit 7\n", 0755);
  const RunResult result = MakeSystemCommandRunner()->RunAndWait(LR"(subst X:  "/a b")");
  EXPECT_EQ(result.status, RunStatus::kStarted);
  EXPECT_EQ(result.exitCode, 7);
  EXPECT_EQ(ReadBytes(done), "X:|/a b|");
}

TEST_F(PosixCommandRunnerTest, MissingProgram_NotFoundAndKilledProgram_Failure) {
  EXPECT_EQ(MakeSystemCommandRunner()->RunAndWait(L"subst X: /d").status, RunStatus::kNotFound);
  WriteFile(temp_.Path() / "bin" / "subst", "#!/bin/sh\nkill -9 $$\n", 0755);
  const RunResult killed = MakeSystemCommandRunner()->RunAndWait(L"subst X: /d");
  EXPECT_EQ(killed.status, RunStatus::kStarted);
  EXPECT_EQ(killed.exitCode, 128 + 9);
}

TEST(RestoreAutostartEntryTest, ExecLineSurvivesOddPaths) {
  EXPECT_NE(RestoreAutostartEntry("/usr/bin/tessaro")->find("\nExec=/usr/bin/tessaro --restore\n"),
            std::string::npos);
  // Quoted with " $ \ escaped, then the backslashes doubled and % doubled.
  EXPECT_NE(RestoreAutostartEntry(R"(/opt/My "App" $x\y 100%/tessaro)")
                ->find(R"(Exec="/opt/My \\"App\\" \\$x\\\\y 100%%/tessaro" --restore)"),
            std::string::npos);
  EXPECT_FALSE(RestoreAutostartEntry("/opt/a\nb/tessaro"));
}

TEST(PosixAutostartTest, OnWritesTheEntryForThisProgramOffRemovesIt) {
  TempFolder config;
  ScopedEnvironment environment;
  environment.Set("XDG_CONFIG_HOME", config.Path().string());
  const fs::path entry = config.Path() / "autostart" / "tessaro-restore.desktop";
  const auto autostart = MakeSystemAutostart();

  ASSERT_TRUE(autostart->SetRestoreAtLogin(true));
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(ReadBytes(entry), *RestoreAutostartEntry(self));

  EXPECT_TRUE(autostart->SetRestoreAtLogin(false));
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_TRUE(autostart->SetRestoreAtLogin(false));
}

#endif

}  // namespace
}  // namespace tessaro::platform
