#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/OpenPathView.h"

// The folder dialog's three lists over standard Win32 list controls. A list
// that cannot go where it is sent (drive not ready, folder unreadable) says so
// and stays where it was, so the dialog remains usable.
namespace tessaro::ui::win32 {

// One pass over a folder yields both lists: the directory list leaves the
// files here for the file list, which follows it at once.
struct FolderScan {
  std::wstring directory;
  std::vector<std::wstring> files;
  bool valid = false;
};

// Drive1: a drop-down list of the machine's drives, "c: [label]".
class DriveList final : public IDriveList {
 public:
  void Bind(HWND combo, std::function<void()> onChange);
  // Lists the drives with the given one current; raises nothing.
  void Fill(wchar_t currentLetter);

  std::wstring Drive() const override;
  bool SetDrive(const std::wstring& text) override;
  // CBN_SELCHANGE: the user picked a drive.
  void OnUserSelection();

 private:
  bool MakeCurrent(std::size_t index);

  HWND combo_ = nullptr;
  std::function<void()> onChange_;
  std::vector<std::wstring> texts_;
  std::size_t current_ = 0;
};

// Dir1: the path from the root down to the open directory, then its
// subdirectories. A double click opens an entry; a single click only
// highlights it.
class DirList final : public IDirList {
 public:
  void Bind(HWND list, FolderScan& scan, std::function<void()> onChange);
  // Opens a directory; notify false raises no change notification.
  bool Open(const std::wstring& path, bool notify);

  std::wstring Path() const override { return path_; }
  bool SetPath(const std::wstring& path) override { return Open(path, true); }
  void OnDoubleClick();

 private:
  HWND list_ = nullptr;
  FolderScan* scan_ = nullptr;
  std::function<void()> onChange_;
  std::wstring path_;
  std::vector<std::wstring> entries_;  // full path behind each line
};

// File1: the directory's files, hidden and system files left out.
class FileList final : public IFileList {
 public:
  void Bind(HWND list, FolderScan& scan) {
    list_ = list;
    scan_ = &scan;
  }
  bool SetPath(const std::wstring& path) override;

 private:
  HWND list_ = nullptr;
  FolderScan* scan_ = nullptr;
  std::wstring path_;  // the folder listed
};

// The full path of an existing directory named by the text, or the empty text.
// A drive text ("c:", "c: [label]") names that drive's current directory.
std::wstring ResolveDirectory(const std::wstring& text);

// The drive as the drive list shows it: lower-case letter, colon, then the
// volume label or, for a subst drive, the folder behind it.
std::wstring DriveDisplayText(wchar_t letter);

}  // namespace tessaro::ui::win32
