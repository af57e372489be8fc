#pragma once

#include <string>

#include "platform/Launcher.h"

namespace tessaro::ui {

// The German message for a command that could not be started at all.
std::wstring LaunchFailureMessage(const platform::LaunchResult& result);

}  // namespace tessaro::ui
