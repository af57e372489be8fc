#pragma once

#include <cstdint>
#include <string>

#include "core/Controls.h"
#include "core/modApp.h"

namespace tessaro {

// A slot number from 1 to 6 derived from how many of the six slots are empty
// (it counts the empty ones, not the filled ones). sPath is not read.
std::int16_t fctSaveLastPath(const AppState& app, const std::wstring& sPath);

// Start-up: lists the first three to six slots in the folder box and sets
// intNextPath; lists nothing right after a reset.
void FillRecentList(AppState& app, IComboBox& cboLocRes);

// After a mapping has been launched: lists the path when it is new, stores it
// in the next slot, advances that slot and saves the settings.
void RecordMappedPath(AppState& app, IComboBox& cboLocRes);

}  // namespace tessaro
