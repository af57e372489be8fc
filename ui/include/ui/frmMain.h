#pragma once

#include <cstdint>
#include <memory>

#include "core/modApp.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/Commands.h"
#include "ui/MainWindowView.h"
#include "ui/Services.h"

namespace tessaro::ui {

class frmOpenPath;

enum class MouseButton { kLeft, kRight, kMiddle };

struct MainServices {
  platform::IKnownFolders& knownFolders;
  platform::ILauncher& launcher;
  platform::IFolderScanner& folderScanner;
  ITrayIcon& tray;
  IClock& clock;
  IProcessExit& exit;
  IVersionSource& version;
};

// What the main window does. The front end draws the controls, forwards every
// event to the handler named after the control and the event, and implements
// IMainWindowView for the few things the handlers need of it.
class frmMain {
 public:
  frmMain(AppState& app, IMainWindowView& view, const MainServices& services);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  void Form_Load();
  void Form_Unload();
  // A button released over the bare background: only the right one opens a
  // menu.
  void Form_MouseUp(MouseButton button);
  // The context-menu key or Shift+F10 while the window has the focus.
  void Form_MenuKey();

  void cmdSubst_Click();
  void cmdDelRes_Click();
  void cmdOpenPath_Click();
  void cmdOpenDrive_Click();

  void mnuDrivesMap_Click();
  void mnuDrivesDel_Click();
  void mnuRemoveItem_Click();
  void mnuSystray_Click();
  void mnuAbout_Click();
  void mnuEnd_Click();

  // Tessaro was started again while this one runs: the window comes back as
  // "Anzeigen" brings it, and to the front.
  void Form_StartedAgain();

  // The tray icon's two events (ITrayIcon), whatever road they took.
  void TrayIcon_Event(TrayEvent event);
  void mnuBarShowWindow_Click();
  void mnuBarAbout_Click();
  void mnuBarEnd_Click();

  // Runs the handler of a button or menu item by its id.
  void Dispatch(CommandId id);

 private:
  void OpenDialog();
  void ShowWindowAndRemoveIcon();
  void RemoveTrayIcon();

  AppState& app_;
  IMainWindowView& view_;
  MainServices services_;
  std::unique_ptr<frmOpenPath> openPath_;  // created on first use, lives to the end
};

// A screen reader announces the tip as the icon's name, so it says whose icon
// it is.
inline constexpr const wchar_t* kTrayTip = L"Tessaro - Rechte Maustaste für Menü";

}  // namespace tessaro::ui
