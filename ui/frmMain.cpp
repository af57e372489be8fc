#include "ui/frmMain.h"

#include "core/MappingCommands.h"
#include "core/RecentPaths.h"
#include "core/Startup.h"
#include "core/modIniAccess.h"
#include "ui/AboutMessage.h"
#include "ui/LaunchMessage.h"
#include "ui/frmOpenPath.h"

namespace tessaro::ui {
namespace {

constexpr const wchar_t* kMessageTitle = L"Tessaro";

}  // namespace

frmMain::frmMain(AppState& app, IMainWindowView& view, const MainServices& services)
    : app_(app), view_(view), services_(services) {}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  const StartupView shown = RunStartup(app_, services_.knownFolders);
  IComboBox& cboDrive = view_.cboDrive();
  for (const auto& item : shown.driveItems) cboDrive.AddItem(item);
  cboDrive.SetText(shown.driveText);
  IComboBox& cboLocRes = view_.cboLocRes();
  cboLocRes.SetText(shown.folderText);
  for (const auto& item : shown.recentItems) cboLocRes.AddItem(item);
  view_.mnuRemoveItem().SetChecked(shown.resetChecked);
}

void frmMain::Form_Unload(UnloadMode mode) {
  ending_ = true;
  RemoveTrayIcon();
  if (ResetOnExit(app_, app_.blnResetRestart)) view_.cboLocRes().SetText(std::wstring());
  const platform::WriteResult saved = Save();
  // Told even when a Map told it already: what the user did since is lost
  // too. At the session's end no box may hold up the logout.
  if (!saved && mode == UnloadMode::kUser) TellSaveFailure(saved);
}

platform::WriteResult frmMain::Save() {
  return services_.saveSettings ? services_.saveSettings(app_) : SaveSettings(app_);
}

void frmMain::TellSaveFailure(const platform::WriteResult& result) {
  view_.ShowMessage(SaveFailureMessage(app_.strIniFile, result.reason), MessageKind::kCritical,
                    kMessageTitle);
}

std::wstring SaveFailureMessage(const std::wstring& file, const std::wstring& reason) {
  return L"Die Einstellungen konnten nicht gespeichert werden: " +
         (reason.empty() ? std::wstring(L"unbekannter Fehler") : reason) + L"\n\n" + file;
}

void frmMain::Form_MouseUp(MouseButton button) {
  if (button == MouseButton::kRight) view_.PopupMenu(PopupMenuId::mnuFile);
}

// The keyboard's way to the menu a right click on the background opens.
void frmMain::Form_MenuKey() { view_.PopupMenu(PopupMenuId::mnuFile); }

void frmMain::cmdSubst_Click() {
  const std::wstring drive = view_.cboDrive().Text();
  const std::wstring path = view_.cboLocRes().Text();

  // A command that never started mapped nothing: nothing is recorded then,
  // and the user learns why instead of finding the drive missing later.
  const auto result =
      services_.launcher.Launch(BuildMapCommandLine(drive, path), platform::WindowShow::kMinimized,
                                [this, drive, path](const platform::CommandEnd& end) {
                                  CommandEnded(SubstAction::kMap, drive, path, end);
                                });
  if (result.status != platform::LaunchStatus::kStarted) {
    view_.ShowMessage(LaunchFailureMessage(result), MessageKind::kCritical, kMessageTitle);
    return;
  }

  app_.strTargetDrive = drive;
  app_.strTargetPath = path;
  if (const auto listed = RecordMappedPath(app_)) view_.cboLocRes().AddItem(*listed);
  // Once per reason and run: a full disk need not be announced at every Map.
  const platform::WriteResult saved = Save();
  if (!saved && toldSaveFailures_.insert(saved.reason).second) TellSaveFailure(saved);
}

void frmMain::cmdDelRes_Click() {
  const std::wstring drive = view_.cboDrive().Text();
  const auto result =
      services_.launcher.Launch(BuildDeleteCommandLine(drive), platform::WindowShow::kMinimized,
                                [this, drive](const platform::CommandEnd& end) {
                                  CommandEnded(SubstAction::kDelete, drive, {}, end);
                                });
  if (result.status != platform::LaunchStatus::kStarted) {
    view_.ShowMessage(LaunchFailureMessage(result), MessageKind::kCritical, kMessageTitle);
    return;
  }

  view_.cboLocRes().SetText(std::wstring());
  app_.strTargetDrive.clear();
  app_.strTargetPath.clear();
  view_.cboDrive().SetText(std::wstring());
}

// Arrives on the UI thread when a command ends. Each failure gets its own box,
// in the order the commands ended: one that ends while a box is open waits
// for it to close.
void frmMain::CommandEnded(SubstAction action, const std::wstring& drive,
                           const std::wstring& folder, const platform::CommandEnd& end) {
  if (ending_) return;
  auto message = SubstOutcomeMessage(action, drive, folder, end);
  if (!message) return;
  reports_.push_back(std::move(*message));
  if (reporting_) return;
  reporting_ = true;
  while (!reports_.empty() && !ending_) {
    const std::wstring next = std::move(reports_.front());
    reports_.pop_front();
    view_.ShowMessage(next, MessageKind::kWarning, kMessageTitle);
  }
  reporting_ = false;
}

const std::vector<MappingItem>& frmMain::mnuMappings_Open() {
  mappings_ = ReadMappingItems(services_.drives);
  return mappings_;
}

void frmMain::mnuMapping_Click(std::size_t index, bool fromTray) {
  if (index >= mappings_.size() || !mappings_[index].enabled) return;
  // The window comes back already filled.
  view_.cboDrive().SetText(mappings_[index].drive);
  view_.cboLocRes().SetText(mappings_[index].folder);
  if (fromTray) ShowWindowAndRemoveIcon();
}

void frmMain::cmdOpenPath_Click() {
  app_.blnPathMode = kTrue;
  // Not trimmed: a box of blanks still prefills the dialog.
  app_.blnPrefill = ToBool16(!view_.cboLocRes().Text().empty());
  OpenDialog();
}

void frmMain::cmdOpenDrive_Click() {
  // blnPrefill stays as the folder button last left it.
  app_.blnPathMode = kFalse;
  OpenDialog();
}

void frmMain::OpenDialog() {
  if (!openPath_) {
    openPath_ = std::make_unique<frmOpenPath>(app_, view_.cboDrive(), view_.cboLocRes(),
                                              services_.knownFolders, services_.folderScanner);
  }
  view_.ShowOpenPathDialog(*openPath_);
}

void frmMain::mnuDrivesMap_Click() { cmdSubst_Click(); }

void frmMain::mnuDrivesDel_Click() { cmdDelRes_Click(); }

void frmMain::mnuRemoveItem_Click() {
  ICheckMark& mark = view_.mnuRemoveItem();
  if (mark.Checked()) {
    mark.SetChecked(false);
    app_.blnResetRestart = kFalse;
  } else {
    mark.SetChecked(true);
    app_.blnResetRestart = kTrue;
  }
}

void frmMain::mnuSystray_Click() {
  view_.Hide();
  // Without a notification area the window would be gone for good.
  if (!services_.tray.Show(kTrayTip)) view_.Show();
}

void frmMain::TrayIcon_Event(TrayEvent event) {
  switch (event) {
    case TrayEvent::kActivate:
      ShowWindowAndRemoveIcon();
      break;
    case TrayEvent::kMenu:
      view_.PopupMenu(PopupMenuId::mnuBar);
      break;
  }
}

void frmMain::mnuBarShowWindow_Click() { ShowWindowAndRemoveIcon(); }

void frmMain::Form_StartedAgain() { ShowWindowAndRemoveIcon(); }

void frmMain::ShowWindowAndRemoveIcon() {
  view_.Show();
  RemoveTrayIcon();
}

void frmMain::RemoveTrayIcon() { services_.tray.Remove(); }

void frmMain::mnuAbout_Click() {
  view_.ShowMessage(ComposeAboutText(services_.clock.CurrentYear(), services_.version.Version()),
                    MessageKind::kInformation, kAboutTitle);
}

void frmMain::mnuBarAbout_Click() { mnuAbout_Click(); }

void frmMain::mnuEnd_Click() {
  // Ends at once: no reset, no save. Only the icon goes, so that no dead icon
  // lingers in the tray until the mouse passes over it.
  ending_ = true;
  RemoveTrayIcon();
  services_.exit.EndNow();
}

void frmMain::mnuBarEnd_Click() { mnuEnd_Click(); }

void frmMain::Dispatch(CommandId id) {
  switch (id) {
    case CommandId::cmdSubst:
      cmdSubst_Click();
      break;
    case CommandId::cmdDelRes:
      cmdDelRes_Click();
      break;
    case CommandId::cmdOpenPath:
      cmdOpenPath_Click();
      break;
    case CommandId::cmdOpenDrive:
      cmdOpenDrive_Click();
      break;
    case CommandId::mnuDrivesMap:
      mnuDrivesMap_Click();
      break;
    case CommandId::mnuDrivesDel:
      mnuDrivesDel_Click();
      break;
    case CommandId::mnuRemoveItem:
      mnuRemoveItem_Click();
      break;
    case CommandId::mnuSystray:
      mnuSystray_Click();
      break;
    case CommandId::mnuAbout:
      mnuAbout_Click();
      break;
    case CommandId::mnuEnd:
      mnuEnd_Click();
      break;
    case CommandId::mnuBarShowWindow:
      mnuBarShowWindow_Click();
      break;
    case CommandId::mnuBarAbout:
      mnuBarAbout_Click();
      break;
    case CommandId::mnuBarEnd:
      mnuBarEnd_Click();
      break;
    case CommandId::kNone:
      break;
  }
}

}  // namespace tessaro::ui
