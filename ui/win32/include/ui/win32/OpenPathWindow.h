#pragma once

#include <windows.h>

#include <array>

#include "ui/FolderBrowser.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/WindowBase.h"

namespace tessaro::ui {
class frmOpenPath;
}

namespace tessaro::ui::win32 {

// frmOpenPath's window for one opening: created, loaded by the logic, run
// modally over its owner, destroyed.
class OpenPathWindow final : public WindowBase, public FolderBrowserView {
 public:
  OpenPathWindow(HINSTANCE instance, frmOpenPath& logic);
  ~OpenPathWindow() override;

  bool Create(HWND owner);
  // Shows the window and runs its messages until it is unloaded.
  void RunModal();

  // FolderBrowserView
  void SetCaption(const std::wstring& caption) override;
  void Unload() override;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void OnCommand(WPARAM wParam);
  // IFolderBrowserObserver
  void ShowDrives() override;
  void ShowDirectory() override;
  void ShowFiles() override;
  void DriveChanged() override;
  void DirectoryChanged() override;

  HINSTANCE instance_;
  frmOpenPath& logic_;
  std::array<HWND, 5> controls_{};  // in the order of layout::kDialogControls
  HWND drive1_ = nullptr;
  HWND dir1_ = nullptr;
  HWND file1_ = nullptr;
  WindowFont font_;
  bool closed_ = false;
};

// Opens the folder dialog modally: the owner takes no input until it closes.
void RunOpenPathDialog(HINSTANCE instance, HWND owner, frmOpenPath& logic);

}  // namespace tessaro::ui::win32
