#pragma once

#include <QWidget>

#include <vector>

class QComboBox;
class QPushButton;

namespace tessaro::ui::qt {

// frmMain's window as it shows itself: the frame (title, icon, fixed size) and
// the layout's widgets in the layout's tab order. The program's main window is
// made here, and so is the start-up bench's floor, which is therefore the
// program's window by construction. Nothing of the program: no menus,
// signals, event filters or accessible names.
struct MainWidgets {
  QComboBox* cboDrive = nullptr;
  QComboBox* cboLocRes = nullptr;
  std::vector<QPushButton*> buttons;  // in the layout's order
};

// The window flags that window must have been made with: FixedWindowFlags of
// a window with a minimize box.
MainWidgets BuildMainWidgets(QWidget& window);

}  // namespace tessaro::ui::qt
