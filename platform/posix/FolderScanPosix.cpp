#include "FolderScanPosix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "SystemPathRules.h"
#include "platform/posix/Handles.h"
#include "text/LetterCase.h"
#include "text/TextCodec.h"

namespace tessaro::platform {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(text::AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(text::AsciiLower(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// Eight lowered bytes from a position, first byte highest; past the end
// zero, which sorts a shorter name first as the byte compare does (names
// hold no zero byte).
std::uint64_t PackedLower(const std::string& name, std::size_t from) {
  std::uint64_t packed = 0;
  for (std::size_t i = from; i < from + 8; ++i) {
    const char c = i < name.size() ? text::AsciiLower(name[i]) : '\0';
    packed = (packed << 8) | static_cast<unsigned char>(c);
  }
  return packed;
}

// The entry type without a stat call where the file system tells it; links
// count as what they point to.
bool IsFolder(int dirFd, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
  struct stat st {};
  return ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

// The names sorted without regard to ASCII case, ties by bytes, and
// decoded. The sort runs over the first sixteen lowered bytes as two numbers
// and looks at the names only where those tie; it moves the names along
// with their keys, so the passes over a huge folder stay in order in memory.
std::vector<std::wstring> SortedWide(std::vector<std::string>& names) {
  struct Entry {
    std::uint64_t high;
    std::uint64_t low;
    std::string name;
  };
  std::vector<Entry> entries;
  entries.reserve(names.size());
  for (auto& name : names) {
    const std::uint64_t high = PackedLower(name, 0);
    const std::uint64_t low = PackedLower(name, 8);
    entries.push_back({high, low, std::move(name)});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.high != b.high) return a.high < b.high;
    if (a.low != b.low) return a.low < b.low;
    return LessIgnoringCase(a.name, b.name);
  });

  std::vector<std::wstring> wide;
  wide.reserve(entries.size());
  for (const Entry& entry : entries) {
    const std::string& name = entry.name;
    // Most names are plain ASCII, which widens byte by byte. Others keep
    // bytes that are not UTF-8, so that the name opens again.
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    wide.push_back(ascii ? std::wstring(name.begin(), name.end()) : text::DecodeFileName(name));
  }
  return wide;
}

std::wstring WithoutTrailingSlashes(std::wstring path) {
  while (path.size() > 1 && path.back() == L'/') path.pop_back();
  return path;
}

// A folder's entries as the system names them, unsorted.
struct ByteContents {
  std::vector<std::string> folders;
  std::vector<std::string> files;
};

std::optional<ByteContents> ScanFolderBytes(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  const UniqueDir dir = UniqueDir::Open(folder);
  if (dir.get() == nullptr) return std::nullopt;
  ByteContents contents;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (entry->d_name[0] == '.') continue;
    (IsFolder(dir.fd(), *entry) ? contents.folders : contents.files).emplace_back(entry->d_name);
  }
  return contents;
}

class PosixFolderScanner final : public SystemPathRules<IFolderScanner> {
 public:
  std::vector<DriveRoot> Drives() override {
    return DriveRootsFromLinks(ReadDriveLinks(DrivesFolder()));
  }

  bool DriveReady(const DriveRoot&) override { return true; }

  std::wstring CurrentDirectory() override {
    std::error_code ec;
    const auto cwd = std::filesystem::current_path(ec);
    return ec ? std::wstring(L"/") : text::DecodeFileName(cwd.native());
  }

  // Only absolute paths: there is no current directory per drive here.
  std::wstring FullPath(const std::wstring& path) override {
    return !path.empty() && path.front() == L'/' ? path : std::wstring();
  }

  std::optional<FolderContents> Scan(const std::wstring& folder) override {
    auto bytes = ScanFolderBytes(text::EncodeFileName(folder));
    if (!bytes) return std::nullopt;
    return FolderContents{SortedWide(bytes->folders), SortedWide(bytes->files)};
  }
};

}  // namespace

std::vector<DriveRoot> DriveRootsFromLinks(const std::vector<DriveLink>& links) {
  std::vector<DriveRoot> drives{{L'c', L"/", L""}};
  for (const auto& link : links) {
    const wchar_t letter = text::AsciiLower(static_cast<wchar_t>(link.letter));
    std::wstring folder = WithoutTrailingSlashes(text::DecodeFileName(link.target));
    if (letter == L'c' || folder.empty() || folder.front() != L'/') continue;
    drives.push_back({letter, folder, folder});
  }
  return drives;
}

std::unique_ptr<IFolderScanner> MakeSystemFolderScanner() {
  return std::make_unique<PosixFolderScanner>();
}

}  // namespace tessaro::platform
