#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FolderScan.h"
#include "ui/OpenPathView.h"

namespace tessaro::ui {

// The drive list's text for a drive: "c:", "c: [System]", "x: [/home/anna/Daten]".
std::wstring FormatDriveText(wchar_t letter, const std::wstring& detail);
// "x:" or "x: ..." (a drive text rather than a path such as "x:Daten").
bool IsDriveText(std::wstring_view text);

// One line of the directory list: the chain from the root down to the open
// directory, then the open directory's subfolders, one level deeper.
struct DirLine {
  std::wstring caption;  // as shown (text::DisplayFileName)
  std::wstring path;     // full path behind the line, the system's bytes kept
  int depth = 0;
};

// How a front end learns that a part of the browser needs drawing again.
class IFolderDisplay {
 public:
  virtual ~IFolderDisplay() = default;
  virtual void ShowDrives() = 0;
  virtual void ShowDirectory() = 0;
  virtual void ShowFiles() = 0;
};

// The folder dialog's three lists as one model over the file system, drawn
// by each front end. It starts at the process's current directory and lists
// a folder once per move: the directory list's scan also fills the file
// list that follows it.
class FolderBrowser {
 public:
  explicit FolderBrowser(platform::IFolderScanner& scanner);
  FolderBrowser(const FolderBrowser&) = delete;
  FolderBrowser& operator=(const FolderBrowser&) = delete;

  void SetDisplay(IFolderDisplay* display) { display_ = display; }
  // Called when a drive or a directory change, by setter or by the user,
  // before the setter returns.
  void SetNotifications(std::function<void()> driveChanged, std::function<void()> directoryChanged);

  // Reads the drives and opens the current directory; notifies nobody.
  void Start();

  IDriveList& Drive1() { return drive1_; }
  IDirList& Dir1() { return dir1_; }
  IFileList& File1() { return file1_; }

  const std::vector<std::wstring>& DriveTexts() const { return driveTexts_; }
  std::size_t CurrentDrive() const { return currentDrive_; }
  const std::vector<DirLine>& Lines() const { return lines_; }
  std::size_t OpenLine() const { return openLine_; }
  const std::wstring& Directory() const { return directory_; }
  const std::wstring& FilesFolder() const { return filesFolder_; }
  // The names as the system gives them; show them through text::DisplayFileName.
  const std::vector<std::wstring>& Files() const { return files_; }

  // The user picked a drive; false when it is not ready (the display then
  // shows the current one again).
  bool PickDrive(std::size_t index);
  // The user opened a line (double click or Enter); false when it cannot be read.
  bool OpenLineAt(std::size_t index);

  // The tidy absolute form of a path ("/a/./b/../c/" -> "/a/c"), or the
  // empty text when it is not absolute.
  std::wstring Tidy(const std::wstring& path) const;

 private:
  class DriveSide final : public IDriveList {
   public:
    explicit DriveSide(FolderBrowser& b) : b_(b) {}
    std::wstring Drive() const override;
    bool SetDrive(const std::wstring& text) override;

   private:
    FolderBrowser& b_;
  };
  class DirSide final : public IDirList {
   public:
    explicit DirSide(FolderBrowser& b) : b_(b) {}
    std::wstring Path() const override { return b_.directory_; }
    bool SetPath(const std::wstring& path) override;

   private:
    FolderBrowser& b_;
  };
  class FileSide final : public IFileList {
   public:
    explicit FileSide(FolderBrowser& b) : b_(b) {}
    bool SetPath(const std::wstring& path) override;

   private:
    FolderBrowser& b_;
  };

  std::optional<std::pair<std::wstring, std::size_t>> SplitRoot(const std::wstring& path) const;
  bool SamePath(std::wstring_view a, std::wstring_view b) const;
  bool Holds(std::wstring_view folder, std::wstring_view path) const;
  std::optional<std::size_t> DriveHolding(std::wstring_view path) const;
  std::optional<std::size_t> DriveForText(std::wstring_view text) const;
  std::wstring Resolve(const std::wstring& text) const;
  bool MakeCurrent(std::size_t index);
  bool Open(const std::wstring& directory, bool notify);
  bool ListFiles(const std::wstring& folder);
  void Fill(const std::wstring& directory, const std::vector<std::wstring>& subfolders);

  platform::IFolderScanner& scanner_;
  platform::PathStyle style_;
  IFolderDisplay* display_ = nullptr;
  std::function<void()> driveChanged_;
  std::function<void()> directoryChanged_;

  std::vector<platform::DriveRoot> drives_;
  std::vector<std::wstring> driveTexts_;
  std::size_t currentDrive_ = 0;
  std::map<wchar_t, std::wstring> currentByDrive_;  // each drive's last directory

  std::wstring directory_;
  std::vector<DirLine> lines_;
  std::size_t openLine_ = 0;

  std::wstring filesFolder_;
  std::vector<std::wstring> files_;
  // The files of the directory just opened, while its change notification
  // runs, so the file list that follows needs no scan of its own.
  std::optional<platform::FolderContents> fresh_;
  std::wstring freshFolder_;

  DriveSide drive1_{*this};
  DirSide dir1_{*this};
  FileSide file1_{*this};
};

}  // namespace tessaro::ui
