#pragma once

#include <QElapsedTimer>
#include <QRect>
#include <QTimer>

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "support/Files.h"

class QWidget;

namespace tessaro::ui::qt::testing {

// Processes events until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000);

// A rectangle of the form's design in twips, in pixels at the widget's DPI:
// rounded to the nearest pixel, 15 twips a pixel at 96 DPI.
QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height);

// Returns once every event posted so far has been handled: a call queued now
// runs after all of them. A check for what an event must not have done waits
// for this instead of a while.
void ProcessPostedEvents();

// Answers the next modal window: armed before the blocking call, it polls
// QApplication::activeModalWidget() and hands the window to the action. A
// modal left open closes after a while and fails the test instead of hanging.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::function<void(QWidget&)> action, int timeoutMs = 10000);
  ~ModalAnswerer();
  bool Answered() const { return answered_; }

 private:
  void Poll();

  std::function<void(QWidget&)> action_;
  QTimer timer_;
  QElapsedTimer clock_;
  int timeoutMs_;
  bool answered_ = false;
};

// The real program, started with a home, configuration and runtime folder
// of its own under root and the offscreen platform.
class Program {
 public:
  Program(const char* exe, const std::filesystem::path& root);
  pid_t Spawn(std::vector<std::string> arguments = {});
  // Its exit code, or -1 when it did not end in time (it is killed then).
  int Run(std::vector<std::string> arguments = {});

 private:
  std::string exe_;
  std::vector<std::string> env_;
};

std::vector<std::string> ReadLines(const std::filesystem::path& path);

using tessaro::testing::ReadBytes;
using tessaro::testing::TempFolder;

}  // namespace tessaro::ui::qt::testing
