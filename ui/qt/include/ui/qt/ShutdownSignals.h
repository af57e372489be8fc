#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tessaro::ui::qt {

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) as a call
// on the event loop: the handler only writes a byte into a pipe, and a
// QSocketNotifier on the pipe's other end runs onSignal. One at a time; the
// handlers go back to the defaults when it goes.
class ShutdownSignals final : public QObject {
 public:
  explicit ShutdownSignals(std::function<void()> onSignal);
  ~ShutdownSignals() override;
  ShutdownSignals(const ShutdownSignals&) = delete;
  ShutdownSignals& operator=(const ShutdownSignals&) = delete;

  // False when the pipe or the handlers could not be set up; then the
  // signals keep their default effect.
  bool Installed() const { return installed_; }

 private:
  void Drain();

  std::function<void()> onSignal_;
  int readEnd_ = -1;
  bool installed_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tessaro::ui::qt
