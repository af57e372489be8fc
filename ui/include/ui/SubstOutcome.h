#pragma once

#include <optional>
#include <string>

#include "platform/Launcher.h"

namespace tessaro::ui {

enum class SubstAction { kMap, kDelete };

// What the user is told when a Map or Delete command has ended: nothing for
// exit code 0, otherwise the German message naming the drive (and for a Map
// the folder) as they went into the command line, with subst's own words.
std::optional<std::wstring> SubstOutcomeMessage(SubstAction action, std::wstring_view drive,
                                                std::wstring_view folder,
                                                const platform::CommandEnd& end);

// A command's output for one message: blanks and line ends around it dropped,
// control characters escaped, cut after kMaxShownOutput characters.
std::wstring ShownOutput(std::wstring_view output);

inline constexpr std::size_t kMaxShownOutput = 400;

}  // namespace tessaro::ui
