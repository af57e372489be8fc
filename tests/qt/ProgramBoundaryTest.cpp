// Where the program meets the outside: signals that end it, and exceptions
// that would otherwise leave an event handler and end it too.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "ui/qt/GuardedApplication.h"
#include "ui/qt/ShutdownSignals.h"

namespace tessaro::ui::qt::testing {
namespace {

namespace fs = std::filesystem;

// True once the process catches the signal: its handler is in place.
bool Catches(pid_t pid, int number) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("SigCgt:")) {
      return ((std::stoull(line.substr(7), nullptr, 16) >> (number - 1)) & 1U) != 0;
    }
  }
  return false;
}

// The real program in a home of its own; the signals' dispositions are the
// test's, as a shell passes its own on.
pid_t StartProgram(const fs::path& home) { return Program(TESSARO_EXE, home).Spawn(); }

// Waits for the handlers: they are all set up at once, so a caught SIGTERM
// means the others are settled too.
void WaitForHandlers(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Catches(pid, SIGTERM) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(Catches(pid, SIGTERM));
}

// Ends it with a signal and checks that it saved as the close box does.
void ExpectSavedAfter(pid_t pid, int number, const fs::path& home) {
  ::kill(pid, number);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  const std::string settings = ReadBytes(home / "config" / "Tessaro.ini");
  EXPECT_NE(settings.find("reset restart=0"), std::string::npos) << settings;
}

TEST(ShutdownSignals, TermIntAndHup_SaveAsTheCloseBoxDoes) {
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(number);
    const TempFolder temp;
    const pid_t pid = StartProgram(temp.Path());
    ASSERT_GT(pid, 0);
    WaitForHandlers(pid);
    EXPECT_TRUE(Catches(pid, number));
    ExpectSavedAfter(pid, number, temp.Path());
  }
}

// nohup: a SIGHUP ignored at start stays ignored, so the program outlives its
// terminal, and SIGTERM still saves.
TEST(ShutdownSignals, HupIgnoredAtStart_Survived_TermStillSaves) {
  const TempFolder temp;
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction before {};
  ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
  const pid_t pid = StartProgram(temp.Path());
  ::sigaction(SIGHUP, &before, nullptr);
  ASSERT_GT(pid, 0);
  WaitForHandlers(pid);
  EXPECT_FALSE(Catches(pid, SIGHUP));
  // The system drops a signal its receiver ignores at once, so the program
  // is still there right after.
  ::kill(pid, SIGHUP);
  int status = 0;
  EXPECT_EQ(::waitpid(pid, &status, WNOHANG), 0);
  ExpectSavedAfter(pid, SIGTERM, temp.Path());
}

void CustomHandler(int /*signal*/) {}

// In this process: the actions found are the actions left.
TEST(ShutdownSignals, OldActionsComeBack_AnIgnoredOneIsNeverTaken) {
  struct sigaction custom {};
  custom.sa_handler = CustomHandler;
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction oldInt {};
  struct sigaction oldHup {};
  ASSERT_EQ(::sigaction(SIGINT, &custom, &oldInt), 0);
  ASSERT_EQ(::sigaction(SIGHUP, &ignore, &oldHup), 0);
  const auto handlerOf = [](int number) {
    struct sigaction now {};
    ::sigaction(number, nullptr, &now);
    return now.sa_handler;
  };
  {
    const ShutdownSignals shutdown([] {});
    EXPECT_NE(handlerOf(SIGINT), &CustomHandler);
    EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
  }
  EXPECT_EQ(handlerOf(SIGINT), &CustomHandler);
  EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
  ::sigaction(SIGINT, &oldInt, nullptr);
  ::sigaction(SIGHUP, &oldHup, nullptr);
}

// Slots run from the event loop, as a click's handlers do.
TEST(GuardedApplication, ThrowingSlot_ReportedInGermanAndTheProgramCarriesOn) {
  auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  std::vector<std::wstring> shown;
  app->SetOnError([&shown](const std::wstring& message) { shown.push_back(message); });
  QObject target;
  int after = 0;
  QMetaObject::invokeMethod(
      &target, [] { throw std::runtime_error("Größe \xff"); }, Qt::QueuedConnection);
  QMetaObject::invokeMethod(
      &target, [] { throw 42; }, Qt::QueuedConnection);
  QMetaObject::invokeMethod(
      &target, [&after] { ++after; }, Qt::QueuedConnection);
  QCoreApplication::processEvents();
  app->SetOnError(nullptr);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(shown, (std::vector<std::wstring>{
                       L"Ein unerwarteter Fehler ist aufgetreten: Größe \ufffd",
                       L"Ein unerwarteter Fehler ist aufgetreten.",
                   }));
}

}  // namespace
}  // namespace tessaro::ui::qt::testing
