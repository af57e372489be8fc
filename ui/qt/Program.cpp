#include "ui/qt/Program.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

#include "core/modApp.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/SystemServicesQt.h"
#include "ui/qt/TrayIconQt.h"

namespace tessaro::ui::qt {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/assets/app-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace

bool HasDisplay() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

int RunProgram(int argc, char** argv, const std::function<void(QWidget&)>& onShown) {
  // Qt would abort with a core dump; say what is missing instead.
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "Tessaro needs a graphical desktop, but neither DISPLAY nor WAYLAND_DISPLAY is "
                 "set.\nTo run it without one, start it under a virtual display:\n"
                 "  xvfb-run -a %s\n",
                 argc > 0 ? argv[0] : "tessaro");
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tessaro"));
  QApplication::setDesktopFileName(QStringLiteral("tessaro"));
  QApplication::setWindowIcon(ApplicationIcon());

  AppState state;
  const auto knownFolders = platform::MakeSystemKnownFolders();
  const auto launcher = platform::MakeSystemLauncher();
  MainWindow window;
  TrayIconQt tray([&window](TrayEvent event) { window.TrayIcon_Event(event); });
  SystemClock clock;
  ImmediateExit exit;
  BuildVersion version;
  frmMain logic(state, window, {*knownFolders, *launcher, tray, clock, exit, version});
  window.Bind(logic);
  window.SetOnUnloaded([] { QApplication::quit(); });

  logic.Form_Load();
  window.show();
  if (onShown) onShown(window);
  return QApplication::exec();
}

}  // namespace tessaro::ui::qt
