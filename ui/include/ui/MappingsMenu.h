#pragma once

#include <string>
#include <vector>

#include "platform/DriveTable.h"

namespace tessaro::ui {

// One item of the mappings list below "Map" and "Delete": its menu text
// (ampersands doubled, as both platforms' menus want them), and what choosing
// it puts into the boxes. A disabled item stands alone for "no mappings".
struct MappingItem {
  std::wstring caption;
  std::wstring drive;
  std::wstring folder;
  bool enabled = true;
};

inline constexpr const wchar_t* kNoMappings = L"(keine)";
inline constexpr const wchar_t* kFolderMissing = L" (Ordner fehlt)";
inline constexpr std::size_t kMaxShownFolder = 80;

// The drive table read now, one item per mapped letter in letter order.
std::vector<MappingItem> ReadMappingItems(platform::IDriveTable& drives);

// A folder for a menu: at most kMaxShownFolder characters, the middle given
// up for "..." when it is longer.
std::wstring ShortenMiddle(const std::wstring& folder);

}  // namespace tessaro::ui
