#pragma once

#include <QLocalServer>

#include <functional>
#include <string>

namespace tessaro::ui::qt {

// One Tessaro per user and session. The first start holds a lock file for its
// whole run and listens on a local socket beside it; a later start finds the
// lock held, says so through the socket and ends. The lock goes with the
// process, so a socket left by a crashed run is taken over, never a reason
// for a second window.
class SingleInstance {
 public:
  // folder: a private folder of the user's session (InstanceFolder()).
  explicit SingleInstance(std::string folder);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when another Tessaro runs and has been asked to come to the front:
  // this start ends. Otherwise this one is the Tessaro of the session.
  bool HandedToRunning();
  // Runs, from the event loop, whenever Tessaro is started again.
  void SetOnStartedAgain(std::function<void()> onStartedAgain) {
    onStartedAgain_ = std::move(onStartedAgain);
  }

  // The socket's full path.
  QString SocketPath() const;

 private:
  bool TellRunning() const;
  void Listen();

  std::string folder_;
  int lock_ = -1;
  QLocalServer server_;
  std::function<void()> onStartedAgain_;
};

// $XDG_RUNTIME_DIR/tessaro, or /tmp/tessaro-<uid> without an absolute
// XDG_RUNTIME_DIR (where the drives live as well).
std::string InstanceFolderPath();

// The folder made if missing (mode 0700, with its parents). Empty when it
// cannot be made or is not the user's private folder: Tessaro then starts
// without the check.
std::string PrepareInstanceFolder(const std::string& path);

inline std::string InstanceFolder() { return PrepareInstanceFolder(InstanceFolderPath()); }

}  // namespace tessaro::ui::qt
