#pragma once

#include <QComboBox>
#include <QListView>
#include <QListWidget>

#include <functional>
#include <map>
#include <string>

#include "ui/OpenPathView.h"
#include "ui/qt/DriveTable.h"

class QStringListModel;

// The folder dialog's three lists as the classic drive, directory and file
// list boxes behave. A change of drive or directory, by the user or by a
// setter, calls the list's change callback before the setter returns.
namespace tessaro::ui::qt {

class DriveListBox final : public QComboBox, public IDriveList {
 public:
  DriveListBox(const DriveTable& table, QWidget* parent);
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  std::wstring Drive() const override;
  bool SetDrive(const std::wstring& text) override;

 private:
  const DriveTable& table_;
  std::function<void()> onChange_;
};

class DirListBox final : public QListWidget, public IDirList {
 public:
  DirListBox(const DriveTable& table, QWidget* parent);
  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  std::wstring Path() const override { return open_; }
  bool SetPath(const std::wstring& path) override;

  // Opens a directory as a double click does; false when it cannot be read.
  bool Open(const std::wstring& directory);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Fill(const std::wstring& directory, const std::vector<std::string>& subfolders);

  const DriveTable& table_;
  std::function<void()> onChange_;
  std::wstring open_;
  std::map<int, std::wstring> currentByDrive_;  // each drive's current directory
};

class FileListBox final : public QListView, public IFileList {
 public:
  explicit FileListBox(QWidget* parent);
  bool SetPath(const std::wstring& path) override;
  std::wstring Path() const { return path_; }
  QStringList Names() const;

 private:
  QStringListModel* model_;
  std::wstring path_;
};

// Item data of the directory list: the entry's full path.
inline constexpr int kDirPathRole = Qt::UserRole;
inline constexpr int kDirDepthRole = Qt::UserRole + 1;

}  // namespace tessaro::ui::qt
