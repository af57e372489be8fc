#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>

// Prints "shown" on stdout once the window has painted itself for the first
// time and the event loop is idle again: the moment a user sees it.
class ShownProbe final : public QObject {
 public:
  explicit ShownProbe(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!reported_ && event->type() == QEvent::Paint) {
      reported_ = true;
      QTimer::singleShot(0, this, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool reported_ = false;
};
