#pragma once

#include <QDialog>

#include "ui/OpenPathView.h"
#include "ui/frmOpenPath.h"
#include "ui/qt/DriveTable.h"
#include "ui/qt/FolderLists.h"

class QPushButton;

namespace tessaro::ui::qt {

// frmOpenPath's window: draws the controls and forwards every event to the
// logic. One window per opening; the logic object outlives it.
class OpenPathDialog final : public QDialog, public IOpenPathView {
 public:
  OpenPathDialog(frmOpenPath& logic, DriveTable drives);

  // Attach, load, run modally, detach: one opening of the dialog.
  int Run();

  IDriveList& Drive1() override { return *drive1_; }
  IDirList& Dir1() override { return *dir1_; }
  IFileList& File1() override { return *file1_; }
  void SetCaption(const std::wstring& caption) override;
  void Unload() override;

  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  DriveListBox* Drive1List() const { return drive1_; }
  DirListBox* Dir1List() const { return dir1_; }
  FileListBox* File1List() const { return file1_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape is no cancel button here.
  void reject() override {}

 private:
  frmOpenPath& logic_;
  DriveTable drives_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  DriveListBox* drive1_;
  DirListBox* dir1_;
  FileListBox* file1_;
  bool attached_ = false;
};

}  // namespace tessaro::ui::qt
