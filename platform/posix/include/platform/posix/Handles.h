#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/UniqueResource.h"

// The system handles the POSIX code holds, each closed by its owner: every
// file descriptor and directory stream of the platform library, the drives
// folder and subst goes through these two, and every write of a whole buffer
// through WriteAll.
namespace tessaro::platform {

struct FdTraits {
  using Handle = int;
  static int None() { return -1; }
  static bool Valid(int fd) { return fd >= 0; }
  static bool Close(int fd) { return ::close(fd) == 0; }
};

// An open file descriptor that closes itself.
using UniqueFd = UniqueResource<FdTraits>;

struct DirTraits {
  using Handle = DIR*;
  static DIR* None() { return nullptr; }
  static bool Valid(DIR* dir) { return dir != nullptr; }
  static bool Close(DIR* dir) { return ::closedir(dir) == 0; }
};

// An open directory stream that closes itself, descriptor and all.
class UniqueDir : public UniqueResource<DirTraits> {
 public:
  UniqueDir() = default;
  // The descriptor passes to the stream; when the stream cannot be made, it
  // is closed all the same.
  explicit UniqueDir(UniqueFd fd) : UniqueResource(fd.valid() ? ::fdopendir(fd.get()) : nullptr) {
    if (valid()) fd.Release();
  }
  // Opens a folder by name, not following a last component that is a link
  // only when the caller's flags say so.
  static UniqueDir Open(const std::string& folder, int extraFlags = 0) {
    return UniqueDir(
        UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags)));
  }

  // The stream's own descriptor, for the *at calls on its entries.
  int fd() const { return ::dirfd(get()); }
};

// Writes all of bytes, going on after interruptions and short writes. False
// with errno set when the system refused; a write that makes no progress
// counts as a failure (EIO) rather than a loop without end.
inline bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return false;
    if (written == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace tessaro::platform
