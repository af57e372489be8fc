#include "QtTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QWidget>

#include <cstdlib>
#include <fstream>

#include <gtest/gtest.h>

namespace tessaro::ui::qt::testing {

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
