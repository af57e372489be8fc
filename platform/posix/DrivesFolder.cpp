#include "platform/posix/DrivesFolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tessaro::platform {
namespace {

constexpr mode_t kPrivateMode = 0700;

std::string RuntimeBase() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  // A relative value is to be ignored, as the base directory rules say.
  if (runtime != nullptr && runtime[0] == '/') return runtime;
  return {};
}

std::string FallbackBase() { return "/tmp/tessaro-" + std::to_string(::getuid()); }

// A folder the user relies on to be private: a directory, not a link, owned by
// the user, closed to everyone else.
bool CheckPrivate(const std::string& path, std::string* error) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
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

}  // namespace

std::string DrivesFolder() {
  const std::string runtime = RuntimeBase();
  if (!runtime.empty()) return runtime + "/tessaro/drives";
  return FallbackBase() + "/drives";
}

std::string PrepareDrivesFolder(std::string* error) {
  std::string ignored;
  if (error == nullptr) error = &ignored;
  std::vector<std::string> privateFolders;
  const std::string runtime = RuntimeBase();
  if (!runtime.empty()) {
    if (!MakeFolderWithParents(runtime, error)) return {};
    privateFolders = {runtime + "/tessaro", runtime + "/tessaro/drives"};
  } else {
    // /tmp is shared: someone may have put a folder or a link there first.
    privateFolders = {FallbackBase(), FallbackBase() + "/drives"};
  }
  for (const auto& folder : privateFolders) {
    if (!MakeFolder(folder, error) || !CheckPrivate(folder, error)) return {};
  }
  return privateFolders.back();
}

std::string DriveLinkName(char letter) { return std::string(1, letter) + ":"; }

std::vector<DriveLink> ReadDriveLinks(const std::string& folder) {
  std::vector<DriveLink> links;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return links;
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (std::strlen(name) != 2 || name[1] != ':' || name[0] < 'A' || name[0] > 'Z') continue;
    const std::string linkPath = folder + "/" + name;
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(linkPath.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) continue;
    target.resize(static_cast<std::size_t>(length));
    links.push_back({name[0], std::move(target)});
  }
  ::closedir(dir);
  std::sort(links.begin(), links.end(),
            [](const DriveLink& a, const DriveLink& b) { return a.letter < b.letter; });
  return links;
}

}  // namespace tessaro::platform
