#pragma once

#include <functional>

class QWidget;

namespace tessaro::ui::qt {

// True when Qt has somewhere to draw: a display, or a platform chosen by hand
// (QT_QPA_PLATFORM, for instance offscreen).
bool HasDisplay();

// The composition root: the real services, the main window and its logic,
// then the event loop. onShown (may be empty) sees the main window right
// after it was first shown; the start-up benchmark hooks in there.
int RunProgram(int argc, char** argv, const std::function<void(QWidget&)>& onShown);

}  // namespace tessaro::ui::qt
