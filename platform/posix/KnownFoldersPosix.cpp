#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KnownFolders.h"
#include "text/TextCodec.h"

namespace tessaro::platform {

namespace {

// user-dirs.dirs is a few lines; anything past this is not worth reading.
constexpr std::streamsize kMaxUserDirsBytes = 64 * 1024;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string StripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// "/" + "x" must not become "//x".
std::string Join(const std::string& folder, std::string_view name) {
  if (!folder.empty() && folder.back() == '/') return folder + std::string(name);
  return folder + '/' + std::string(name);
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) return StripTrailingSlashes(home);

  long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
  passwd entry{};
  passwd* found = nullptr;
  for (;;) {
    const int error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
    if (error != ERANGE || buffer.size() >= (1u << 20)) break;
    buffer.resize(buffer.size() * 2);
  }
  if (found == nullptr || found->pw_dir == nullptr) return {};
  return StripTrailingSlashes(found->pw_dir);
}

// $XDG_CONFIG_HOME counts only when absolute, as the base-directory rules say.
std::string ConfigHome(const std::string& home) {
  const std::string xdg = Environment("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg.front() == '/') return StripTrailingSlashes(xdg);
  if (home.empty()) return {};
  return Join(home, ".config");
}

// Like mkdir -p, owner-only. Failure is not reported: the path is still the
// right answer, and the save that follows fails on its own.
void CreateFolderWithParents(const std::string& path) {
  if (IsDirectory(path)) return;
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    ::mkdir(path.substr(0, slash).c_str(), 0700);
  }
  ::mkdir(path.c_str(), 0700);
}

// The value of XDG_DOCUMENTS_DIR: "$HOME/..." or an absolute path, in double
// quotes, shell-style backslash escapes allowed. Anything else is ignored.
std::string ParseUserDirValue(std::string_view value, const std::string& home) {
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) {
    value.remove_suffix(1);
  }
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  std::string path;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    path += value[i];
  }
  for (const std::string_view prefix : {std::string_view("$HOME"), std::string_view("${HOME}")}) {
    if (path.compare(0, prefix.size(), prefix) == 0 &&
        (path.size() == prefix.size() || path[prefix.size()] == '/')) {
      if (home.empty()) return {};
      if (path.size() == prefix.size()) return home;
      return Join(home, std::string_view(path).substr(prefix.size() + 1));
    }
  }
  if (path.empty() || path.front() != '/') return {};
  return path;
}

std::string DocumentsFromUserDirs(const std::string& configHome, const std::string& home) {
  if (configHome.empty()) return {};
  const std::string name = Join(configHome, "user-dirs.dirs");
  // Only a regular file: opening a FIFO put there would hang the start-up.
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
  std::ifstream file(name, std::ios::binary);
  if (!file) return {};
  std::string content(static_cast<std::size_t>(kMaxUserDirsBytes), '\0');
  file.read(content.data(), kMaxUserDirsBytes);
  content.resize(static_cast<std::size_t>(file.gcount()));

  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
  std::string documents;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string_view line(content.data() + start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.substr(0, kKey.size()) != kKey) continue;
    // The file is a shell fragment: the last assignment wins.
    documents = ParseUserDirValue(line.substr(kKey.size()), home);
  }
  return documents;
}

class PosixKnownFolders final : public IKnownFolders {
 public:
  explicit PosixKnownFolders(AppDataCreation creation) : creation_(creation) {}

  std::wstring Path(KnownFolder folder) override {
    switch (folder) {
      case KnownFolder::kAppData:
        // By its bytes: a folder whose name is not UTF-8 must still be the
        // one the settings go to.
        return text::DecodeFileName(AppData());
      case KnownFolder::kDocuments:
        return text::DecodeFileName(Personal());
    }
    return {};
  }

 private:
  std::string AppData() const {
    const std::string config = ConfigHome(HomeFolder());
    // A first run must be able to save: the folder may not exist yet.
    if (!config.empty() && creation_ == AppDataCreation::kCreateMissing)
      CreateFolderWithParents(config);
    return config;
  }

  static std::string Personal() {
    const std::string home = HomeFolder();
    const std::string fromUserDirs = DocumentsFromUserDirs(ConfigHome(home), home);
    if (IsDirectory(fromUserDirs)) return StripTrailingSlashes(fromUserDirs);
    if (!home.empty() && IsDirectory(Join(home, "Documents"))) return Join(home, "Documents");
    return home;
  }

  AppDataCreation creation_;
};

}  // namespace

std::unique_ptr<IKnownFolders> MakeSystemKnownFolders(AppDataCreation creation) {
  return std::make_unique<PosixKnownFolders>(creation);
}

}  // namespace tessaro::platform
