#pragma once

#include <QDialog>

#include "ui/FolderBrowser.h"
#include "ui/frmOpenPath.h"
#include "ui/qt/FolderLists.h"

class QPushButton;

namespace tessaro::ui::qt {

// frmOpenPath's window: draws the controls and the folder browser (over the
// logic's folder scanner) and forwards every event to the logic. One window
// per opening; the logic object outlives it.
class OpenPathDialog final : public QDialog, public FolderBrowserView {
 public:
  OpenPathDialog(frmOpenPath& logic, QWidget* parent);

  // Attach, load, run modally, detach: one opening of the dialog.
  int Run();
  // Attaches the logic and loads, as an opening does before it runs.
  void Load();

  void SetCaption(const std::wstring& caption) override;
  void Unload() override;

  QPushButton* OKButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  DriveListBox* Drive1List() const { return drive1_; }
  DirListBox* Dir1List() const { return dir1_; }
  FileListBox* File1List() const { return file1_; }
  const FolderBrowser& Browser() const { return browser_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape is no cancel button here.
  void reject() override {}

 private:
  void ShowDrives() override { drive1_->Show(); }
  void ShowDirectory() override { dir1_->Show(); }
  void ShowFiles() override { file1_->Show(); }
  // Before the load binds the logic, the lists only move themselves.
  void DriveChanged() override {
    if (attached_) logic_.Drive1_Change();
  }
  void DirectoryChanged() override {
    if (attached_) logic_.Dir1_Change();
  }

  frmOpenPath& logic_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  DriveListBox* drive1_;
  DirListBox* dir1_;
  FileListBox* file1_;
  bool attached_ = false;
};

}  // namespace tessaro::ui::qt
