#include "platform/Launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/WindowsCommandLine.h"
#include "text/TextCodec.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "support/Files.h"
#endif

namespace tessaro::platform {
namespace {

// Collects the ends a launcher reports (on its watcher thread: no post).
class Ends {
 public:
  CommandEnded Watcher() {
    return [this](const CommandEnd& end) {
      const std::lock_guard<std::mutex> hold(lock_);
      ends_.push_back(end);
      at_ = std::chrono::steady_clock::now();
      arrived_.notify_all();
    };
  }
  // The first end, waited for up to the time given.
  std::optional<CommandEnd> Wait(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> hold(lock_);
    if (!arrived_.wait_for(hold, limit, [&] { return !ends_.empty(); })) return std::nullopt;
    return ends_.front();
  }
  std::chrono::steady_clock::time_point At() {
    const std::lock_guard<std::mutex> hold(lock_);
    return at_;
  }

 private:
  std::mutex lock_;
  std::condition_variable arrived_;
  std::vector<CommandEnd> ends_;
  std::chrono::steady_clock::time_point at_;
};

#ifndef _WIN32

namespace fs = std::filesystem;
using namespace std::chrono_literals;
// Temporary folders, files and environment of the test support.
using namespace tessaro::testing;

// A stand-in for subst: writes a tag, then each argument on a line of its own,
// and marks the end with a second file so the test knows it is complete.
std::string RecordingScript(const std::string& tag) {
  return "#!/bin/sh\n"
         "{ printf '%s\\n' '" +
         tag +
         "'; for argument in \"$@\"; do printf '%s\\n' \"$argument\"; done; }"
         " > \"$TESSARO_TEST_OUTPUT\"\n"
         ": > \"$TESSARO_TEST_OUTPUT.done\"\n";
}

// Pids of the live or dead-but-unreaped children of this process.
std::vector<std::string> OurChildren() {
  std::vector<std::string> children;
  const std::string self = std::to_string(::getpid());
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string stat = ReadBytes(entry.path() / "stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 1));
    std::string state, parent;
    fields >> state >> parent;
    if (parent == self) children.push_back(entry.path().filename().string() + " " + state);
  }
  return children;
}

class PosixLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(temp_.Path().empty());
    bin_ = temp_.Path() / "bin";
    output_ = temp_.Path() / "output";
    // Only our folder on PATH: the double can be found nowhere else.
    environment_.Set("PATH", bin_.string());
    environment_.Set("TESSARO_TEST_OUTPUT", output_.string());
    WriteFile(bin_ / "subst", RecordingScript("subst"), 0755);
  }

  // Waits for the double to finish and returns what it wrote, one line each.
  std::vector<std::string> Recorded() {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!fs::exists(output_.string() + ".done") && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(5ms);
    }
    std::vector<std::string> lines;
    std::istringstream content(ReadBytes(output_));
    for (std::string line; std::getline(content, line);) lines.push_back(line);
    fs::remove(output_);
    fs::remove(output_.string() + ".done");
    return lines;
  }

  LaunchResult Launch(const std::wstring& commandLine) {
    return launcher_->Launch(commandLine, WindowShow::kMinimized);
  }

  TempFolder temp_;
  ScopedEnvironment environment_;
  fs::path bin_;
  fs::path output_;
  std::unique_ptr<ILauncher> launcher_ = MakeSystemLauncher();
};

using Lines = std::vector<std::string>;

TEST_F(PosixLauncherTest, MapCommandLine_ArgumentsArriveSplitByWindowsRules) {
  const LaunchResult result = Launch(LR"(subst X:  C:\Daten)");
  EXPECT_EQ(result.status, LaunchStatus::kStarted);
  EXPECT_EQ(result.detail, L"");
  EXPECT_EQ(Recorded(), (Lines{"subst", "X:", R"(C:\Daten)"}));
}

TEST_F(PosixLauncherTest, DeleteCommandLineWithEmptyDrive_ArgumentsArrive) {
  EXPECT_EQ(Launch(L"subst  /d").status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"subst", "/d"}));
}

TEST_F(PosixLauncherTest, HostileArguments_PassedLiterallyNeverInterpreted) {
  const std::string marker = (temp_.Path() / "interpreted").string();
  const std::vector<std::wstring> arguments{
      LR"(C:\Program Files\x y)",
      LR"(a"b)",
      LR"(\\server\share name\)",
      L"Ä ö ü ß € \U0001F600",
      L"",
      L"; touch " + text::DecodeUtf8Lossy(marker),
      L"$(touch " + text::DecodeUtf8Lossy(marker) + L")",
      L"`touch " + text::DecodeUtf8Lossy(marker) + L"`",
      L"&& touch " + text::DecodeUtf8Lossy(marker),
      L"| touch " + text::DecodeUtf8Lossy(marker),
      L"> " + text::DecodeUtf8Lossy(marker),
      L"*",
      L"~",
      L"'single' $HOME %PATH%",
      L"-n",
  };
  std::wstring line = L"subst";
  Lines expected{"subst"};
  for (const std::wstring& argument : arguments) {
    line += L' ' + QuoteWindowsArgument(argument);
    expected.push_back(text::EncodeUtf8(argument));
  }

  EXPECT_EQ(Launch(line).status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), expected);
  EXPECT_FALSE(fs::exists(marker));
}

TEST_F(PosixLauncherTest, QuotedProgramName_Found) {
  EXPECT_EQ(Launch(LR"("subst" X: "C:\Eigene Dateien")").status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"subst", "X:", R"(C:\Eigene Dateien)"}));
}

TEST_F(PosixLauncherTest, ProgramWithSlash_UsedAsGiven) {
  WriteFile(temp_.Path() / "elsewhere" / "tool", RecordingScript("tool"), 0755);
  const std::wstring path = text::DecodeUtf8Lossy((temp_.Path() / "elsewhere" / "tool").string());
  EXPECT_EQ(Launch(QuoteWindowsArgument(path) + L" a").status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"tool", "a"}));
}

TEST_F(PosixLauncherTest, NoSuchProgram_NotFound) {
  for (const std::wstring line : {L"tessaro-no-such-program X: /d", L"", L" subst X: /d",
                                  L"\"\" X:", L"./subst X:", L"/nonexistent/subst X:"}) {
    EXPECT_EQ(Launch(line).status, LaunchStatus::kNotFound) << text::EncodeUtf8(line);
  }
}

TEST_F(PosixLauncherTest, DirectoryOrPlainFileOnPath_Skipped) {
  const fs::path first = temp_.Path() / "first";
  const fs::path second = temp_.Path() / "second";
  fs::create_directories(first / "tool");
  WriteFile(second / "tool", RecordingScript("not executable"), 0644);
  environment_.Set("PATH", first.string() + "::" + second.string());
  EXPECT_EQ(Launch(L"tool").status, LaunchStatus::kNotFound);

  WriteFile(temp_.Path() / "third" / "tool", RecordingScript("third"), 0755);
  environment_.Set(
      "PATH", first.string() + ":" + second.string() + ":" + (temp_.Path() / "third").string());
  EXPECT_EQ(Launch(L"tool x").status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"third", "x"}));
}

TEST_F(PosixLauncherTest, NotAProgram_FailedWithReasonAndNoShellFallback) {
  // Without a #! line a shell would run this; posix_spawn must refuse it.
  const fs::path ranByShell = output_.string() + ".shell";
  WriteFile(bin_ / "subst", ": > \"$TESSARO_TEST_OUTPUT.shell\"\n", 0755);
  const LaunchResult result = Launch(L"subst X: /d");
  EXPECT_EQ(result.status, LaunchStatus::kFailed);
  EXPECT_NE(result.detail, L"");
  // A program launched after it has finished: a shell run would be done too.
  WriteFile(bin_ / "marker", RecordingScript("marker"), 0755);
  ASSERT_EQ(Launch(L"marker").status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"marker"}));
  EXPECT_FALSE(fs::exists(ranByShell));
}

TEST_F(PosixLauncherTest, LongRunningChild_LaunchReturnsAtOnce) {
  // The child outlives the bound by far, so a loaded machine cannot blur it.
  WriteFile(bin_ / "subst", "#!/bin/sh\n: > \"$TESSARO_TEST_OUTPUT.done\"\nexec /bin/sleep 5\n",
            0755);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Launch(L"subst X: /d").status, LaunchStatus::kStarted);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  Recorded();  // the child has read its script before the folder goes
}

TEST_F(PosixLauncherTest, ChildrenThatExit_LeaveNoZombie) {
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(Launch(L"subst X: /d").status, LaunchStatus::kStarted);
    ASSERT_EQ(Recorded().size(), 3u);
  }
  // The double has exited once its marker exists; give the reaper a moment.
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  std::vector<std::string> children = OurChildren();
  while (!children.empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
    children = OurChildren();
  }
  EXPECT_TRUE(children.empty()) << "left behind: " << children.front();
}

TEST_F(PosixLauncherTest, Child_StdinIsDevNullAndOurDescriptorsAreNotInherited) {
  const char* readlink = fs::exists("/usr/bin/readlink") ? "/usr/bin/readlink" : "/bin/readlink";
  if (!fs::exists(readlink)) GTEST_SKIP() << "no readlink";
  const int stray = ::fcntl(::open("/dev/null", O_RDONLY), F_DUPFD, 40);
  ASSERT_GE(stray, 40);
  WriteFile(bin_ / "subst",
            std::string("#!/bin/sh\n{ ") + readlink + " /proc/$$/fd/0; if [ -e /proc/$$/fd/" +
                std::to_string(stray) +
                " ]; then echo inherited; else echo closed; fi; } > \"$TESSARO_TEST_OUTPUT\"\n"
                ": > \"$TESSARO_TEST_OUTPUT.done\"\n",
            0755);
  EXPECT_EQ(Launch(L"subst").status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"/dev/null", "closed"}));
  ::close(stray);
}

// The program's own folder and its helper folder come before PATH. The probe
// has a name of its own so nothing real in the build folder can answer.
class PosixLauncherSearchOrderTest : public PosixLauncherTest {
 protected:
  void SetUp() override {
    PosixLauncherTest::SetUp();
    ownFolder_ = fs::read_symlink("/proc/self/exe").parent_path();
    name_ = "tessaro-probe-" + std::to_string(::getpid());
    WriteFile(bin_ / name_, RecordingScript("path"), 0755);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const fs::path& file : created_) fs::remove(file, ignored);
    // Only succeeds for folders that are empty again, i.e. made by us.
    fs::remove(ownFolder_ / ".." / "libexec" / "tessaro", ignored);
    fs::remove(ownFolder_ / ".." / "libexec", ignored);
  }
  void Place(const fs::path& folder, const std::string& tag) {
    WriteFile(folder / name_, RecordingScript(tag), 0755);
    created_.push_back(folder / name_);
  }
  std::wstring Name() const { return text::DecodeUtf8Lossy(name_); }

  fs::path ownFolder_;
  std::string name_;
  std::vector<fs::path> created_;
};

TEST_F(PosixLauncherSearchOrderTest, OnlyOnPath_FoundThere) {
  EXPECT_EQ(Launch(Name()).status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"path"}));
}

TEST_F(PosixLauncherSearchOrderTest, HelperFolder_BeforePath) {
  Place(ownFolder_ / ".." / "libexec" / "tessaro", "helper");
  EXPECT_EQ(Launch(Name()).status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"helper"}));
}

TEST_F(PosixLauncherSearchOrderTest, OwnFolder_BeforeHelperFolderAndPath) {
  Place(ownFolder_ / ".." / "libexec" / "tessaro", "helper");
  Place(ownFolder_, "own");
  EXPECT_EQ(Launch(Name()).status, LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), (Lines{"own"}));
}

TEST_F(PosixLauncherTest, WatchedCommand_HandsBackOutputOfBothStreamsAndExitCode) {
  WriteFile(bin_ / "subst",
            "#!/bin/sh\necho \"Drive already SUBSTed\"\necho \"$1\" >&2\n"
            "i=0; while [ $i -lt 200 ]; do printf '%0500d' 0; i=$((i+1)); done\n"
            ": > \"$TESSARO_TEST_OUTPUT.done\"\nexit 3\n",
            0755);
  Ends ends;
  EXPECT_EQ(launcher_->Launch(L"subst X:", WindowShow::kMinimized, ends.Watcher()).status,
            LaunchStatus::kStarted);
  const auto end = ends.Wait(10s);
  ASSERT_TRUE(end.has_value());
  EXPECT_EQ(end->exitCode, 3);
  EXPECT_TRUE(end->output.starts_with(L"Drive already SUBSTed\nX:\n000"));
  EXPECT_EQ(end->output.size(), kMaxCommandOutput);
  // How soon after its end the command is reported.
  const auto done = fs::last_write_time(output_.string() + ".done");
  const auto lag =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::file_clock::now() - done) -
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                            ends.At());
  std::printf("outcome reported %lld ms after the command ended\n",
              static_cast<long long>(lag.count()));
  EXPECT_LT(lag, 500ms);  // aim: far below 100 ms; the bound allows for a busy machine
}

TEST_F(PosixLauncherTest, CommandOutlivingTheWatch_ReleasedAndNeverReported) {
  // The command notices its output going nowhere once the watch has ended.
  WriteFile(bin_ / "subst",
            "#!/bin/sh\ntrap '' PIPE\nwhile echo x 2>/dev/null; do /bin/sleep 0.05; done\n"
            ": > \"$TESSARO_TEST_OUTPUT.done\"\nexit 1\n",
            0755);
  Ends ends;
  const auto launcher = MakeSystemLauncher({}, 200ms);
  ASSERT_EQ(launcher->Launch(L"subst", WindowShow::kMinimized, ends.Watcher()).status,
            LaunchStatus::kStarted);
  EXPECT_EQ(Recorded(), Lines{});  // the command has ended
  EXPECT_FALSE(ends.Wait(300ms).has_value());
}

#else  // _WIN32

TEST(Win32LauncherTest, WatchedCommand_HandsBackOutputAndExitCodeSoonAfterItsEnd) {
  Ends ends;
  const auto started = std::chrono::steady_clock::now();
  const LaunchResult result = MakeSystemLauncher()->Launch(L"cmd.exe /c \"echo Fehler 42& exit 5\"",
                                                           WindowShow::kMinimized, ends.Watcher());
  ASSERT_EQ(result.status, LaunchStatus::kStarted);
  const auto end = ends.Wait(std::chrono::seconds(20));
  ASSERT_TRUE(end.has_value());
  EXPECT_EQ(end->exitCode, 5);
  EXPECT_NE(end->output.find(L"Fehler 42"), std::wstring::npos);
  std::printf(
      "command and its report took %lld ms\n",
      static_cast<long long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(ends.At() - started).count()));
}

TEST(Win32LauncherTest, NoSuchProgram_NotFoundWithTheSystemsWords) {
  const LaunchResult result =
      MakeSystemLauncher()->Launch(L"tessaro-no-such-program X: /d", WindowShow::kMinimized);
  EXPECT_EQ(result.status, LaunchStatus::kNotFound);
  EXPECT_NE(result.detail, L"");
  EXPECT_NE(result.detail.back(), L'\n');
}

TEST(Win32LauncherTest, SystemProgram_StartedWithoutWaiting) {
  const LaunchResult result = MakeSystemLauncher()->Launch(L"hostname.exe", WindowShow::kMinimized);
  EXPECT_EQ(result.status, LaunchStatus::kStarted);
  EXPECT_EQ(result.detail, L"");
}

#endif

}  // namespace
}  // namespace tessaro::platform
