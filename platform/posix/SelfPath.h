#pragma once

#include <string>

namespace tessaro::platform {

// The running program's absolute path, or the empty text when the system
// will not tell it.
std::string SelfPath();

}  // namespace tessaro::platform
