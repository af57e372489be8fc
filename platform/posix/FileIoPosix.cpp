#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "AtomicFile.h"
#include "platform/FileIo.h"
#include "platform/posix/Handles.h"
#include "text/TextCodec.h"

namespace tessaro::platform {
namespace {

std::wstring Reason(int error) {
  return text::DecodeUtf8Lossy(std::error_code(error, std::generic_category()).message());
}

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
// Returns 0 or the error that stopped it.
int ResolveLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(info.st_mode)) return 0;
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return errno;
    if (length == 0 || static_cast<std::size_t>(length) >= target.size()) return ENAMETOOLONG;
    target.resize(static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
  }
  return ELOOP;
}

bool IsOurTempName(std::string_view entry, std::string_view target) {
  return IsTempFileName(entry, target,
                        [](std::string_view a, std::string_view b) { return a == b; });
}

// Creates a temporary file beside path exclusively; a clash simply tries the
// next name. A save holds an exclusive lock on its temporary file until the
// rename, so another process's clean-up can tell a live save's file from a
// dead one's. Returns the open file, or an invalid one with errno set.
UniqueFd CreateTemp(const std::string& path, mode_t mode, std::string& tempPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = TempFileName(path, static_cast<std::uint64_t>(::getpid()));
    UniqueFd fd(
        ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
    if (!fd.valid()) {
      if (errno == EEXIST) continue;
      return fd;
    }
    // Between the create and the lock a clean-up may have taken the file for
    // a dead save's and removed it; then it is no use, and the next name is.
    // On a file system without locks the file is used unlocked; the clean-up,
    // unable to lock it either, leaves such files alone.
    struct stat info {};
    while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
    }
    if (::fstat(fd.get(), &info) == 0 && info.st_nlink > 0) return fd;
  }
  errno = EEXIST;
  return UniqueFd();
}

// Temporary files of saves that were killed before their rename. They never
// replaced anything, so removing them loses nothing; a file whose lock is
// held belongs to a save still running and stays.
void RemoveStaleTemps(const std::string& path, const std::string& keep) {
  const UniqueDir dir = UniqueDir::Open(DirectoryOf(path));
  if (!dir.valid()) return;
  const int folder = dir.fd();
  const std::string target = NameOf(path);
  const std::string kept = NameOf(keep);
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == kept || !IsOurTempName(name, target)) continue;
    const UniqueFd temp(
        ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
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
  const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace

FileContent ReadFileBytes(const std::wstring& path) {
  const std::string native = text::EncodeFileName(path);
  // Non-blocking so that a FIFO in the file's place cannot hang the program.
  const UniqueFd fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return {ReadStatus::kError, {}, Reason(errno)};
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return {ReadStatus::kError, {}, Reason(errno)};
  if (!S_ISREG(info.st_mode))
    return {ReadStatus::kError, {}, Reason(S_ISDIR(info.st_mode) ? EISDIR : EINVAL)};
  return ReadToEnd(
      static_cast<std::uint64_t>(info.st_size),
      [&fd](char* buffer, std::size_t size) -> std::optional<std::size_t> {
        for (;;) {
          const ssize_t got = ::read(fd.get(), buffer, size);
          if (got >= 0) return static_cast<std::size_t>(got);
          if (errno != EINTR) return std::nullopt;
        }
      },
      [] { return Reason(errno); }, [] { return Reason(EFBIG); });
}

WriteResult ReplaceFileAtomically(const std::wstring& path, std::string_view bytes) {
  std::string target = text::EncodeFileName(path);
  if (target.empty() || target.find('\0') != std::string::npos)
    return WriteResult::Failed(Reason(EINVAL));
  if (target.back() == '/') return WriteResult::Failed(Reason(EISDIR));
  if (const int error = ResolveLinks(target)) return WriteResult::Failed(Reason(error));

  mode_t mode = S_IRUSR | S_IWUSR;
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return WriteResult::Failed(Reason(EISDIR));
    if (!S_ISREG(existing.st_mode)) return WriteResult::Failed(Reason(EINVAL));
    // Respect a read-only file even though its folder would let us replace
    // it. The owner's write bit decides, since root passes any access check.
    if ((existing.st_mode & S_IWUSR) == 0) return WriteResult::Failed(Reason(EACCES));
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
      return WriteResult::Failed(Reason(errno));
    mode = existing.st_mode & 07777;
  }

  std::string tempPath;
  UniqueFd fd = CreateTemp(target, mode, tempPath);
  if (!fd.valid()) return WriteResult::Failed(Reason(errno));
  int error = WriteAll(fd.get(), bytes) ? 0 : errno;
  if (error == 0 && exists) {
    // The umask may have narrowed the mode; the owner may differ when an
    // administrator saves someone else's file. Best effort for the owner.
    if (::fchmod(fd.get(), mode) != 0) error = errno;
    if (error == 0 && ::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0) {
      // Not allowed for ordinary users, and not needed: they own the file.
    }
  }
  if (error == 0 && ::fsync(fd.get()) != 0) error = errno;
  // The lock is let go only after the rename; a failed close after the fsync
  // cannot lose the data anymore.
  if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    return WriteResult::Failed(Reason(error));
  }
  fd.Close();
  SyncDirectory(DirectoryOf(target));
  RemoveStaleTemps(target, tempPath);
  return {};
}

}  // namespace tessaro::platform
