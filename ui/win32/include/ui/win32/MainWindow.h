#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "platform/Launcher.h"
#include "ui/MainWindowView.h"
#include "ui/win32/Controls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/TrayIconWin32.h"
#include "ui/win32/WindowBase.h"

namespace tessaro::ui {
class frmMain;
enum class MouseButton;
enum class UnloadMode;
}  // namespace tessaro::ui

namespace tessaro::ui::win32 {

class MainWindow;

// Picture1: never visible; it owns the window that the tray's callbacks are
// sent to.
class Picture1Window final : public WindowBase {
 public:
  explicit Picture1Window(MainWindow& owner) : owner_(owner) {}
  bool Create(HINSTANCE instance, HWND parent, const RECT& rect);

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  MainWindow& owner_;
};

// frmMain drawn with Win32 controls. It forwards every event to the logic and
// offers the logic what IMainWindowView asks for.
class MainWindow final : public WindowBase, public IMainWindowView {
 public:
  MainWindow(HINSTANCE instance, TrayIconWin32& tray);
  ~MainWindow() override;

  // Creates the window and its controls, hidden: the logic's load runs
  // before the window is first shown.
  bool Create();
  void SetLogic(frmMain* logic) { logic_ = logic; }
  void ShowFirstTime(int showCommand);

  // Keyboard navigation between the controls (Tab, arrows); true when the
  // message was used up.
  bool TranslateDialogKeys(MSG& msg);

  void OnTrayCallback(LPARAM lParam);

  // Runs tasks of other threads on the window's thread, through its queue.
  // Usable once the window exists; tasks posted after it is gone are dropped.
  platform::UiPost Poster() const;

  // IMainWindowView
  IComboBox& cboDrive() override { return cboDrive_; }
  IComboBox& cboLocRes() override { return cboLocRes_; }
  ICheckMark& mnuRemoveItem() override { return mnuRemoveItem_; }
  void Hide() override;
  void Show() override;
  void PopupMenu(PopupMenuId menu) override;
  void ShowOpenPathDialog(frmOpenPath& dialog) override;
  void ShowMessage(const std::wstring& text, MessageKind kind, const std::wstring& title) override;

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void CreateControls();
  void ApplyDpi(UINT dpi, const RECT* suggested);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnMouseUp(MouseButton button);
  void OnDrawImage(const DRAWITEMSTRUCT& item);
  void OnNextDialogControl(WPARAM wParam, LPARAM lParam);
  void OnStartedAgain();
  void Unload(UnloadMode mode);
  // With TPM_RETURNCMD among the flags, returns the chosen item's id (0: none).
  UINT PopupMenuAtCursor(HMENU menu, UINT flags = 0);
  void OpenFileMenuFromKeyboard();
  void FillMappings(HMENU submenu, unsigned firstId);
  bool OnMappingCommand(unsigned id);

  HINSTANCE instance_;
  TrayIconWin32& tray_;
  frmMain* logic_ = nullptr;

  std::array<HWND, 10> controls_{};  // in the order of layout::kMainControls
  Picture1Window picture1_;
  ComboBoxWin32 cboDrive_;
  ComboBoxWin32 cboLocRes_;
  HMENU fileMenu_ = nullptr;
  HMENU trayMenu_ = nullptr;
  HMENU fileMappings_ = nullptr;  // "Local Mappings" of each menu
  HMENU trayMappings_ = nullptr;
  MenuCheckMark mnuRemoveItem_;

  WindowFont font_;
  HICON image1_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  UINT taskbarCreated_ = 0;
  UINT startedAgain_ = 0;
  HWND lastFocus_ = nullptr;
  HWND tabAnchor_ = nullptr;  // a label whose access key moves on from it
  bool unloaded_ = false;
  std::optional<POINT> keyboardMenuAt_;  // where the keyboard asked for mnuFile
};

}  // namespace tessaro::ui::win32
