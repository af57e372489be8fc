#pragma once

#include <string>

#include "core/modApp.h"
#include "platform/KnownFolders.h"
#include "ui/Controls.h"
#include "ui/OpenPathView.h"

namespace tessaro::ui {

// What the folder dialog does. One object lives from its first use to the end
// of the run; each opening binds it to a fresh window (Attach), loads it, and
// the window's unload detaches it again.
class frmOpenPath {
 public:
  frmOpenPath(AppState& app, IComboBox& cboDrive, IComboBox& cboLocRes,
              platform::IKnownFolders& knownFolders);

  void Attach(IOpenPathView& view);
  void Detach();

  void Form_Load();
  void OKButton_Click();
  void CancelButton_Click();
  // The close box needs no handler: closing takes nothing over, like Cancel.

  void Drive1_Change();
  void Dir1_Change();

  void TakeFolder();
  void TakeDriveAndFolder();

  std::wstring strPath;
  std::wstring strDrive;

 private:
  AppState& app_;
  IComboBox& cboDrive_;
  IComboBox& cboLocRes_;
  platform::IKnownFolders& knownFolders_;
  IOpenPathView* view_ = nullptr;
};

}  // namespace tessaro::ui
