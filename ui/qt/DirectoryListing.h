#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaro::ui::qt {

enum class ListWhat { kFolders, kFiles };

// The names of a folder's subfolders or of its other entries, sorted without
// regard to case. Hidden entries (a leading dot) are left out, as the classic
// lists leave hidden files out. nullopt when the folder cannot be read.
std::optional<std::vector<std::string>> ListDirectory(const std::string& folder, ListWhat what);

}  // namespace tessaro::ui::qt
