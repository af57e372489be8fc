#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string>

// The system handles the POSIX code holds, each closed by its owner: every
// file descriptor and directory stream of the platform library, the drives
// folder and subst goes through these two.
namespace tessaro::platform {

// An open file descriptor that closes itself.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now; false when close reported an error, which for a file just
  // written may mean lost data.
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_ = -1;
};

// An open directory stream that closes itself, descriptor and all.
class UniqueDir {
 public:
  UniqueDir() = default;
  // The descriptor passes to the stream; when the stream cannot be made, it
  // is closed all the same.
  explicit UniqueDir(UniqueFd fd) : dir_(fd.valid() ? ::fdopendir(fd.get()) : nullptr) {
    if (dir_ != nullptr) fd.Release();
  }
  // Opens a folder by name, not following a last component that is a link
  // only when the caller's flags say so.
  static UniqueDir Open(const std::string& folder, int extraFlags = 0) {
    return UniqueDir(
        UniqueFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags)));
  }
  UniqueDir(UniqueDir&& other) noexcept : dir_(other.dir_) { other.dir_ = nullptr; }
  UniqueDir& operator=(UniqueDir&& other) noexcept {
    if (this != &other) {
      if (dir_ != nullptr) ::closedir(dir_);
      dir_ = other.dir_;
      other.dir_ = nullptr;
    }
    return *this;
  }
  UniqueDir(const UniqueDir&) = delete;
  UniqueDir& operator=(const UniqueDir&) = delete;
  ~UniqueDir() {
    if (dir_ != nullptr) ::closedir(dir_);
  }

  DIR* get() const { return dir_; }
  bool valid() const { return dir_ != nullptr; }
  // The stream's own descriptor, for the *at calls on its entries.
  int fd() const { return ::dirfd(dir_); }

 private:
  DIR* dir_ = nullptr;
};

}  // namespace tessaro::platform
