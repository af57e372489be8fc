#include <sys/stat.h>

#include "SystemPathRules.h"
#include "platform/DriveTable.h"
#include "platform/posix/DrivesFolder.h"
#include "text/TextCodec.h"

namespace tessaro::platform {
namespace {

// The drive links subst lists, through the same check of the drives folder.
class PosixDriveTable final : public SystemPathRules<IDriveTable> {
 public:
  std::vector<DriveMapping> Mappings() override {
    std::vector<DriveMapping> mappings;
    for (const DriveLink& link : ReadDriveLinks(DrivesFolder())) {
      mappings.push_back({static_cast<wchar_t>(link.letter), text::DecodeFileName(link.target)});
    }
    return mappings;
  }

  bool FolderExists(const std::wstring& folder) override {
    struct stat st {};
    return !folder.empty() && ::stat(text::EncodeFileName(folder).c_str(), &st) == 0 &&
           S_ISDIR(st.st_mode);
  }
};

}  // namespace

std::unique_ptr<IDriveTable> MakeSystemDriveTable() { return std::make_unique<PosixDriveTable>(); }

}  // namespace tessaro::platform
