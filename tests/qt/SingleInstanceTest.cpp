// One Tessaro per user and session: the hand-over between two starts, a
// socket left by a crashed run, and the real program started twice.
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QLocalSocket>

#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "ui/qt/SingleInstance.h"

namespace tessaro::ui::qt::testing {
namespace {

namespace fs = std::filesystem;

// A socket file nobody listens on, as a killed Tessaro leaves it.
void LeaveStaleSocket(const fs::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);
  ASSERT_TRUE(fs::exists(path));
}

TEST(SingleInstance, SecondStartHandsOverToTheFirst_AStaleSocketIsTakenOver) {
  const TempFolder temp;
  fs::create_directories(temp.Path());
  fs::permissions(temp.Path(), fs::perms::owner_all);
  const std::string folder = temp.Path().string();
  LeaveStaleSocket(temp.Path() / "instance");

  SingleInstance first(folder);
  int wakes = 0;
  first.SetOnStartedAgain([&wakes] { ++wakes; });
  EXPECT_FALSE(first.HandedToRunning());

  for (int start = 1; start <= 2; ++start) {
    SingleInstance again(folder);
    EXPECT_TRUE(again.HandedToRunning()) << start;
    EXPECT_TRUE(WaitFor([&] { return wakes == start; })) << start;
  }
}

TEST(SingleInstance, Folder_UnderTheRuntimeFolder_MadePrivate_RefusedWhenOpenToOthers) {
  const TempFolder temp;
  const fs::path runtime = temp.Path() / "run";
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string restore = saved != nullptr ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  EXPECT_EQ(InstanceFolderPath(), (runtime / "tessaro").string());
  // Relative values do not count.
  ::setenv("XDG_RUNTIME_DIR", "run", 1);
  EXPECT_EQ(InstanceFolderPath(), "/tmp/tessaro-" + std::to_string(::getuid()));
  if (saved != nullptr) {
    ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
  } else {
    ::unsetenv("XDG_RUNTIME_DIR");
  }

  const fs::path folder = runtime / "tessaro";
  EXPECT_EQ(PrepareInstanceFolder(folder.string()), folder.string());
  EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
  fs::permissions(folder, fs::perms::group_all, fs::perm_options::add);
  EXPECT_EQ(PrepareInstanceFolder(folder.string()), "");
  fs::create_directory_symlink(runtime, temp.Path() / "link");
  EXPECT_EQ(PrepareInstanceFolder((temp.Path() / "link").string()), "");
}

bool Answers(const fs::path& socket) {
  QLocalSocket probe;
  probe.connectToServer(QString::fromStdString(socket.string()));
  return probe.waitForConnected(200);
}

bool Alive(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, WNOHANG) == 0;
}

TEST(SingleInstance, RealProgramStartedTwice_OneRemains_SwitchesStillWork_AfterACrashItStarts) {
  const TempFolder temp;
  Program program(TESSARO_EXE, temp.Path());
  const fs::path socket = temp.Path() / "run" / "tessaro" / "instance";
  const fs::path settings = temp.Path() / "config" / "Tessaro.ini";

  const pid_t first = program.Spawn();
  ASSERT_TRUE(WaitFor([&] { return fs::exists(socket); }, 20000)) << "the first never listened";
  EXPECT_EQ(program.Run(), 0);
  EXPECT_TRUE(Alive(first));
  EXPECT_FALSE(fs::exists(settings)) << "the second start saved";
  // Handled before the check: a wrong switch still says so.
  EXPECT_EQ(program.Run({"--restore-at-login", "maybe"}), 2);
  EXPECT_EQ(program.Run({"--restore"}), 0);

  // Killed, it leaves its socket; the next start takes it over.
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  ASSERT_TRUE(fs::exists(socket));
  const pid_t next = program.Spawn();
  ASSERT_TRUE(WaitFor([&] { return Answers(socket); }, 20000)) << "the stale socket stayed";
  EXPECT_EQ(program.Run(), 0);
  EXPECT_TRUE(Alive(next)) << "a stale socket kept Tessaro from starting";
  ::kill(next, SIGTERM);
  ::waitpid(next, nullptr, 0);
}

}  // namespace
}  // namespace tessaro::ui::qt::testing
