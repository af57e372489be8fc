#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PathRules.h"

// What the folder dialog needs to know of the file system: the drives, the
// process's current directory and one folder's entries at a time.
namespace tessaro::platform {

// A drive as the system offers it: the folder it stands for ("C:\" on
// Windows, "/" or a mapped folder elsewhere) and the detail the drive list
// shows in brackets (a volume label or a mapped folder; may be empty).
struct DriveRoot {
  wchar_t letter = L'c';  // lower case
  std::wstring folder;
  std::wstring detail;
};

// One folder's visible subfolders and other entries, each sorted as the
// platform's own lists sort them; hidden entries are left out.
struct FolderContents {
  std::vector<std::wstring> folders;
  std::vector<std::wstring> files;
};

class IFolderScanner : public IPathRules {
 public:
  // The drives, in letter order.
  virtual std::vector<DriveRoot> Drives() = 0;
  // False for a drive that cannot be opened now (a removable drive without
  // medium).
  virtual bool DriveReady(const DriveRoot& drive) = 0;
  virtual std::wstring CurrentDirectory() = 0;
  // The absolute form of a path the user may have typed, not yet tidied; a
  // bare drive ("x:") gives that drive's current directory where the system
  // keeps one. The empty text when there is no such form.
  virtual std::wstring FullPath(const std::wstring& text) = 0;
  // nullopt when the folder cannot be read or is no folder.
  virtual std::optional<FolderContents> Scan(const std::wstring& folder) = 0;
};

std::unique_ptr<IFolderScanner> MakeSystemFolderScanner();

}  // namespace tessaro::platform
