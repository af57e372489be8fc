#pragma once

#include "core/Controls.h"
#include "core/modApp.h"
#include "core/ProfileFile.h"
#include "platform/KnownFolders.h"

namespace tessaro {

// The settings file's name, joined to the application-data folder with the
// platform's separator.
extern const wchar_t* const kIniFileSuffix;

struct MainControls {
  IComboBox& cboDrive;
  IComboBox& cboLocRes;
  ICheckMark& mnuRemoveItem;
};

// The main window's load sequence: known folders, settings file path,
// settings, the two boxes, the recent list and the reset check mark.
void RunStartup(AppState& app, platform::IKnownFolders& folders, const MainControls& controls);

// Forgets the remembered choice when the flag is set; the flag itself stays.
void ResetOnExit(AppState& app, IComboBox& cboLocRes, const Bool16& flag);

// The main window's unload sequence after the tray icon is gone: the reset
// when its flag is set, then one save of the whole state.
void RunShutdown(AppState& app, IComboBox& cboLocRes);

}  // namespace tessaro
