// Where the program meets the outside: signals that end it, and exceptions
// that would otherwise leave an event handler and end it too.

#include <signal.h>
#include <spawn.h>
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

extern char** environ;

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

TEST(ShutdownSignals, TermIntAndHup_SaveAsTheCloseBoxDoes) {
  for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(number);
    const TempFolder temp;
    const fs::path config = temp.Path() / "config";
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string_view text = *entry;
      if (!text.starts_with("HOME=") && !text.starts_with("XDG_")) env.emplace_back(text);
    }
    env.push_back("HOME=" + (temp.Path() / "home").string());
    env.push_back("XDG_CONFIG_HOME=" + config.string());
    env.push_back("XDG_RUNTIME_DIR=" + (temp.Path() / "run").string());
    env.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (auto& entry : env) envp.push_back(entry.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(TESSARO_EXE), nullptr};

    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, TESSARO_EXE, nullptr, nullptr, argv, envp.data()), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Catches(pid, number) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(Catches(pid, number));
    ::kill(pid, number);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    const std::string settings = ReadBytes(config / "Tessaro.ini");
    EXPECT_NE(settings.find("reset restart=0"), std::string::npos) << settings;
  }
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
