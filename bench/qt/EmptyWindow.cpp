// The yardstick: an empty fixed-size Qt window, nothing else.
#include <QApplication>
#include <QWidget>

#include "ShownProbe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Leer"));
  window.setFixedSize(345, 202);
  window.show();
  new ShownProbe(window);
  return QApplication::exec();
}
