#pragma once

#include <string>

#include "core/modApp.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "ui/Controls.h"

namespace tessaro::ui {

class FolderBrowserView;

// What the folder dialog does. One object lives from its first use to the end
// of the run; each opening binds it to a fresh window (Attach), loads it, and
// the window's unload detaches it again. The window browses the file system
// through the scanner the dialog was made with.
class frmOpenPath {
 public:
  frmOpenPath(AppState& app, IComboBox& cboDrive, IComboBox& cboLocRes,
              platform::IKnownFolders& knownFolders, platform::IFolderScanner& folderScanner);

  platform::IFolderScanner& FolderScanner() const { return folderScanner_; }

  void Attach(FolderBrowserView& view);
  void Detach();

  void Form_Load();
  void OKButton_Click();
  void CancelButton_Click();
  // The close box needs no handler: closing takes nothing over, like Cancel.

  void Drive1_Change();
  void Dir1_Change();

  void TakeFolder();
  void TakeDriveAndFolder();

  // The folder the load started from, then the one OK took; the drive text
  // OK took in drive mode.
  const std::wstring& strPath() const { return strPath_; }
  const std::wstring& strDrive() const { return strDrive_; }

 private:
  AppState& app_;
  IComboBox& cboDrive_;
  IComboBox& cboLocRes_;
  platform::IKnownFolders& knownFolders_;
  platform::IFolderScanner& folderScanner_;
  FolderBrowserView* view_ = nullptr;
  std::wstring strPath_;
  std::wstring strDrive_;
};

}  // namespace tessaro::ui
