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

// Touched by the handler, so it must not take a lock.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> writeEnd{-1};
// Handlers running right now, on any thread; the pipe closes only at zero.
std::atomic<int> writing{0};

// Async-signal-safe: one write, errno kept for the code it interrupted.
void OnSignal(int /*signal*/) {
  const int saved = errno;
  writing.fetch_add(1);
  const char byte = 1;
  const int fd = writeEnd.load();
  if (fd >= 0) (void)!::write(fd, &byte, 1);
  writing.fetch_sub(1);
  errno = saved;
}

sigset_t SignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int number : kSignals) sigaddset(&set, number);
  return set;
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
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    // A signal ignored at start stays ignored: whoever started us with
    // nohup (or the like) meant it.
    struct sigaction old {};
    if (::sigaction(kSignals[i], nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    if (::sigaction(kSignals[i], &action, &previous_[i]) == 0) replaced_[i] = true;
  }
}

ShutdownSignals::~ShutdownSignals() {
  if (readEnd_ < 0) return;
  // Blocked first, so that no handler runs on this thread between here and
  // the close; then the old actions come back and no new handler starts.
  const sigset_t set = SignalSet();
  sigset_t before;
  ::pthread_sigmask(SIG_BLOCK, &set, &before);
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    if (replaced_[i]) ::sigaction(kSignals[i], &previous_[i], nullptr);
  }
  notifier_.reset();
  const int fd = writeEnd.exchange(-1);
  // A handler on another thread may still hold the old number: the pipe
  // closes only once it is done, so it never writes to a reused descriptor.
  while (writing.load() != 0) {
  }
  ::close(fd);
  ::close(readEnd_);
  ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

void ShutdownSignals::Drain() {
  std::array<char, 64> bytes{};
  while (::read(readEnd_, bytes.data(), bytes.size()) > 0) {
  }
  if (onSignal_) onSignal_();
}

}  // namespace tessaro::ui::qt
