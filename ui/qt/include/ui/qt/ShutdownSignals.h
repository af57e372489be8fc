#pragma once

#include <signal.h>

#include <QObject>

#include <array>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace tessaro::ui::qt {

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) as a call
// on the event loop: the handler only writes a byte into a pipe, and a
// QSocketNotifier on the pipe's other end runs onSignal. A signal the program
// inherited as ignored (nohup) stays ignored. One at a time; the old actions
// come back when it goes. When the pipe cannot be made, the signals keep
// their effect.
class ShutdownSignals final : public QObject {
 public:
  explicit ShutdownSignals(std::function<void()> onSignal);
  ~ShutdownSignals() override;
  ShutdownSignals(const ShutdownSignals&) = delete;
  ShutdownSignals& operator=(const ShutdownSignals&) = delete;

 private:
  void Drain();

  std::function<void()> onSignal_;
  int readEnd_ = -1;
  // The actions replaced, per signal in the order SIGTERM, SIGINT, SIGHUP.
  std::array<struct sigaction, 3> previous_{};
  std::array<bool, 3> replaced_{};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tessaro::ui::qt
