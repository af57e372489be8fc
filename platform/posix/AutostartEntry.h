#pragma once

#include <optional>
#include <string>

namespace tessaro::platform {

// The autostart file's text for a program at this absolute path, its Exec
// line quoted by the desktop-entry rules; nothing when the session's
// autostart readers could not run the program from there: a control
// character or bytes that are not UTF-8 make the file invalid, and "%" or "\"
// (valid by the rules) are mangled by the readers in use.
std::optional<std::string> RestoreAutostartEntry(const std::string& program);

}  // namespace tessaro::platform
