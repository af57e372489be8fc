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

// An open file descriptor that closes itself.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd();

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();

 private:
  int fd_ = -1;
};

// $XDG_RUNTIME_DIR/tessaro/drives (it lasts until the user logs out, as a
// Windows mapping does); without an absolute XDG_RUNTIME_DIR,
// /tmp/tessaro-<uid>/drives. Creates nothing.
std::string DrivesFolder();

// Opens an existing drives folder once it passed the check every use of it
// makes: the folder and the folder holding it are real directories (not
// links), owned by the user, closed to everyone else. When the folder does not
// exist (no drives yet) the handle is invalid and *error empty; when it is
// refused the handle is invalid and *error says why.
UniqueFd OpenDrivesFolder(const std::string& folder, std::string* error);

// Creates the drives folder and the private folders above it (mode 0700, the
// drives folder sticky), checking each as OpenDrivesFolder does. Returns the open folder, or an
// invalid handle with the reason in *error.
UniqueFd PrepareDrivesFolder(std::string* error);

// The link name of a drive letter: "X:".
std::string DriveLinkName(char letter);

// The drive links in a folder, by letter; a missing folder holds none, and so
// does a folder OpenDrivesFolder refuses (then *error, if given, says why).
// Entries that are not links named "A:" to "Z:" are ignored.
std::vector<DriveLink> ReadDriveLinks(const std::string& folder, std::string* error = nullptr);

}  // namespace tessaro::platform
