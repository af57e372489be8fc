// windows.h first: the shell headers build on it.
#include <windows.h>

#include <shlobj.h>

#include "platform/KnownFolders.h"

namespace tessaro::platform {

namespace {

const KNOWNFOLDERID& FolderId(KnownFolder folder) {
  switch (folder) {
    case KnownFolder::kDocuments:
      return FOLDERID_Documents;
    case KnownFolder::kAppData:
      break;
  }
  return FOLDERID_RoamingAppData;
}

class Win32KnownFolders final : public IKnownFolders {
 public:
  std::wstring Path(KnownFolder folder) override {
    // No length limit, unlike the MAX_PATH buffer of the older calls.
    PWSTR path = nullptr;
    const HRESULT found = SHGetKnownFolderPath(FolderId(folder), KF_FLAG_DEFAULT, nullptr, &path);
    std::wstring result = SUCCEEDED(found) && path != nullptr ? std::wstring(path) : std::wstring();
    CoTaskMemFree(path);
    return result;
  }
};

}  // namespace

std::unique_ptr<IKnownFolders> MakeSystemKnownFolders() {
  return std::make_unique<Win32KnownFolders>();
}

}  // namespace tessaro::platform
