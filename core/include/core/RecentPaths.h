#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/modApp.h"

namespace tessaro {

// A slot number from 1 to 6 derived from how many of the six slots are empty
// (it counts the empty ones, not the filled ones). sPath is not read.
std::int16_t fctSaveLastPath(const AppState& app, const std::wstring& sPath);

// Start-up: sets intNextPath and returns the first three to six slots for the
// folder box's list; nothing right after a reset.
std::vector<std::wstring> FillRecentList(AppState& app);

// After a mapping has been launched: stores strTargetPath in the next slot and
// advances that slot. Returns the path when it is new to the listed slots and
// belongs at the end of the folder box's list. Saving is the caller's step.
std::optional<std::wstring> RecordMappedPath(AppState& app);

}  // namespace tessaro
