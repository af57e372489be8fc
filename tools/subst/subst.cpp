// subst for Linux: the Windows command's syntax and messages, with a drive
// being a symbolic link "X:" in the per-user drives folder.
//
//   subst                 lists the drives:  X:\: => /home/anna/Daten
//   subst X: PATH         maps X: to PATH
//   subst X: /d           removes X:
//
// A mapped drive also shows in the file managers' sidebars (SidebarBookmarks.h).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/DrivesFolder.h"
#include "platform/posix/SidebarBookmarks.h"
#include "text/TextCodec.h"

namespace {

using tessaro::platform::AddToSidebars;
using tessaro::platform::DriveLinkName;
using tessaro::platform::DrivesFolder;
using tessaro::platform::OpenDrivesFolder;
using tessaro::platform::PrepareDrivesFolder;
using tessaro::platform::ReadDriveLinks;
using tessaro::platform::RemoveFromSidebars;
using tessaro::platform::UniqueFd;
using tessaro::text::EscapeBytes;
using tessaro::text::Verbatim;

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

// A sidebar entry that could not be written is reported, never a failure:
// the drive itself is mapped or removed all the same.
void Report(const std::vector<std::string>& skipped) {
  for (const auto& line : skipped) std::fprintf(stderr, "%s\n", line.c_str());
}

// Two subst runs at once must not lose each other's sidebar entries.
void LockFolder(const UniqueFd& folder) {
  if (!folder.valid()) return;
  while (::flock(folder.get(), LOCK_EX) != 0 && errno == EINTR) {
  }
}

// "X:" in either case; C: stays the root file system's letter.
bool ParseDrive(const std::string& text, char* letter) {
  if (text.size() != 2 || text[1] != ':') return false;
  char c = text[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c < 'A' || c > 'Z' || c == 'C') return false;
  *letter = c;
  return true;
}

bool IsLinkAt(int folder, const std::string& name) {
  struct stat st {};
  return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

// The same words for every use of a drives folder that fails the check.
int RefuseFolder(const std::string& error) {
  return Fail("Cannot prepare the drives folder - " + error);
}

// An absolute, tidied path: "." and ".." resolved by text, no trailing slash.
std::string AbsoluteFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  if (ec) return path;
  std::string text = absolute.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

int List() {
  std::string error;
  const auto links = ReadDriveLinks(DrivesFolder(), &error);
  if (!error.empty()) return RefuseFolder(error);
  for (const auto& link : links) {
    // One line per drive, however odd the folder's name.
    std::printf("%c:\\: => %s\n", link.letter,
                EscapeBytes(link.target, Verbatim::kAllButControls).c_str());
  }
  return 0;
}

int Map(const std::string& driveText, char letter, const std::string& path) {
  const std::string name = DriveLinkName(letter);
  std::string error;
  const UniqueFd existing = OpenDrivesFolder(DrivesFolder(), &error);
  if (!error.empty()) return RefuseFolder(error);
  if (existing.valid() && IsLinkAt(existing.get(), name)) return Fail("Drive already SUBSTed");

  struct stat st {};
  if (!path.empty() && ::stat(path.c_str(), &st) != 0 && errno == ENAMETOOLONG) {
    return Fail("Path too long - " + path);
  }
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return Fail("Path not found - " + path);
  }
  const UniqueFd folder = PrepareDrivesFolder(&error);
  if (!folder.valid()) return RefuseFolder(error);

  const std::string target = AbsoluteFolder(path);
  if (::symlinkat(target.c_str(), folder.get(), name.c_str()) != 0) {
    if (errno == EEXIST) return Fail("Drive already SUBSTed");
    if (errno == ENAMETOOLONG) return Fail("Path too long - " + path);
    return Fail("Cannot create drive " + driveText + " - " + std::strerror(errno));
  }
  LockFolder(folder);
  Report(AddToSidebars(DrivesFolder(), letter, target));
  return 0;
}

int Remove(const std::string& driveText, char letter) {
  const std::string name = DriveLinkName(letter);
  std::string error;
  const UniqueFd folder = OpenDrivesFolder(DrivesFolder(), &error);
  if (!error.empty()) return RefuseFolder(error);
  const bool removed = folder.valid() && IsLinkAt(folder.get(), name) &&
                       ::unlinkat(folder.get(), name.c_str(), 0) == 0;
  // A sidebar entry outlives the link when the session ended; it goes too.
  LockFolder(folder);
  Report(RemoveFromSidebars(DrivesFolder(), letter));
  if (!removed) return Fail("Invalid parameter - " + driveText);
  return 0;
}

int Usage() {
  std::printf(
      "Associates a path with a drive letter.\n\n"
      "SUBST [drive1: [drive2:]path]\nSUBST drive1: /D\n\n"
      "  drive1:        Specifies a virtual drive to which you want to assign a path.\n"
      "  [drive2:]path  Specifies a physical drive and path you want to assign to\n"
      "                 a virtual drive.\n"
      "  /D             Deletes a substituted (virtual) drive.\n\n"
      "Type SUBST with no parameters to display a list of current virtual drives.\n"
      "The drives are links in %s.\n",
      DrivesFolder().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return List();
  if (args[0] == "/?") return Usage();
  if (args.size() == 1) return Fail("Incorrect number of parameters - " + args[0]);
  if (args.size() > 2) return Fail("Incorrect number of parameters - " + args[2]);

  char letter = 0;
  if (!ParseDrive(args[0], &letter)) return Fail("Invalid parameter - " + args[0]);
  if (args[1] == "/d" || args[1] == "/D") return Remove(args[0], letter);
  return Map(args[0], letter, args[1]);
}
