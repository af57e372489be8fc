#include "QtTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QWidget>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

extern char** environ;

namespace tessaro::ui::qt::testing {

Program::Program(const char* exe, const std::filesystem::path& root) : exe_(exe) {
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view text = *entry;
    if (!text.starts_with("HOME=") && !text.starts_with("XDG_")) env_.emplace_back(text);
  }
  env_.push_back("HOME=" + (root / "home").string());
  env_.push_back("XDG_CONFIG_HOME=" + (root / "config").string());
  env_.push_back("XDG_RUNTIME_DIR=" + (root / "run").string());
  env_.emplace_back("QT_QPA_PLATFORM=offscreen");
}

pid_t Program::Spawn(std::vector<std::string> arguments) {
  std::vector<char*> envp;
  for (auto& entry : env_) envp.push_back(entry.data());
  envp.push_back(nullptr);
  arguments.insert(arguments.begin(), exe_);
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(::posix_spawn(&pid, exe_.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0);
  return pid;
}

int Program::Run(std::vector<std::string> arguments) {
  const pid_t pid = Spawn(std::move(arguments));
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height) {
  const auto x = [dpi = widget.logicalDpiX()](int twips) { return (twips * dpi + 720) / 1440; };
  const auto y = [dpi = widget.logicalDpiY()](int twips) { return (twips * dpi + 720) / 1440; };
  return {x(left), y(top), x(width), y(height)};
}

void ProcessPostedEvents() {
  bool handled = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&handled] { handled = true; }, Qt::QueuedConnection);
  EXPECT_TRUE(WaitFor([&handled] { return handled; }));
}

ModalAnswerer::ModalAnswerer(std::function<void(QWidget&)> action, int timeoutMs)
    : action_(std::move(action)), timeoutMs_(timeoutMs) {
  clock_.start();
  timer_.setInterval(20);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Poll(); });
  timer_.start();
}

ModalAnswerer::~ModalAnswerer() { timer_.stop(); }

void ModalAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!answered_ && modal != nullptr) {
    answered_ = true;
    action_(*modal);
    return;
  }
  if (clock_.elapsed() > timeoutMs_) {
    timer_.stop();
    if (modal != nullptr) {
      ADD_FAILURE() << "a modal window was left open";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->done(QDialog::Rejected);
      } else {
        modal->close();
      }
    }
  }
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream file(path, std::ios::binary);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

}  // namespace tessaro::ui::qt::testing
