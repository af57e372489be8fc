#include <windows.h>

#include <algorithm>

#include "SystemPathRules.h"
#include "platform/FolderScan.h"
#include "platform/win32/Handles.h"
#include "text/LetterCase.h"

namespace tessaro::platform {
namespace {

bool IsDot(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == L'\0') ||
         (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

void SortNames(std::vector<std::wstring>& names) {
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_LESS_THAN;
  });
}

// The volume label or, for a subst drive, the folder behind it.
std::wstring DriveDetail(wchar_t letter) {
  const wchar_t device[] = {text::AsciiUpper(letter), L':', L'\0'};
  // A subst drive is a link "\??\C:\folder"; show the folder.
  wchar_t target[MAX_PATH + 8] = {};
  if (QueryDosDeviceW(device, target, static_cast<DWORD>(std::size(target))) != 0) {
    const std::wstring link = target;
    if (link.rfind(L"\\??\\", 0) == 0) return link.substr(4);
  }
  // Asking a removable or network drive for its label can take long or wake
  // hardware; only local disks are asked.
  const wchar_t root[] = {device[0], L':', L'\\', L'\0'};
  const UINT type = GetDriveTypeW(root);
  if (type != DRIVE_FIXED && type != DRIVE_RAMDISK) return {};
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, label, static_cast<DWORD>(std::size(label)), nullptr, nullptr,
                             nullptr, nullptr, 0)) {
    return {};
  }
  return label;
}

class Win32FolderScanner final : public SystemPathRules<IFolderScanner> {
 public:
  std::vector<DriveRoot> Drives() override {
    std::vector<DriveRoot> drives;
    const DWORD present = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      if ((present & (1u << i)) == 0) continue;
      const auto letter = static_cast<wchar_t>(L'a' + i);
      drives.push_back(
          {letter, std::wstring{text::AsciiUpper(letter), L':', L'\\'}, DriveDetail(letter)});
    }
    return drives;
  }

  bool DriveReady(const DriveRoot& drive) override {
    return GetFileAttributesW(drive.folder.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  std::wstring CurrentDirectory() override {
    // Asked for its length first: a current directory may be longer than
    // MAX_PATH. The retry covers a change between the two calls.
    for (int attempt = 0; attempt < 3; ++attempt) {
      const DWORD needed = GetCurrentDirectoryW(0, nullptr);
      if (needed == 0) break;
      std::wstring current(needed, L'\0');
      const DWORD length = GetCurrentDirectoryW(needed, current.data());
      if (length == 0) break;
      if (length < needed) {
        current.resize(length);
        return current;
      }
    }
    return L"C:\\";
  }

  std::wstring FullPath(const std::wstring& text) override {
    if (text.empty() || text.find(L'\0') != std::wstring::npos) return {};
    const DWORD needed = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(text.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
  }

  std::optional<FolderContents> Scan(const std::wstring& folder) override {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      return std::nullopt;
    }
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';

    FolderContents contents;
    WIN32_FIND_DATAW data{};
    const UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!find.valid()) {
      if (GetLastError() != ERROR_FILE_NOT_FOUND) return std::nullopt;
      return contents;  // an empty drive
    }
    do {
      const DWORD entry = data.dwFileAttributes;
      if ((entry & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
      if ((entry & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        if (!IsDot(data.cFileName)) contents.folders.emplace_back(data.cFileName);
      } else {
        contents.files.emplace_back(data.cFileName);
      }
    } while (FindNextFileW(find.get(), &data));
    SortNames(contents.folders);
    SortNames(contents.files);
    return contents;
  }
};

}  // namespace

std::unique_ptr<IFolderScanner> MakeSystemFolderScanner() {
  return std::make_unique<Win32FolderScanner>();
}

}  // namespace tessaro::platform
