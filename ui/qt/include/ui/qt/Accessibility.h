#pragma once

class QAbstractButton;
class QEvent;
class QMessageBox;
class QWidget;

namespace tessaro::ui::qt {

// Names the controls of a window from the table in ui/Accessibility.h: a box
// by its label (the label's buddy), a "..." button by a name of its own.
void NameControls(QWidget& window);

// A top-level window is exposed as a window, not as an anonymous filler.
void ExposeAsWindow(QWidget& window);

// Enter on the focused button presses it, as Space does; the button still is
// no default button, so Enter elsewhere presses nothing.
void PressOnEnter(QAbstractButton& button);

// Whether an event asks for the window's popup menu from the keyboard: the
// context-menu key (as a key or as the context request it turns into) or
// Shift+F10, which Qt leaves alone.
bool IsKeyboardMenuRequest(const QEvent& event);

// What a screen reader reads of the message gets line breaks instead of the
// lone CRs the text is made of; the box shows the same lines as before.
void NameMessageText(QMessageBox& box);

}  // namespace tessaro::ui::qt
