#include "ui/qt/ShutdownSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>

namespace tessaro::ui::qt {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> writeEnd{-1};

// Async-signal-safe: one write, errno kept for the code it interrupted.
void OnSignal(int /*signal*/) {
  const int saved = errno;
  const char byte = 1;
  const int fd = writeEnd.load();
  if (fd >= 0) (void)!::write(fd, &byte, 1);
  errno = saved;
}

}  // namespace

ShutdownSignals::ShutdownSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  int ends[2];
  if (writeEnd.load() >= 0 || ::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readEnd_ = ends[0];
  writeEnd.store(ends[1]);
  notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Drain(); });

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  installed_ = true;
  for (const int number : kSignals)
    installed_ = ::sigaction(number, &action, nullptr) == 0 && installed_;
}

ShutdownSignals::~ShutdownSignals() {
  if (readEnd_ < 0) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (const int number : kSignals) ::sigaction(number, &action, nullptr);
  notifier_.reset();
  ::close(writeEnd.exchange(-1));
  ::close(readEnd_);
}

void ShutdownSignals::Drain() {
  std::array<char, 64> bytes{};
  while (::read(readEnd_, bytes.data(), bytes.size()) > 0) {
  }
  if (onSignal_) onSignal_();
}

}  // namespace tessaro::ui::qt
