#include "ui/qt/Program.h"

int main(int argc, char** argv) { return tessaro::ui::qt::RunProgram(argc, argv, {}); }
