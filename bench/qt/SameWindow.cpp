// The start-up floor of tessaro's window: the main window made by the very
// code that makes the program's (frame, widgets, pictures, fonts), with the
// drive list filled, but none of the program around it (no settings, menus,
// tray, accessibility or signals). What tessaro takes beyond this is the
// program's own start-up work.
#include <QApplication>
#include <QComboBox>

#include "ShownProbe.h"
#include "ui/qt/Geometry.h"
#include "ui/qt/MainWidgets.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window(nullptr, tessaro::ui::qt::FixedWindowFlags(Qt::Window, true));
  const auto widgets = tessaro::ui::qt::BuildMainWidgets(window);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    widgets.cboDrive->addItem(QString(QChar::fromLatin1(letter)) + QLatin1Char(':'));
  }
  widgets.cboDrive->setFocus();
  window.show();
  new ShownProbe(window);
  return QApplication::exec();
}
