#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/modApp.h"
#include "platform/KnownFolders.h"

namespace tessaro {

// The settings file's name in the application-data folder.
inline constexpr std::wstring_view kIniFileName = L"Tessaro.ini";

// The settings file in the given application-data folder, joined with the
// platform's separator (a lone "\Tessaro.ini" when there is no folder).
std::wstring SettingsFilePath(std::wstring_view appDataFolder);

// Finds the application-data folder and the settings file in it, and reads
// the settings: the part of start-up a restore at logon shares.
void LoadSettingsFromAppData(AppState& app, platform::IKnownFolders& folders);

// What the main window shows once loaded.
struct StartupView {
  std::vector<std::wstring> driveItems;  // "A:" to "Z:"
  std::wstring driveText;
  std::wstring folderText;
  std::vector<std::wstring> recentItems;  // listed after the folder text is set
  bool resetChecked = false;
};

// The main window's load sequence: known folders, settings file path,
// settings, then what the two boxes, the recent list and the reset check mark
// show.
StartupView RunStartup(AppState& app, platform::IKnownFolders& folders);

// Forgets the remembered choice when the flag is set; the flag itself stays.
// True when it did, so that the folder box is emptied as well.
bool ResetOnExit(AppState& app, Bool16 flag);

}  // namespace tessaro
