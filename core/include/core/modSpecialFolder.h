#pragma once

#include <string>

#include "platform/KnownFolders.h"

namespace tessaro {

// The known folder's full path, or the empty text when there is none.
std::wstring fctGetSpecialFolder(platform::IKnownFolders& folders, platform::KnownFolder folder);

}  // namespace tessaro
