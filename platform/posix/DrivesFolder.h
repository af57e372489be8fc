#pragma once

#include <string>
#include <vector>

// Where the Linux subst keeps its drive letters: one symbolic link per drive,
// named "X:", pointing at the folder. subst writes the links and the folder
// dialog reads them, so both ask this one place where they are.
namespace tessaro::platform {

struct DriveLink {
  char letter = 'A';   // upper case, 'A' to 'Z'
  std::string target;  // the folder, as the link holds it
};

// $XDG_RUNTIME_DIR/tessaro/drives (it lasts until the user logs out, as a
// Windows mapping does); without an absolute XDG_RUNTIME_DIR,
// /tmp/tessaro-<uid>/drives. Creates nothing.
std::string DrivesFolder();

// Creates the drives folder and the private folders above it (mode 0700) and
// checks that each is a real directory owned by the user with no access for
// others. Returns the folder, or the empty text with the reason in *error.
std::string PrepareDrivesFolder(std::string* error);

// The link name of a drive letter: "X:".
std::string DriveLinkName(char letter);

// The drive links in a folder, by letter; a missing folder holds none.
// Entries that are not links named "A:" to "Z:" are ignored.
std::vector<DriveLink> ReadDriveLinks(const std::string& folder);

}  // namespace tessaro::platform
