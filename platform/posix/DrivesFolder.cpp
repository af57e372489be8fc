#include "platform/posix/DrivesFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tessaro::platform {
namespace {

constexpr mode_t kPrivateMode = 0700;
constexpr int kOpenFolder = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::string RuntimeBase() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  // A relative value is to be ignored, as the base directory rules say.
  if (runtime != nullptr && runtime[0] == '/') return runtime;
  return {};
}

std::string FallbackBase() { return "/tmp/tessaro-" + std::to_string(::getuid()); }

// A folder the user relies on to be private: a directory, not a link, owned by
// the user, closed to everyone else. The one check behind every use.
bool CheckPrivate(const struct stat& st, const std::string& path, std::string* error) {
  if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode)) {
    *error = path + ": not a directory";
    return false;
  }
  if (st.st_uid != ::getuid()) {
    *error = path + ": owned by someone else";
    return false;
  }
  if ((st.st_mode & 077) != 0) {
    *error = path + ": open to other users";
    return false;
  }
  return true;
}

// Opens one folder of the chain without following a link in its place.
// A missing folder is no error; anything else that stops the open is.
UniqueFd OpenChecked(int at, const std::string& name, const std::string& path, std::string* error) {
  UniqueFd fd(::openat(at, name.c_str(), kOpenFolder));
  if (!fd.valid()) {
    if (errno == ENOENT) return {};
    *error = path + ": " +
             (errno == ELOOP || errno == ENOTDIR ? "not a directory" : std::strerror(errno));
    return {};
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    *error = path + ": " + std::strerror(errno);
    return {};
  }
  if (!CheckPrivate(st, path, error)) return {};
  return fd;
}

bool MakeFolder(const std::string& path, std::string* error) {
  if (::mkdir(path.c_str(), kPrivateMode) == 0 || errno == EEXIST) return true;
  *error = path + ": " + std::strerror(errno);
  return false;
}

// mkdir -p for the runtime base, which normally exists already.
bool MakeFolderWithParents(const std::string& path, std::string* error) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    if (!MakeFolder(path.substr(0, slash), error)) return false;
  }
  return MakeFolder(path, error);
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.Release();
  }
  return *this;
}

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) ::close(fd_);
}

int UniqueFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

std::string DrivesFolder() {
  const std::string runtime = RuntimeBase();
  if (!runtime.empty()) return runtime + "/tessaro/drives";
  return FallbackBase() + "/drives";
}

UniqueFd OpenDrivesFolder(const std::string& folder, std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  error->clear();
  const std::size_t slash = folder.rfind('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 == folder.size()) {
    *error = folder + ": not a drives folder";
    return {};
  }
  const std::string parent = folder.substr(0, slash);
  // The holder is opened first and the folder through it, so neither can be
  // swapped for a link between the check and the use.
  const UniqueFd holder = OpenChecked(AT_FDCWD, parent, parent, error);
  if (!holder.valid()) return {};
  return OpenChecked(holder.get(), folder.substr(slash + 1), folder, error);
}

UniqueFd PrepareDrivesFolder(std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  std::string base;
  const std::string runtime = RuntimeBase();
  if (!runtime.empty()) {
    if (!MakeFolderWithParents(runtime, error)) return {};
    base = runtime + "/tessaro";
  } else {
    // /tmp is shared: someone may have put a folder or a link there first.
    base = FallbackBase();
  }
  // The holder is checked before anything is made inside it.
  const std::string folder = base + "/drives";
  if (!MakeFolder(base, error)) return {};
  struct stat st {};
  if (::lstat(base.c_str(), &st) != 0) {
    *error = base + ": " + std::strerror(errno);
    return {};
  }
  if (!CheckPrivate(st, base, error) || !MakeFolder(folder, error)) return {};
  UniqueFd drives = OpenDrivesFolder(folder, error);
  if (!drives.valid() && error->empty()) *error = folder + ": " + std::strerror(ENOENT);
  // The sticky bit keeps the periodic clean-up of the runtime folder away
  // from the links while the session lasts.
  if (drives.valid()) ::fchmod(drives.get(), kPrivateMode | S_ISVTX);
  return drives;
}

std::string DriveLinkName(char letter) { return std::string(1, letter) + ":"; }

std::vector<DriveLink> ReadDriveLinks(const std::string& folder, std::string* error) {
  std::vector<DriveLink> links;
  UniqueFd fd = OpenDrivesFolder(folder, error);
  if (!fd.valid()) return links;
  const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd.get()));
  if (dir == nullptr) return links;
  fd.Release();  // the stream owns it now
  while (const dirent* entry = ::readdir(dir.get())) {
    const char* name = entry->d_name;
    if (std::strlen(name) != 2 || name[1] != ':' || name[0] < 'A' || name[0] > 'Z') continue;
    std::string target(4096, '\0');
    const ssize_t length = ::readlinkat(::dirfd(dir.get()), name, target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) continue;
    target.resize(static_cast<std::size_t>(length));
    links.push_back({name[0], std::move(target)});
  }
  std::sort(links.begin(), links.end(),
            [](const DriveLink& a, const DriveLink& b) { return a.letter < b.letter; });
  return links;
}

}  // namespace tessaro::platform
