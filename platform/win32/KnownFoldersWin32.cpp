// windows.h first: the shell headers build on it.
#include <windows.h>

#include <shlobj.h>

#include "platform/KnownFolders.h"

namespace tessaro::platform {

namespace {

int Csidl(KnownFolder folder) {
  switch (folder) {
    case KnownFolder::kDocuments:
      return CSIDL_PERSONAL;  // 5
    case KnownFolder::kAppData:
      return CSIDL_APPDATA;  // 26
  }
  return -1;
}

class Win32KnownFolders final : public IKnownFolders {
 public:
  std::wstring Path(KnownFolder folder) override {
    LPITEMIDLIST items = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, Csidl(folder), &items) != S_OK || items == nullptr)
      return {};
    // The wide form: the 8-bit one loses every user name outside the code page.
    wchar_t buffer[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListW(items, buffer);
    CoTaskMemFree(items);
    if (!found) return {};
    buffer[MAX_PATH - 1] = L'\0';
    return std::wstring(buffer);
  }
};

}  // namespace

std::unique_ptr<IKnownFolders> MakeSystemKnownFolders(AppDataCreation /*creation*/) {
  return std::make_unique<Win32KnownFolders>();
}

}  // namespace tessaro::platform
