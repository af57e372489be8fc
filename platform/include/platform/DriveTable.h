#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/PathRules.h"

// The drive letters mapped to folders in the user's session, whoever mapped
// them: read fresh on every call, never kept.
namespace tessaro::platform {

struct DriveMapping {
  wchar_t letter = L'A';  // upper case
  std::wstring folder;    // as the system reports it
};

class IDriveTable : public IPathRules {
 public:
  // The mapped letters, in letter order.
  virtual std::vector<DriveMapping> Mappings() = 0;
  virtual bool FolderExists(const std::wstring& folder) = 0;
};

std::unique_ptr<IDriveTable> MakeSystemDriveTable();

}  // namespace tessaro::platform
