#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/DrivesFolder.h"

// Drive letters on a system without them: the root file system is c:, and
// every drive mapped by subst is its letter with the link's folder.
namespace tessaro::ui::qt {

struct DriveEntry {
  wchar_t letter = L'c';  // lower case
  std::wstring folder;    // "/" for c:, the mapped folder for the others
  std::wstring text;      // "c:", "x: [/home/anna/Daten]"
};

// True when path is folder itself or lies below it (whole path components
// only: /home/anna/Daten2 is not below /home/anna/Daten).
bool FolderHolds(std::wstring_view folder, std::wstring_view path);

class DriveTable {
 public:
  // c: first, then the links in letter order; a link named C: or with a
  // relative target is left out.
  static DriveTable FromLinks(const std::vector<platform::DriveLink>& links);
  static DriveTable FromSystem();

  const std::vector<DriveEntry>& Drives() const { return drives_; }

  // The drive a setter's text names: a text starting with "/" belongs to the
  // drive whose folder holds it (the longest match), else to c:; any other
  // text names the drive of its first character. -1 when there is none.
  int IndexForText(std::wstring_view text) const;

  // The drive whose folder holds an absolute path, c: when no other does.
  int IndexHoldingPath(std::wstring_view path) const;

 private:
  std::vector<DriveEntry> drives_;
};

}  // namespace tessaro::ui::qt
