#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "platform/UniqueResource.h"

// The system handles the POSIX code holds, each closed by its owner: every
// file descriptor and directory stream of the platform library, the drives
// folder and subst goes through these two.
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

}  // namespace tessaro::platform
