// subst for Linux: the Windows command's syntax and messages, with a drive
// being a symbolic link "X:" in the per-user drives folder.
//
//   subst                 lists the drives:  X:\: => /home/anna/Daten
//   subst X: PATH         maps X: to PATH
//   subst X: /d           removes X:
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/DrivesFolder.h"

namespace {

using tessaro::platform::DriveLinkName;
using tessaro::platform::DrivesFolder;
using tessaro::platform::PrepareDrivesFolder;
using tessaro::platform::ReadDriveLinks;

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
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

bool IsLink(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
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
  for (const auto& link : ReadDriveLinks(DrivesFolder())) {
    std::printf("%c:\\: => %s\n", link.letter, link.target.c_str());
  }
  return 0;
}

int Map(const std::string& driveText, char letter, const std::string& path) {
  const std::string linkPath = DrivesFolder() + "/" + DriveLinkName(letter);
  if (IsLink(linkPath)) return Fail("Drive already SUBSTed");

  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    return Fail("Path not found - " + path);
  }
  std::string error;
  const std::string folder = PrepareDrivesFolder(&error);
  if (folder.empty()) return Fail("Cannot prepare the drives folder - " + error);

  if (::symlink(AbsoluteFolder(path).c_str(), (folder + "/" + DriveLinkName(letter)).c_str()) !=
      0) {
    if (errno == EEXIST) return Fail("Drive already SUBSTed");
    return Fail("Invalid parameter - " + driveText);
  }
  return 0;
}

int Remove(const std::string& driveText, char letter) {
  const std::string linkPath = DrivesFolder() + "/" + DriveLinkName(letter);
  if (!IsLink(linkPath) || ::unlink(linkPath.c_str()) != 0) {
    return Fail("Invalid parameter - " + driveText);
  }
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
