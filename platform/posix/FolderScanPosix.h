#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FolderScan.h"
#include "platform/posix/DrivesFolder.h"

namespace tessaro::platform {

// c: for the root file system, then every mapped drive with its folder; a
// link named C: or with a relative target is left out.
std::vector<DriveRoot> DriveRootsFromLinks(const std::vector<DriveLink>& links);

// A folder's entries as byte names: hidden ones (a leading dot) left out,
// links counted as what they point to, each list sorted without regard to
// ASCII case. nullopt when the folder cannot be opened.
struct ByteContents {
  std::vector<std::string> folders;
  std::vector<std::string> files;
};
std::optional<ByteContents> ScanFolderBytes(const std::string& folder);

}  // namespace tessaro::platform
