#include "ui/qt/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/AccessKeys.h"
#include "ui/Layout.h"
#include "ui/qt/Accessibility.h"
#include "ui/qt/Geometry.h"
#include "ui/qt/MainWidgets.h"
#include "ui/qt/MenuBuilder.h"
#include "ui/qt/OpenPathDialog.h"
#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {
namespace {

QMessageBox::Icon MessageIcon(MessageKind kind) {
  switch (kind) {
    case MessageKind::kInformation:
      return QMessageBox::Information;
    case MessageKind::kWarning:
      return QMessageBox::Warning;
    case MessageKind::kCritical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MainWindow::MainWindow() : QWidget(nullptr, FixedWindowFlags(Qt::Window, true)) {
  BuildControls();
  ExposeAsWindow(*this);
  BuildMenus();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildControls() {
  const MainWidgets widgets = BuildMainWidgets(*this);
  for (QComboBox* box : {widgets.cboDrive, widgets.cboLocRes}) {
    // The keyboard's menu requests reach the box's line edit first.
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
  }
  cboDriveAdapter_ = std::make_unique<ComboBoxAdapter>(*widgets.cboDrive);
  cboLocResAdapter_ = std::make_unique<ComboBoxAdapter>(*widgets.cboLocRes);
  for (QPushButton* button : widgets.buttons) {
    PressOnEnter(*button);
    button->installEventFilter(this);
  }

  const auto button = [this](const char* name) { return findChild<QPushButton*>(name); };
  const std::pair<const char*, CommandId> commands[] = {
      {"cmdSubst", CommandId::cmdSubst},
      {"cmdDelRes", CommandId::cmdDelRes},
      {"cmdOpenPath", CommandId::cmdOpenPath},
      {"cmdOpenDrive", CommandId::cmdOpenDrive},
  };
  for (const auto& [name, id] : commands) {
    connect(button(name), &QPushButton::clicked, this, [this, id = id] { Dispatch(id); });
  }
  NameControls(*this);

  // The controls were made in the layout's tab order, which is the keyboard
  // cycle; labels and the image take no focus.
  findChild<QComboBox*>(QStringLiteral("cboDrive"))->setFocus();
}

void MainWindow::BuildMenus() {
  const auto dispatch = [this](CommandId id) { Dispatch(id); };
  // Parented, so that the desktop places the menus by the window.
  fileMenu_ = std::make_unique<QMenu>(this);
  fileMenu_->setObjectName(QStringLiteral("mnuFile"));
  fileMenu_->setTitle(QStringLiteral("Datei"));
  actions_ = BuildMenu(*fileMenu_, kFileMenu, dispatch);
  trayMenu_ = std::make_unique<QMenu>(this);
  trayMenu_->setObjectName(QStringLiteral("mnuBar"));
  trayMenu_->setTitle(QStringLiteral("Systray"));
  auto trayActions = BuildMenu(*trayMenu_, kTrayMenu, dispatch);
  // The mappings are read each time "Local Mappings" opens, never kept.
  fileMappings_ = qobject_cast<QMenu*>(actions_.at(CommandId::mnuDrivesMap)->parent());
  trayMappings_ = qobject_cast<QMenu*>(trayActions.at(CommandId::mnuDrivesMap)->parent());
  for (QMenu* submenu : {fileMappings_, trayMappings_}) {
    const bool fromTray = submenu == trayMappings_;
    connect(submenu, &QMenu::aboutToShow, this,
            [this, submenu, fromTray] { FillMappings(*submenu, fromTray); });
  }
  actions_.merge(trayActions);
  checkMark_ = std::make_unique<CheckMarkAdapter>(*actions_.at(CommandId::mnuRemoveItem));
}

QAction* MainWindow::Action(CommandId id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::FillMappings(QMenu& submenu, bool fromTray) {
  // "Map" and "Delete" stay; everything after them is the last list.
  const QList<QAction*> shown = submenu.actions();
  for (qsizetype i = 2; i < shown.size(); ++i) {
    submenu.removeAction(shown[i]);
    shown[i]->deleteLater();
  }
  if (logic_ == nullptr) return;
  submenu.addSeparator();
  const auto& items = logic_->mnuMappings_Open();
  for (std::size_t i = 0; i < items.size(); ++i) {
    QAction* item = submenu.addAction(ToQString(items[i].caption));
    item->setEnabled(items[i].enabled);
    connect(item, &QAction::triggered, this, [this, i, fromTray] {
      if (logic_ != nullptr) logic_->mnuMapping_Click(i, fromTray);
    });
  }
}

void MainWindow::Dispatch(CommandId id) {
  if (logic_ != nullptr) logic_->Dispatch(id);
}

void MainWindow::TrayIcon_Event(ui::TrayEvent event) {
  if (logic_ != nullptr) logic_->TrayIcon_Event(event);
}

void MainWindow::StartedAgain() {
  if (logic_ == nullptr) return;
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  logic_->Form_StartedAgain();
  BringToFront();
}

void MainWindow::Hide() {
  // Hidden in the tray the program has no window, yet must keep running when
  // a message box opened from the tray closes.
  QApplication::setQuitOnLastWindowClosed(false);
  hide();
}

void MainWindow::Show() {
  show();
  QApplication::setQuitOnLastWindowClosed(true);
}

void MainWindow::BringToFront() {
  if (!isVisible()) return;
  raise();
  activateWindow();
}

void MainWindow::PopupMenu(PopupMenuId menu) {
  if (menu == PopupMenuId::mnuBar) {
    BringToFront();
    trayMenu_->popup(QCursor::pos());
    return;
  }
  fileMenu_->popup(popupAt_.value_or(QCursor::pos()));
  popupAt_.reset();
}

void MainWindow::ShowOpenPathDialog(frmOpenPath& dialog) {
  OpenPathDialog window(dialog, this);
  window.Run();
}

void MainWindow::ShowMessage(const std::wstring& text, MessageKind kind,
                             const std::wstring& title) {
  // A message box keeps the lone CRs of the text as line breaks.
  QMessageBox box(MessageIcon(kind), ToQString(title), ToQString(text), QMessageBox::Ok,
                  isVisible() ? this : nullptr);
  box.setObjectName(QStringLiteral("MessageBox"));
  NameMessageText(box);
  box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (logic_ != nullptr)
    logic_->Form_Unload(sessionEnding_ ? UnloadMode::kSessionEnd : UnloadMode::kUser);
  if (onUnloaded_) onUnloaded_();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    OpenFileMenuFromKeyboard();
    return;
  }
  if (logic_ == nullptr || childAt(event->pos()) != nullptr) return;
  popupAt_ = event->globalPos();
  logic_->Form_MouseUp(MouseButton::kRight);
}

void MainWindow::mouseReleaseEvent(QMouseEvent* event) {
  // The right button is the context request above; the others are passed on
  // for completeness and do nothing.
  const QPoint at = event->position().toPoint();
  if (logic_ == nullptr || childAt(at) != nullptr) return;
  if (event->button() == Qt::LeftButton) logic_->Form_MouseUp(MouseButton::kLeft);
  if (event->button() == Qt::MiddleButton) logic_->Form_MouseUp(MouseButton::kMiddle);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // The focused control sees the keys first; the context-menu key, Shift+F10
  // and a keyboard context request open the window's menu instead of the line
  // edit's own one.
  if (IsKeyboardMenuRequest(*event)) {
    OpenFileMenuFromKeyboard();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::OpenFileMenuFromKeyboard() {
  if (logic_ == nullptr) return;
  // At the focused control, as the keyboard has no pointer position.
  QWidget* control = QApplication::focusWidget();
  while (control != nullptr && control->parentWidget() != this) control = control->parentWidget();
  popupAt_ = control != nullptr ? control->mapToGlobal(control->rect().center())
                                : mapToGlobal(QPoint(0, 0));
  logic_->Form_MenuKey();
}

}  // namespace tessaro::ui::qt
