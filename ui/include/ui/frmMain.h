#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/modApp.h"
#include "platform/DriveTable.h"
#include "platform/FileIo.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/Commands.h"
#include "ui/MainWindowView.h"
#include "ui/MappingsMenu.h"
#include "ui/Services.h"
#include "ui/SubstOutcome.h"

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
  platform::IDriveTable& drives;
  // Writes the settings; empty means the settings file itself (SaveSettings).
  // Tests put a failing disk here.
  std::function<platform::WriteResult(const AppState&)> saveSettings = {};
};

// Why the window goes: the user closed it, or the session is ending (logout,
// shutdown, a termination signal), when no message may hold things up.
enum class UnloadMode { kUser, kSessionEnd };

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
  // Saves; a failed save is told to the user unless the session is ending.
  void Form_Unload(UnloadMode mode = UnloadMode::kUser);
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
  // "Anzeigen" brings it; the front end then brings it to the front.
  void Form_StartedAgain();

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

 private:
  void OpenDialog();
  void ShowWindowAndRemoveIcon();
  void RemoveTrayIcon();
  platform::WriteResult Save();
  void TellSaveFailure(const platform::WriteResult& result);
  void CommandEnded(SubstAction action, const std::wstring& drive, const std::wstring& folder,
                    const platform::CommandEnd& end);

  AppState& app_;
  IMainWindowView& view_;
  MainServices services_;
  std::unique_ptr<frmOpenPath> openPath_;    // created on first use, lives to the end
  std::set<std::wstring> toldSaveFailures_;  // reasons a Map already showed
  std::vector<MappingItem> mappings_;        // as the submenu last showed them
  std::deque<std::wstring> reports_;         // outcomes waiting for the box before them
  bool reporting_ = false;
  bool ending_ = false;  // the program is on its way out: nothing more is told
};

// A screen reader announces the tip as the icon's name, so it says whose icon
// it is.
inline constexpr const wchar_t* kTrayTip = L"Tessaro - Rechte Maustaste für Menü";

// The message for a save that failed: the reason, then the file on a line of
// its own.
std::wstring SaveFailureMessage(const std::wstring& file, const std::wstring& reason);

}  // namespace tessaro::ui
