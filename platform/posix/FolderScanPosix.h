#pragma once

#include <string>
#include <vector>

#include "platform/FolderScan.h"
#include "platform/posix/DrivesFolder.h"

namespace tessaro::platform {

// c: for the root file system, then every mapped drive with its folder; a
// link named C: or with a relative target is left out.
std::vector<DriveRoot> DriveRootsFromLinks(const std::vector<DriveLink>& links);

}  // namespace tessaro::platform
