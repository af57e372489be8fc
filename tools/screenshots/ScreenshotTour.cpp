// Shows the real windows one after another on the current display and saves
// a PNG of each: the main window, its popup menu, the folder dialog and the
// About box. scripts/screenshots-qt.sh runs it under Xvfb in a scratch home.
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>

#include "core/modApp.h"
#include "platform/DriveTable.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/SystemServices.h"
#include "ui/frmMain.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/TrayIconQt.h"

namespace {

using tessaro::ui::qt::MainWindow;

void Settle(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

bool Save(const QRect& area, const QString& file) {
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                    area.width(), area.height());
  const bool saved = shot.save(file, "PNG");
  std::printf("%s %s\n", saved ? "saved" : "FAILED", file.toLocal8Bit().constData());
  return saved;
}

QRect Around(const QRect& area) { return area.adjusted(-8, -8, 8, 8); }

// Photographs the next modal window once it has drawn itself, then lets
// leave close it.
void ShootNextModal(const QString& file, std::function<void(QWidget&)> leave) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, file, leave] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    poll->stop();
    poll->deleteLater();
    Settle(400);
    Save(Around(modal->frameGeometry()), file);
    leave(*modal);
  });
  poll->start(50);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER FOLDER_TO_SHOW\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[1]);

  tessaro::AppState state;
  const auto knownFolders = tessaro::platform::MakeSystemKnownFolders();
  const auto launcher = tessaro::platform::MakeSystemLauncher();
  const auto folderScanner = tessaro::platform::MakeSystemFolderScanner();
  const auto drives = tessaro::platform::MakeSystemDriveTable();
  MainWindow window;
  tessaro::ui::qt::TrayIconQt tray(
      [&window](tessaro::ui::TrayEvent event) { window.TrayIcon_Event(event); });
  tessaro::ui::SystemClock clock;
  tessaro::ui::ImmediateExit exit;
  tessaro::ui::BuildVersion version;
  tessaro::ui::frmMain logic(
      state, window,
      {*knownFolders, *launcher, *folderScanner, tray, clock, exit, version, *drives});
  window.Bind(logic);
  logic.Form_Load();
  window.findChild<QComboBox*>("cboDrive")->setEditText(QStringLiteral("X:"));
  window.findChild<QComboBox*>("cboLocRes")->setEditText(QString::fromLocal8Bit(argv[2]));
  window.move(40, 40);
  window.show();
  Settle(600);

  bool ok = Save(Around(window.frameGeometry()), out + "/linux-main.png");

  const QPoint background(window.width() / 2, window.height() - 6);
  QContextMenuEvent request(QContextMenuEvent::Mouse, background, window.mapToGlobal(background));
  QApplication::sendEvent(&window, &request);
  Settle(400);
  if (QMenu* sub = window.FileMenu()->actions().front()->menu()) {
    window.FileMenu()->setActiveAction(window.FileMenu()->actions().front());
    sub->popup(window.FileMenu()->geometry().topRight());
    Settle(400);
  }
  const QRect menus = window.frameGeometry()
                          .united(window.FileMenu()->geometry())
                          .united(window.FileMenu()->actions().front()->menu()->geometry());
  ok = Save(Around(menus), out + "/linux-menu.png") && ok;
  window.FileMenu()->actions().front()->menu()->hide();
  window.FileMenu()->hide();
  Settle(200);

  ShootNextModal(out + "/linux-dialog.png", [](QWidget& dialog) {
    if (auto* cancel = dialog.findChild<QPushButton*>("CancelButton")) cancel->click();
  });
  window.findChild<QPushButton*>("cmdOpenPath")->click();

  ShootNextModal(out + "/linux-about.png", [](QWidget& box) {
    if (auto* message = qobject_cast<QMessageBox*>(&box)) message->button(QMessageBox::Ok)->click();
  });
  logic.mnuAbout_Click();
  return ok ? 0 : 1;
}
