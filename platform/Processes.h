#pragma once

#include <chrono>
#include <string>

#include "platform/CommandRunner.h"
#include "platform/Launcher.h"

// How each system starts a process, with its arguments never given to a shell
// and the program found the way Windows finds it; Launcher.cpp builds the
// launcher and the command runner on these. Private to the platform library.
namespace tessaro::platform {

// Starts the command and lets it run; nothing is waited for or kept.
LaunchResult StartDetached(const std::wstring& commandLine, WindowShow show);

// Starts the command with its output kept; ended runs on a thread of the
// launcher's own once the command ended within watch, and never otherwise.
LaunchResult StartWatched(const std::wstring& commandLine, WindowShow show,
                          std::chrono::milliseconds watch, CommandEnded ended);

// Runs the command to its end without a window or a console.
RunResult RunToEnd(const std::wstring& commandLine);

}  // namespace tessaro::platform
