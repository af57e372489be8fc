#include "platform/posix/FolderScanPosix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "core/TextCodec.h"

namespace tessaro::platform {
namespace {

// Owns an open directory; the descriptor passes to it from the moment
// fdopendir takes it.
class UniqueDir {
 public:
  explicit UniqueDir(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    dir_ = ::fdopendir(fd);
    if (dir_ == nullptr) ::close(fd);
  }
  ~UniqueDir() {
    if (dir_ != nullptr) ::closedir(dir_);
  }
  UniqueDir(const UniqueDir&) = delete;
  UniqueDir& operator=(const UniqueDir&) = delete;

  DIR* get() const { return dir_; }
  int fd() const { return ::dirfd(dir_); }

 private:
  DIR* dir_ = nullptr;
};

unsigned char Lower(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = Lower(a[i]);
    const unsigned char y = Lower(b[i]);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// The entry type without a stat call where the file system tells it; links
// count as what they point to.
bool IsFolder(int dirFd, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat st {};
  return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::wstring> Decoded(const std::vector<std::string>& names) {
  std::vector<std::wstring> wide;
  wide.reserve(names.size());
  for (const auto& name : names) wide.push_back(text::DecodeUtf8Lossy(name));
  return wide;
}

std::wstring WithoutTrailingSlashes(std::wstring path) {
  while (path.size() > 1 && path.back() == L'/') path.pop_back();
  return path;
}

class PosixFolderScanner final : public IFolderScanner {
 public:
  PathStyle Style() const override { return {L'/', false}; }

  std::vector<DriveRoot> Drives() override {
    return DriveRootsFromLinks(ReadDriveLinks(DrivesFolder()));
  }

  bool DriveReady(const DriveRoot&) override { return true; }

  std::wstring CurrentDirectory() override {
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    return ec ? std::wstring(L"/") : text::DecodeUtf8Lossy(cwd.string());
  }

  // Only absolute paths: there is no current directory per drive here.
  std::wstring FullPath(const std::wstring& path) override {
    return !path.empty() && path.front() == L'/' ? path : std::wstring();
  }

  std::optional<FolderContents> Scan(const std::wstring& folder) override {
    auto bytes = ScanFolderBytes(text::EncodeUtf8(folder));
    if (!bytes) return std::nullopt;
    return FolderContents{Decoded(bytes->folders), Decoded(bytes->files)};
  }
};

}  // namespace

std::vector<DriveRoot> DriveRootsFromLinks(const std::vector<DriveLink>& links) {
  std::vector<DriveRoot> drives{{L'c', L"/", L""}};
  for (const auto& link : links) {
    const auto letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(link.letter)));
    std::wstring folder = WithoutTrailingSlashes(text::DecodeUtf8Lossy(link.target));
    if (letter == L'c' || folder.empty() || folder.front() != L'/') continue;
    drives.push_back({letter, folder, folder});
  }
  return drives;
}

std::optional<ByteContents> ScanFolderBytes(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  const UniqueDir dir(folder);
  if (dir.get() == nullptr) return std::nullopt;
  ByteContents contents;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (entry->d_name[0] == '.') continue;
    (IsFolder(dir.fd(), *entry) ? contents.folders : contents.files).emplace_back(entry->d_name);
  }
  std::sort(contents.folders.begin(), contents.folders.end(), LessIgnoringCase);
  std::sort(contents.files.begin(), contents.files.end(), LessIgnoringCase);
  return contents;
}

std::unique_ptr<IFolderScanner> MakeSystemFolderScanner() {
  return std::make_unique<PosixFolderScanner>();
}

}  // namespace tessaro::platform
