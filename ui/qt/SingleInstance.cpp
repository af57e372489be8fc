#include "ui/qt/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocalSocket>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace tessaro::ui::qt {
namespace {

constexpr const char* kLockName = "/instance.lock";
constexpr const char* kSocketName = "/instance";
constexpr QByteArrayView kShow = "show\n";
constexpr int kConnectMs = 500;
// The first Tessaro listens right after taking the lock; a start that comes
// in between waits that long at most.
constexpr auto kWaitForListener = std::chrono::seconds(5);

bool IsPrivateFolder(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

bool MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

}  // namespace

std::string InstanceFolderPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  // A relative value is to be ignored, as the base directory rules say.
  return runtime != nullptr && runtime[0] == '/' ? std::string(runtime) + "/tessaro"
                                                 : "/tmp/tessaro-" + std::to_string(::getuid());
}

std::string PrepareInstanceFolder(const std::string& path) {
  if (!MakeFolders(path) || !IsPrivateFolder(path)) return {};
  return path;
}

SingleInstance::SingleInstance(std::string folder) : folder_(std::move(folder)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
}

SingleInstance::~SingleInstance() {
  server_.close();
  if (lock_ >= 0) ::close(lock_);
}

QString SingleInstance::SocketPath() const { return QString::fromStdString(folder_ + kSocketName); }

bool SingleInstance::HandedToRunning() {
  if (folder_.empty()) return false;
  const std::string lockPath = folder_ + kLockName;
  lock_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock_ >= 0 && ::flock(lock_, LOCK_EX | LOCK_NB) == 0) {
    Listen();
    return false;
  }
  if (lock_ < 0) {
    // No lock to go by: whoever answers on the socket runs; a socket nobody
    // answers on is left from a crash and taken over.
    if (TellRunning()) return true;
    Listen();
    return false;
  }
  ::close(lock_);
  lock_ = -1;
  const auto until = std::chrono::steady_clock::now() + kWaitForListener;
  while (!TellRunning()) {
    if (std::chrono::steady_clock::now() >= until) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  // The lock's holder runs, answering or not: one Tessaro at a time.
  return true;
}

bool SingleInstance::TellRunning() const {
  QLocalSocket socket;
  socket.connectToServer(SocketPath());
  if (!socket.waitForConnected(kConnectMs)) return false;
  socket.write(kShow.data(), kShow.size());
  const bool sent = socket.waitForBytesWritten(kConnectMs);
  socket.disconnectFromServer();
  return sent;
}

void SingleInstance::Listen() {
  // A socket file left from a crashed run would make listen fail.
  QLocalServer::removeServer(SocketPath());
  if (!server_.listen(SocketPath())) return;
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
    while (QLocalSocket* peer = server_.nextPendingConnection()) {
      QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
      QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
        if (!peer->canReadLine()) return;
        if (peer->readLine(16) == kShow && onStartedAgain_) onStartedAgain_();
        peer->disconnectFromServer();
      });
    }
  });
}

}  // namespace tessaro::ui::qt
