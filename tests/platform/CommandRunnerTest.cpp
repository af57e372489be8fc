#include "platform/CommandRunner.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The Exec line's arguments as a desktop-entry reader takes them: the
// value's escapes first, then the quoting, then "%%".
std::vector<std::string> ReadExecArguments(const std::string& entry) {
  const std::size_t start = entry.find("\nExec=") + 6;
  const std::string raw = entry.substr(start, entry.find('\n', start) - start);
  std::string value;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '\\' || i + 1 == raw.size()) {
      value += raw[i];
      continue;
    }
    const char next = raw[++i];
    value += next == 's'   ? ' '
             : next == 'n' ? '\n'
             : next == 't' ? '\t'
             : next == 'r' ? '\r'
                           : next;
  }
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (quoted && c == '\\' && i + 1 < value.size()) {
      current += value[++i];
    } else if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any || !current.empty()) arguments.push_back(current);
      current.clear();
      any = false;
    } else if (c == '%' && i + 1 < value.size() && value[i + 1] == '%') {
      current += value[++i];
    } else {
      current += c;
    }
  }
  if (any || !current.empty()) arguments.push_back(current);
  return arguments;
}

TEST(RestoreAutostartEntryTest, HostileProgramPaths_RefusedOrReadBackExactly) {
  const struct {
    std::string program;
    bool written;
  } cases[] = {
      {"/usr/bin/tessaro", true},
      {R"(/opt/My "App" $x `y`/tessaro)", true},
      {"/opt/'a';b&c|d<e>f~g*h?i#j(k)/tessaro", true},
      {"/home/jürgen/Programme/tessaro", true},
      {"/opt/a\nb/tessaro", false},
      {"/opt/a\rb/tessaro", false},
      {"/opt/a\tb/tessaro", false},
      {std::string("/opt/a\x01", 7) + "b/tessaro", false},
      {"/opt/a\x7f"
       "b/tessaro",
       false},
      {"/opt/\xff/tessaro", false},
      {"/opt/\xc3/tessaro", false},
      {"/opt/100%/tessaro", false},
      {"/opt/%f/tessaro", false},
      {R"(/opt/a\b/tessaro)", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    const auto entry = RestoreAutostartEntry(c.program);
    ASSERT_EQ(entry.has_value(), c.written);
    if (entry) {
      EXPECT_TRUE(text::IsValidUtf8(*entry));
      EXPECT_EQ(ReadExecArguments(*entry), (std::vector<std::string>{c.program, "--restore"}));
    }
  }
}

TEST(PosixAutostartTest, OnWritesTheEntryForThisProgramOffRemovesIt) {
  TempFolder config;
  ScopedEnvironment environment;
  environment.Set("XDG_CONFIG_HOME", config.Path().string());
  const fs::path entry = config.Path() / "autostart" / "tessaro-restore.desktop";
  const auto autostart = MakeSystemAutostart();

  ASSERT_EQ(autostart->SetRestoreAtLogin(true), AutostartResult::kDone);
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  EXPECT_EQ(ReadBytes(entry), *RestoreAutostartEntry(self));

  EXPECT_EQ(autostart->SetRestoreAtLogin(false), AutostartResult::kDone);
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_EQ(autostart->SetRestoreAtLogin(false), AutostartResult::kDone);
}

// A configuration folder whose name is not UTF-8 is the one written to, by
// its bytes, not one named with a replacement character.
TEST(PosixAutostartTest, ConfigFolderNotUtf8_EntryGoesThereByItsBytes) {
  TempFolder temp;
  ScopedEnvironment environment;
  const fs::path config = temp.Path() / "conf\xff\xfeig";
  environment.Set("XDG_CONFIG_HOME", config.string());
  ASSERT_EQ(MakeSystemAutostart()->SetRestoreAtLogin(true), AutostartResult::kDone);
  EXPECT_TRUE(fs::is_regular_file(config / "autostart" / "tessaro-restore.desktop"));
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1);
}

#endif

}  // namespace
}  // namespace tessaro::platform
