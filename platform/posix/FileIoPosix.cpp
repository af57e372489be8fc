#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileIo.h"
#include "text/TextCodec.h"

namespace tessaro::platform {
namespace {

// Far beyond any settings file; a bigger one is not ours to load into memory.
constexpr off_t kMaxFileSize = off_t{64} * 1024 * 1024;

// Temporary files are "<name>.tmp-" and six letters or digits, so that a
// later save can recognise the ones a killed process left behind. A save
// holds an exclusive lock on its temporary file until the rename, so another
// process's clean-up can tell a live save's file from a dead one's.
constexpr std::string_view kTempMarker = ".tmp-";
constexpr std::size_t kTempSuffixLength = 6;

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Close(); }
  int get() const { return fd_; }
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows a chain of symbolic links to the file that really holds the
// settings; a dangling link yields the path the new file should take.
bool ResolveLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    if (!S_ISLNK(info.st_mode)) return true;
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return false;
    target.resize(static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
  }
  return false;  // a loop
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool IsTempSuffixChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsOurTempName(std::string_view entry, std::string_view target) {
  if (entry.size() != target.size() + kTempMarker.size() + kTempSuffixLength) return false;
  if (!entry.starts_with(target) ||
      entry.substr(target.size(), kTempMarker.size()) != kTempMarker) {
    return false;
  }
  for (const char c : entry.substr(target.size() + kTempMarker.size())) {
    if (!IsTempSuffixChar(c)) return false;
  }
  return true;
}

// Creates "<path>.tmp-XXXXXX" exclusively; the suffix mixes the process id,
// the clock and a counter, and a clash simply tries the next one.
int CreateTemp(const std::string& path, mode_t mode, std::string& tempPath) {
  static std::uint64_t counter = 0;
  constexpr std::string_view kAlphabet =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t seed =
        (static_cast<std::uint64_t>(::getpid()) << 32U) ^ static_cast<std::uint64_t>(now.tv_nsec) ^
        (static_cast<std::uint64_t>(now.tv_sec) << 20U) ^ (++counter * 0x9E3779B97F4A7C15ULL);
    tempPath = path;
    tempPath += kTempMarker;
    for (std::size_t i = 0; i < kTempSuffixLength; ++i) {
      seed ^= seed >> 29U;
      seed *= 0xBF58476D1CE4E5B9ULL;
      tempPath += kAlphabet[static_cast<std::size_t>(seed >> 58U) % kAlphabet.size()];
    }
    const int fd =
        ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    // Between the create and the lock a clean-up may have taken the file for
    // a dead save's and removed it; then it is no use, and the next name is.
    // On a file system without locks the file is used unlocked; the clean-up,
    // unable to lock it either, leaves such files alone.
    struct stat info {};
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    if (::fstat(fd, &info) == 0 && info.st_nlink > 0) return fd;
    ::close(fd);
  }
  return -1;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// Temporary files of saves that were killed before their rename. They never
// replaced anything, so removing them loses nothing; a file whose lock is
// held belongs to a save still running and stays.
void RemoveStaleTemps(const std::string& path, const std::string& keep) {
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(DirectoryOf(path).c_str()));
  if (dir == nullptr) return;
  const int folder = ::dirfd(dir.get());
  const std::string target = NameOf(path);
  const std::string kept = NameOf(keep);
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == kept || !IsOurTempName(name, target)) continue;
    const Fd temp(::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (temp.get() < 0 || ::flock(temp.get(), LOCK_EX | LOCK_NB) != 0) continue;
    // Still the file that was locked: not renamed away and replaced meanwhile.
    struct stat locked {};
    struct stat named {};
    if (::fstat(temp.get(), &locked) == 0 && S_ISREG(locked.st_mode) &&
        ::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        locked.st_dev == named.st_dev && locked.st_ino == named.st_ino) {
      ::unlinkat(folder, entry->d_name, 0);
    }
  }
}

void SyncDirectory(const std::string& folder) {
  const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

FileContent ReadFileBytes(const std::wstring& path) {
  FileContent content;
  const std::string native = text::EncodeFileName(path);
  // Non-blocking so that a FIFO in the file's place cannot hang the program.
  const Fd fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    content.status =
        (errno == ENOENT || errno == ENOTDIR) ? ReadStatus::kMissing : ReadStatus::kError;
    return content;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize) {
    content.status = ReadStatus::kError;
    return content;
  }
  content.bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      content.bytes.clear();
      content.status = ReadStatus::kError;
      return content;
    }
    if (got == 0) break;
    content.bytes.append(buffer, static_cast<std::size_t>(got));
    if (content.bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
      content.bytes.clear();
      content.status = ReadStatus::kError;
      return content;
    }
  }
  content.status = ReadStatus::kOk;
  return content;
}

bool ReplaceFileAtomically(const std::wstring& path, std::string_view bytes) {
  std::string target = text::EncodeFileName(path);
  if (target.empty() || target.find('\0') != std::string::npos || target.back() == '/')
    return false;
  if (!ResolveLinks(target)) return false;

  mode_t mode = S_IRUSR | S_IWUSR;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (!S_ISREG(existing.st_mode)) return false;
    // Respect a read-only file even though its folder would let us replace
    // it. The owner's write bit decides, since root passes any access check.
    if ((existing.st_mode & S_IWUSR) == 0) return false;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;
    mode = existing.st_mode & 07777;
  }

  std::string tempPath;
  Fd fd(CreateTemp(target, mode, tempPath));
  if (fd.get() < 0) return false;
  bool ok = WriteAll(fd.get(), bytes);
  if (ok && exists) {
    // The umask may have narrowed the mode; the owner may differ when an
    // administrator saves someone else's file. Best effort for the owner.
    ok = ::fchmod(fd.get(), mode) == 0;
    if (ok && ::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0) {
      // Not allowed for ordinary users, and not needed: they own the file.
    }
  }
  ok = ok && ::fsync(fd.get()) == 0;
  // The lock is let go only after the rename; a failed close after the fsync
  // cannot lose the data anymore.
  ok = ok && ::rename(tempPath.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(tempPath.c_str());
    return false;
  }
  fd.Close();
  SyncDirectory(DirectoryOf(target));
  RemoveStaleTemps(target, tempPath);
  return true;
}

}  // namespace tessaro::platform
