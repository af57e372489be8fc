// tessaro itself, started exactly as main.cpp starts it, with the probe.
#include "ShownProbe.h"
#include "ui/qt/Program.h"

int main(int argc, char** argv) {
  return tessaro::ui::qt::RunProgram(argc, argv, [](QWidget& window) { new ShownProbe(window); });
}
