#include <QApplication>

#include "ui/qt/GuardedApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // CTest lists the cases without the test environment: no Qt for that.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The program's own application object, as the program has it.
  tessaro::ui::qt::GuardedApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
