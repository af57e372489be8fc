#include "core/modSpecialFolder.h"

namespace tessaro {

std::wstring fctGetSpecialFolder(platform::IKnownFolders& folders, platform::KnownFolder folder) {
  std::wstring path = folders.Path(folder);
  // The platform hands back a buffer; only what stands before a NUL is a path.
  if (const auto nul = path.find(L'\0'); nul != std::wstring::npos) path.resize(nul);
  return path;
}

}  // namespace tessaro
