#include "core/Startup.h"

#include "core/RecentPaths.h"
#include "core/modIniAccess.h"
#include "core/modSpecialFolder.h"
#include "platform/Conventions.h"

namespace tessaro {

std::wstring SettingsFilePath(std::wstring_view appDataFolder) {
  std::wstring path(appDataFolder);
  path += platform::PathSeparator();
  path += kIniFileName;
  return path;
}

void LoadSettingsFromAppData(AppState& app, platform::IKnownFolders& folders) {
  app.strAppData = fctGetSpecialFolder(folders, platform::KnownFolder::kAppData);
  app.strIniFile = SettingsFilePath(app.strAppData);
  LoadSettings(app);
}

StartupView RunStartup(AppState& app, platform::IKnownFolders& folders) {
  // The documents folder is only a placeholder: the settings replace it
  // below even when they hold no target path.
  app.strTargetPath = fctGetSpecialFolder(folders, platform::KnownFolder::kDocuments);
  app.intNextPath = 0;
  app.blnPathMode = kTrue;
  LoadSettingsFromAppData(app, folders);

  StartupView view;
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    view.driveItems.push_back(std::wstring{letter, L':'});
  }
  // An empty drive shows as a lone colon, an empty path as the first slot.
  view.driveText = app.strTargetDrive.empty() ? app.strTargetDrive + L":" : app.strTargetDrive;
  view.folderText = app.strTargetPath.empty() ? app.arrLastPath[0] : app.strTargetPath;
  view.recentItems = FillRecentList(app);
  view.resetChecked = app.blnResetRestart == kTrue;
  return view;
}

bool ResetOnExit(AppState& app, Bool16 flag) {
  if (flag == kFalse) return false;
  for (auto& slot : app.arrLastPath) slot.clear();
  app.intNextPath = 0;
  app.strTargetPath.clear();
  app.strTargetDrive.clear();
  return true;
}

}  // namespace tessaro
