#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FolderScan.h"

// The drive letters mapped to folders in the user's session, whoever mapped
// them: read fresh on every call, never kept.
namespace tessaro::platform {

struct DriveMapping {
  wchar_t letter = L'A';  // upper case
  std::wstring folder;    // as the system reports it
};

class IDriveTable {
 public:
  virtual ~IDriveTable() = default;
  virtual PathStyle Style() const = 0;
  // Whether two folders are the same by the system's rule (platform::SamePath
  // for the system's own table).
  virtual bool SamePath(std::wstring_view a, std::wstring_view b) const = 0;
  // The mapped letters, in letter order.
  virtual std::vector<DriveMapping> Mappings() = 0;
  virtual bool FolderExists(const std::wstring& folder) = 0;
};

std::unique_ptr<IDriveTable> MakeSystemDriveTable();

}  // namespace tessaro::platform
