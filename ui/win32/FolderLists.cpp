#include "ui/win32/FolderLists.h"

#include <algorithm>
#include <cwctype>

namespace tessaro::ui::win32 {
namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

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

// The subdirectories and the files of a directory, each sorted without
// regard to case, hidden and system entries left out; false when the
// directory cannot be read. Either list may be left out.
bool ScanDirectory(const std::wstring& directory, std::vector<std::wstring>* directories,
                   std::vector<std::wstring>* files) {
  std::wstring pattern = directory;
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';

  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const DWORD attributes = data.dwFileAttributes;
    if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if (directories != nullptr && !IsDot(data.cFileName))
        directories->emplace_back(data.cFileName);
    } else if (files != nullptr) {
      files->emplace_back(data.cFileName);
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);

  if (directories != nullptr) SortNames(*directories);
  if (files != nullptr) SortNames(*files);
  return true;
}

// Refills a list box in one go: storage reserved up front and no drawing
// until the end, which keeps a folder of 100,000 files quick.
void FillListBox(HWND list, const std::vector<std::wstring>& lines) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  std::size_t characters = 0;
  for (const auto& line : lines) characters += line.size() + 1;
  SendMessageW(list, LB_INITSTORAGE, lines.size(),
               static_cast<LPARAM>(characters * sizeof(wchar_t)));
  for (const auto& line : lines) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

// "C:\" for drive paths, "\\server\share\" for network paths.
std::wstring RootOf(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L'\\';
  if (path.rfind(L"\\\\", 0) == 0) {
    const std::size_t server = path.find(L'\\', 2);
    if (server == std::wstring::npos) return path + L'\\';
    const std::size_t share = path.find(L'\\', server + 1);
    return share == std::wstring::npos ? path + L'\\' : path.substr(0, share + 1);
  }
  return {};
}

bool IsDriveText(const std::wstring& text) {
  return text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ');
}

bool DriveReady(wchar_t letter) {
  const wchar_t root[] = {letter, L':', L'\\', L'\0'};
  return GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::wstring ResolveDirectory(const std::wstring& text) {
  if (text.empty() || text.find(L'\0') != std::wstring::npos) return {};
  const std::wstring target = IsDriveText(text) ? text.substr(0, 2) : text;

  const DWORD needed = GetFullPathNameW(target.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(target.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);

  const std::wstring root = RootOf(full);
  while (full.size() > root.size() && (full.back() == L'\\' || full.back() == L'/')) {
    full.pop_back();
  }
  const DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return {};
  }
  return full;
}

std::wstring DriveDisplayText(wchar_t letter) {
  const wchar_t lower = Lower(letter);
  std::wstring text{lower, L':'};
  const wchar_t device[] = {static_cast<wchar_t>(std::towupper(static_cast<wint_t>(letter))), L':',
                            L'\0'};

  // A subst drive is a link "\??\C:\folder"; show the folder.
  wchar_t target[MAX_PATH + 8] = {};
  if (QueryDosDeviceW(device, target, static_cast<DWORD>(std::size(target))) != 0) {
    const std::wstring link = target;
    if (link.rfind(L"\\??\\", 0) == 0) return text + L" [" + link.substr(4) + L']';
  }

  // Asking a removable or network drive for its label can take long or wake
  // hardware; only local disks are asked.
  const wchar_t root[] = {device[0], L':', L'\\', L'\0'};
  const UINT type = GetDriveTypeW(root);
  if (type != DRIVE_FIXED && type != DRIVE_RAMDISK) return text;
  wchar_t label[MAX_PATH + 1] = {};
  if (GetVolumeInformationW(root, label, static_cast<DWORD>(std::size(label)), nullptr, nullptr,
                            nullptr, nullptr, 0) &&
      label[0] != L'\0') {
    text += L" [";
    text += label;
    text += L']';
  }
  return text;
}

void DriveList::Bind(HWND combo, std::function<void()> onChange) {
  combo_ = combo;
  onChange_ = std::move(onChange);
}

void DriveList::Fill(wchar_t currentLetter) {
  texts_.clear();
  current_ = 0;
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    const auto letter = static_cast<wchar_t>(L'a' + i);
    if (letter == Lower(currentLetter)) current_ = texts_.size();
    texts_.push_back(DriveDisplayText(letter));
  }
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  for (const auto& text : texts_) {
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  if (!texts_.empty()) SendMessageW(combo_, CB_SETCURSEL, current_, 0);
}

std::wstring DriveList::Drive() const {
  return current_ < texts_.size() ? texts_[current_] : std::wstring();
}

bool DriveList::SetDrive(const std::wstring& text) {
  if (text.empty()) return false;
  const wchar_t letter = Lower(text[0]);
  for (std::size_t i = 0; i < texts_.size(); ++i) {
    if (texts_[i][0] == letter) return MakeCurrent(i);
  }
  return false;
}

void DriveList::OnUserSelection() {
  const LRESULT picked = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  if (picked == CB_ERR || !MakeCurrent(static_cast<std::size_t>(picked))) {
    // A drive that is not ready: back to the one that was current.
    SendMessageW(combo_, CB_SETCURSEL, current_, 0);
  }
}

bool DriveList::MakeCurrent(std::size_t index) {
  if (index >= texts_.size() || !DriveReady(texts_[index][0])) return false;
  SendMessageW(combo_, CB_SETCURSEL, index, 0);
  if (index == current_) return true;
  current_ = index;
  if (onChange_) onChange_();
  return true;
}

void DirList::Bind(HWND list, FolderScan& scan, std::function<void()> onChange) {
  list_ = list;
  scan_ = &scan;
  onChange_ = std::move(onChange);
}

bool DirList::Open(const std::wstring& path, bool notify) {
  const std::wstring directory = ResolveDirectory(path);
  if (directory.empty()) return false;
  std::vector<std::wstring> subdirectories;
  std::vector<std::wstring> files;
  if (!ScanDirectory(directory, &subdirectories, &files)) return false;

  std::vector<std::wstring> entries;
  std::vector<std::wstring> lines;
  const std::wstring root = RootOf(directory);
  std::wstring rootLine = root;
  if (rootLine.size() >= 2 && rootLine[1] == L':') rootLine[0] = Lower(rootLine[0]);
  entries.push_back(root);
  lines.push_back(rootLine);

  // One line per level from the root down to the open directory.
  std::wstring indent = L"  ";
  std::size_t start = root.size();
  while (start < directory.size()) {
    std::size_t end = directory.find(L'\\', start);
    if (end == std::wstring::npos) end = directory.size();
    entries.push_back(directory.substr(0, end));
    lines.push_back(indent + directory.substr(start, end - start));
    indent += L"  ";
    start = end + 1;
  }
  const std::size_t open = entries.size() - 1;
  const std::wstring base = directory.back() == L'\\' ? directory : directory + L'\\';
  for (const auto& name : subdirectories) {
    entries.push_back(base + name);
    lines.push_back(indent + name);
  }

  FillListBox(list_, lines);
  SendMessageW(list_, LB_SETCURSEL, open, 0);
  entries_ = std::move(entries);

  const bool changed = !SameText(directory, path_);
  path_ = directory;
  if (changed && notify && onChange_) {
    // The file list follows at once; it takes the files from this pass.
    *scan_ = FolderScan{directory, std::move(files), true};
    onChange_();
    scan_->valid = false;
    scan_->files.clear();
  }
  return true;
}

void DirList::OnDoubleClick() {
  const LRESULT picked = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (picked == LB_ERR || static_cast<std::size_t>(picked) >= entries_.size()) return;
  // An unreadable folder leaves the list where it was.
  Open(entries_[static_cast<std::size_t>(picked)], true);
}

bool FileList::SetPath(const std::wstring& path) {
  const std::wstring directory = ResolveDirectory(path);
  if (directory.empty()) return false;
  // The load sets the same folder twice in a row (through Dir1's change and
  // then directly); listing a huge folder once is enough.
  if (SameText(directory, path_)) return true;
  std::vector<std::wstring> files;
  if (scan_ != nullptr && scan_->valid && SameText(scan_->directory, directory)) {
    files = std::move(scan_->files);
    scan_->valid = false;
  } else if (!ScanDirectory(directory, nullptr, &files)) {
    return false;
  }
  FillListBox(list_, files);
  path_ = directory;
  return true;
}

}  // namespace tessaro::ui::win32
