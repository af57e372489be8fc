#include "ui/qt/Program.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QSessionManager>

#include <cstdio>
#include <cstdlib>

#include "core/modApp.h"
#include "platform/DriveTable.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/SystemServices.h"
#include "ui/frmMain.h"
#include "ui/qt/GuardedApplication.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/ShutdownSignals.h"
#include "ui/qt/SingleInstance.h"
#include "ui/qt/TrayIconQt.h"
#include "ui/qt/UiPoster.h"

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

// Notes that the close box's unload has begun before it runs, so that a
// signal arriving while it shows a message does not start a second one.
class CloseWatcher final : public QObject {
 public:
  explicit CloseWatcher(bool& closing) : closing_(closing) {}
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Close) closing_ = true;
    return false;
  }

 private:
  bool& closing_;
};

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

  GuardedApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tessaro"));
  QApplication::setDesktopFileName(QStringLiteral("tessaro"));
  QApplication::setWindowIcon(ApplicationIcon());

  // Before anything is shown or loaded: a second start only wakes the first.
  SingleInstance single(InstanceFolder());
  if (single.HandedToRunning()) return 0;

  AppState state;
  const auto knownFolders = platform::MakeSystemKnownFolders();
  const auto folderScanner = platform::MakeSystemFolderScanner();
  const auto drives = platform::MakeSystemDriveTable();
  MainWindow window;
  // A command's end comes back as a queued call on the window.
  const UiPoster poster(window);
  const auto launcher = platform::MakeSystemLauncher(poster.Post());
  TrayIconQt tray([&window](TrayEvent event) { window.TrayIcon_Event(event); });
  SystemClock clock;
  ImmediateExit exit;
  BuildVersion version;
  frmMain logic(state, window,
                {*knownFolders, *launcher, *folderScanner, tray, clock, exit, version, *drives});
  window.Bind(logic);
  single.SetOnStartedAgain([&window] { window.StartedAgain(); });
  app.SetOnError([&window](const std::wstring& message) {
    window.ShowMessage(message, MessageKind::kCritical, L"Tessaro");
  });

  // A signal, the session's end and the close box all leave through the close
  // box's unload, once; "Tessaro beenden" ends at once and never comes here.
  // At logout the desktop either sends SIGTERM or has Qt quit through the
  // session protocol, which ends in aboutToQuit. commitDataRequest is no
  // place for the save: the user may still cancel the logout there. It does
  // mark the session as ending, though, so that no message about a failed
  // save can hold up the logout (after a cancelled logout too: the rare
  // lost message is the lesser harm).
  bool unloaded = false;
  CloseWatcher closeWatcher(unloaded);
  window.installEventFilter(&closeWatcher);
  window.SetOnUnloaded([] { QApplication::quit(); });
  const auto unloadOnce = [&unloaded, &logic] {
    if (unloaded) return;
    unloaded = true;
    logic.Form_Unload(UnloadMode::kSessionEnd);
  };
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                   [&window](QSessionManager& /*manager*/) { window.SetSessionEnding(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, unloadOnce);
  const ShutdownSignals shutdownSignals([&unloadOnce] {
    unloadOnce();
    QApplication::quit();
  });

  logic.Form_Load();
  window.show();
  if (onShown) onShown(window);
  return QApplication::exec();
}

}  // namespace tessaro::ui::qt
