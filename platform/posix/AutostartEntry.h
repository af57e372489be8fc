#pragma once

#include <optional>
#include <string>

namespace tessaro::platform {

// The autostart file's text for a program at this absolute path, its Exec
// line quoted by the desktop-entry rules; nothing when the path cannot be
// written into one (a line break in it).
std::optional<std::string> RestoreAutostartEntry(const std::string& program);

}  // namespace tessaro::platform
