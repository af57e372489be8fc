#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "core/modApp.h"
#include "platform/DriveTable.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/Commands.h"
#include "ui/MainWindowView.h"
#include "ui/MappingsMenu.h"
#include "ui/Services.h"
#include "ui/SubstOutcome.h"

namespace tessaro::ui {

class frmOpenPath;

struct MainServices {
  platform::IKnownFolders& knownFolders;
  platform::ILauncher& launcher;
  ITrayIcon& tray;
  IClock& clock;
  IProcessExit& exit;
  IVersionSource& version;
  platform::IDriveTable& drives;
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
  // button: 1 left, 2 right, 4 middle; x, y in twips.
  void Form_MouseUp(std::int16_t button, std::int16_t shift, float x, float y);
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

  // The tray icon's two events (ITrayIcon), whatever road they took.
  void TrayIcon_Event(TrayEvent event);
  void mnuBarShowWindow_Click();
  void mnuBarAbout_Click();
  void mnuBarEnd_Click();

  // The mappings list of "Local Mappings" (window and tray menu alike): read
  // when the submenu opens; choosing an item puts it into the boxes, and from
  // the tray menu also shows the window.
  const std::vector<MappingItem>& mnuMappings_Open();
  void mnuMapping_Click(std::size_t index, bool fromTray);

  // Runs the handler of a button or menu item by its id.
  void Dispatch(CommandId id);

  AppState& State() { return app_; }

 private:
  void OpenDialog();
  void ShowWindowAndRemoveIcon();
  void RemoveTrayIcon();
  void CommandEnded(SubstAction action, const std::wstring& drive, const std::wstring& folder,
                    const platform::CommandEnd& end);

  AppState& app_;
  IMainWindowView& view_;
  MainServices services_;
  std::unique_ptr<frmOpenPath> openPath_;  // created on first use, lives to the end
  std::vector<MappingItem> mappings_;      // as the submenu last showed them
  std::deque<std::wstring> reports_;       // outcomes waiting for the box before them
  bool reporting_ = false;
  bool ending_ = false;  // the program is on its way out: nothing more is told
};

inline constexpr const wchar_t* kTrayTip = L"Rechte Maustaste für Menü";

}  // namespace tessaro::ui
