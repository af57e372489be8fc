#include "core/Startup.h"

#include "core/RecentPaths.h"
#include "core/modIniAccess.h"
#include "core/modSpecialFolder.h"

namespace tessaro {

#ifdef _WIN32
const wchar_t* const kIniFileSuffix = L"\\Tessaro.ini";
#else
const wchar_t* const kIniFileSuffix = L"/Tessaro.ini";
#endif

void RunStartup(AppState& app, platform::IKnownFolders& folders, const MainControls& controls) {
  // The documents folder is only a placeholder: the settings replace it
  // below even when they hold no target path.
  app.strTargetPath = fctGetSpecialFolder(folders, platform::kCsidlPersonal);
  app.strAppData = fctGetSpecialFolder(folders, platform::kCsidlAppData);
  app.strIniFile = app.strAppData + kIniFileSuffix;
  app.intNextPath = 0;
  app.blnPathMode = kTrue;

  LoadSettings(app);

  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    controls.cboDrive.AddItem(std::wstring{letter, L':'});
    controls.cboDrive.SetText(app.strTargetDrive);
  }
  if (controls.cboDrive.Text().empty()) controls.cboDrive.SetText(app.strTargetDrive + L":");

  controls.cboLocRes.SetText(app.strTargetPath);
  if (controls.cboLocRes.Text().empty()) controls.cboLocRes.SetText(app.arrLastPath[0]);

  FillRecentList(app, controls.cboLocRes);

  controls.mnuRemoveItem.SetChecked(app.blnResetRestart == kTrue);
}

void ResetOnExit(AppState& app, IComboBox& cboLocRes, const Bool16& flag) {
  if (flag == kFalse) return;
  cboLocRes.SetText(std::wstring());
  for (auto& slot : app.arrLastPath) slot.clear();
  app.intNextPath = 0;
  app.strTargetPath.clear();
  app.strTargetDrive.clear();
}

void RunShutdown(AppState& app, IComboBox& cboLocRes) {
  ResetOnExit(app, cboLocRes, app.blnResetRestart);
  SaveSettings(app);
}

}  // namespace tessaro
