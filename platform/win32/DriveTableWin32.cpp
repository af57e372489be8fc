#include <windows.h>

#include <vector>

#include "SystemPathRules.h"
#include "platform/DriveTable.h"

namespace tessaro::platform {
namespace {

constexpr std::wstring_view kMappedPrefix = L"\\??\\";

// A subst drive is a DOS device whose target is a path in the \?? namespace;
// real disks, network and CD drives point at \Device\... and are left out.
// Every letter is asked directly: a letter without a device answers at once,
// so a GetLogicalDrives first would save nothing, yet it alone takes up to a
// few milliseconds where many drives exist.
class Win32DriveTable final : public SystemPathRules<IDriveTable> {
 public:
  std::vector<DriveMapping> Mappings() override {
    std::vector<DriveMapping> mappings;
    // Room for the longest path a mapping can have.
    std::vector<wchar_t> target(32768);
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
      const wchar_t device[] = {letter, L':', L'\0'};
      const DWORD length =
          QueryDosDeviceW(device, target.data(), static_cast<DWORD>(target.size()));
      if (length == 0) continue;
      // The first of the NUL-separated targets is the current one.
      const std::wstring first(target.data());
      if (!first.starts_with(kMappedPrefix)) continue;
      mappings.push_back({letter, first.substr(kMappedPrefix.size())});
    }
    return mappings;
  }

  bool FolderExists(const std::wstring& folder) override {
    if (folder.empty()) return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }
};

}  // namespace

std::unique_ptr<IDriveTable> MakeSystemDriveTable() { return std::make_unique<Win32DriveTable>(); }

}  // namespace tessaro::platform
