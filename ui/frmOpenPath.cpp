#include "ui/frmOpenPath.h"

#include "core/modSpecialFolder.h"
#include "text/LetterCase.h"
#include "ui/FolderBrowser.h"
#include "ui/Layout.h"

namespace tessaro::ui {
namespace {

std::wstring DriveBoxText(const std::wstring& driveText) {
  return text::AsciiUpper(std::wstring_view(driveText).substr(0, 2));
}

}  // namespace

frmOpenPath::frmOpenPath(AppState& app, IComboBox& cboDrive, IComboBox& cboLocRes,
                         platform::IKnownFolders& knownFolders,
                         platform::IFolderScanner& folderScanner)
    : app_(app),
      cboDrive_(cboDrive),
      cboLocRes_(cboLocRes),
      knownFolders_(knownFolders),
      folderScanner_(folderScanner) {}

void frmOpenPath::Attach(FolderBrowserView& view) { view_ = &view; }

void frmOpenPath::Detach() { view_ = nullptr; }

void frmOpenPath::Form_Load() {
  if (view_ == nullptr) return;
  FolderBrowserView& view = *view_;

  // Each step stands alone: a list that cannot go somewhere says so by its
  // result and stays where it was, and the next step runs. Anything else
  // is a fault for the front end's boundary to report.
  strPath_ = app_.blnPrefill == kFalse
                 ? fctGetSpecialFolder(knownFolders_, platform::KnownFolder::kDocuments)
                 : cboLocRes_.Text();
  view.SetCaption(layout::kDialogCaption);
  // A drive change moves the directory list along through Drive1_Change.
  (void)view.Drive1().SetDrive(strPath_);
  (void)view.Dir1().SetPath(strPath_);
  (void)view.File1().SetPath(strPath_);
}

void frmOpenPath::Drive1_Change() {
  if (view_ == nullptr) return;
  (void)view_->Dir1().SetPath(view_->Drive1().Drive());
}

void frmOpenPath::Dir1_Change() {
  if (view_ == nullptr) return;
  (void)view_->File1().SetPath(view_->Dir1().Path());
}

void frmOpenPath::OKButton_Click() {
  if (view_ == nullptr) return;
  if (app_.blnPathMode == kTrue) {
    TakeFolder();
  } else {
    TakeDriveAndFolder();
  }
  view_->Unload();
}

void frmOpenPath::CancelButton_Click() {
  if (view_ != nullptr) view_->Unload();
}

void frmOpenPath::TakeFolder() {
  if (view_ == nullptr) return;
  strPath_ = view_->Dir1().Path();
  cboLocRes_.SetText(strPath_);
  app_.strTargetPath = strPath_;
}

void frmOpenPath::TakeDriveAndFolder() {
  if (view_ == nullptr) return;
  FolderBrowserView& view = *view_;
  strPath_ = view.Dir1().Path();
  strDrive_ = view.Drive1().Drive();
  cboDrive_.SetText(DriveBoxText(strDrive_));
  cboLocRes_.SetText(strPath_);
  app_.strTargetPath = strPath_;
}

}  // namespace tessaro::ui
