#pragma once

#include <string>
#include <string_view>

#include "platform/Launcher.h"

namespace tessaro {

// "subst X:  C:\Daten". A folder holding a blank, tab or double quote goes in
// as one argument by the Windows quoting rules (after dropping the blanks at
// its very start and end); any other folder text stands as it is.
std::wstring BuildMapCommandLine(std::wstring_view drive, std::wstring_view folder);

// "subst X: /d".
std::wstring BuildDeleteCommandLine(std::wstring_view drive);

// The German message for a command that could not be started at all.
std::wstring LaunchFailureMessage(const platform::LaunchResult& result);

}  // namespace tessaro
