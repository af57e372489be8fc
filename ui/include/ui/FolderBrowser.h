#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FolderScan.h"
#include "ui/Controls.h"

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

// What the browser tells its window: a part to draw again, or a change of
// drive or directory (by a setter or by the user), raised before the setter
// returns as the platform's list boxes do. The window answers a change by
// calling frmOpenPath::Drive1_Change or Dir1_Change once the logic is bound.
class IFolderBrowserObserver {
 public:
  virtual ~IFolderBrowserObserver() = default;
  virtual void ShowDrives() = 0;
  virtual void ShowDirectory() = 0;
  virtual void ShowFiles() = 0;
  virtual void DriveChanged() = 0;
  virtual void DirectoryChanged() = 0;
};

// One scan for two lists. Opening a directory reads its files as well; they
// wait here for the file list, which the change notification (or the load
// right after Start) points at the same folder. Whatever is not taken by the
// end of that notification is dropped, so that any later request reads the
// folder afresh.
class ScanHandOver {
 public:
  void Offer(std::wstring folder, std::vector<std::wstring> files) {
    folder_ = std::move(folder);
    files_ = std::move(files);
  }
  const std::wstring* OfferedFolder() const { return files_ ? &folder_ : nullptr; }
  std::vector<std::wstring> Take() {
    std::vector<std::wstring> files = std::move(*files_);
    Drop();
    return files;
  }
  void Drop() { files_.reset(); }

 private:
  std::wstring folder_;
  std::optional<std::vector<std::wstring>> files_;
};

// The folder dialog's three lists as one model over the file system, drawn
// by each front end. It starts at the process's current directory and lists
// a folder once per move (ScanHandOver).
class FolderBrowser {
 public:
  FolderBrowser(platform::IFolderScanner& scanner, IFolderBrowserObserver& observer);
  FolderBrowser(const FolderBrowser&) = delete;
  FolderBrowser& operator=(const FolderBrowser&) = delete;

  // Reads the drives and opens the current directory; shows them, but raises
  // no change.
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
  // Each list as the logic sees it, answered by the browser.
  template <class List>
  class Side : public List {
   public:
    explicit Side(FolderBrowser& b) : b_(b) {}

   protected:
    FolderBrowser& b_;
  };
  class DriveSide final : public Side<IDriveList> {
   public:
    using Side::Side;
    std::wstring Drive() const override;
    bool SetDrive(const std::wstring& text) override;
  };
  class DirSide final : public Side<IDirList> {
   public:
    using Side::Side;
    std::wstring Path() const override { return b_.directory_; }
    bool SetPath(const std::wstring& path) override;
  };
  class FileSide final : public Side<IFileList> {
   public:
    using Side::Side;
    bool SetPath(const std::wstring& path) override;
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
  IFolderBrowserObserver& observer_;

  std::vector<platform::DriveRoot> drives_;
  std::vector<std::wstring> driveTexts_;
  std::size_t currentDrive_ = 0;
  std::map<wchar_t, std::wstring> currentByDrive_;  // each drive's last directory

  std::wstring directory_;
  std::vector<DirLine> lines_;
  std::size_t openLine_ = 0;

  std::wstring filesFolder_;
  std::vector<std::wstring> files_;
  ScanHandOver opened_;

  DriveSide drive1_{*this};
  DirSide dir1_{*this};
  FileSide file1_{*this};
};

// The folder dialog's window as both front ends build it: the browser over
// the logic's folder scanner, whose lists the logic gets as they are. A front
// end draws the lists when the browser asks and does the rest of the view.
class FolderBrowserView : protected IFolderBrowserObserver {
 public:
  IDriveList& Drive1() { return browser_.Drive1(); }
  IDirList& Dir1() { return browser_.Dir1(); }
  IFileList& File1() { return browser_.File1(); }
  virtual void SetCaption(const std::wstring& caption) = 0;
  // Closes the dialog window; the modal ShowOpenPathDialog call then returns.
  virtual void Unload() = 0;

 protected:
  explicit FolderBrowserView(platform::IFolderScanner& scanner) : browser_(scanner, *this) {}

  FolderBrowser browser_;
};

}  // namespace tessaro::ui
