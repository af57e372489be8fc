#pragma once

#include <QIcon>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "ui/Commands.h"
#include "ui/MainWindowView.h"
#include "ui/frmMain.h"
#include "ui/qt/QtControls.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace tessaro::ui::qt {

// frmMain's window: the controls of the layout, the two popup menus, and
// every event handed to the logic. What a click does is the logic's business.
class MainWindow final : public QWidget, public IMainWindowView {
 public:
  MainWindow();
  ~MainWindow() override;

  // The logic is made after the window (it needs the window as its view), so
  // events reach it only once it is bound.
  void Bind(frmMain& logic) { logic_ = &logic; }
  // Runs after the close box's unload sequence; the program quits there.
  void SetOnUnloaded(std::function<void()> onUnloaded) { onUnloaded_ = std::move(onUnloaded); }
  // From now on a close is the session's end: a failed save shows nothing.
  void SetSessionEnding() { sessionEnding_ = true; }

  // The tray icon's events, handed on to the logic.
  void TrayIcon_Event(ui::TrayEvent event);
  // Tessaro was started again: the window comes back, also when minimized.
  void StartedAgain();

  IComboBox& cboDrive() override { return *cboDriveAdapter_; }
  IComboBox& cboLocRes() override { return *cboLocResAdapter_; }
  ICheckMark& mnuRemoveItem() override { return *checkMark_; }
  void Hide() override;
  void Show() override;
  void PopupMenu(PopupMenuId menu) override;
  void ShowOpenPathDialog(frmOpenPath& dialog) override;
  void ShowMessage(const std::wstring& text, MessageKind kind, const std::wstring& title) override;

  QMenu* FileMenu() const { return fileMenu_.get(); }
  QMenu* TrayMenu() const { return trayMenu_.get(); }
  // "Local Mappings" of the window's menu and of the tray menu.
  QMenu* MappingsMenu(bool tray) const { return tray ? trayMappings_ : fileMappings_; }
  QAction* Action(CommandId id) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Dispatch(CommandId id);
  void BuildControls();
  void BuildMenus();
  void OpenFileMenuFromKeyboard();
  void BringToFront();
  void FillMappings(QMenu& submenu, bool fromTray);

  frmMain* logic_ = nullptr;
  std::function<void()> onUnloaded_;
  bool sessionEnding_ = false;
  std::unique_ptr<ComboBoxAdapter> cboDriveAdapter_;
  std::unique_ptr<ComboBoxAdapter> cboLocResAdapter_;
  std::unique_ptr<QMenu> fileMenu_;
  std::unique_ptr<QMenu> trayMenu_;
  QMenu* fileMappings_ = nullptr;
  QMenu* trayMappings_ = nullptr;
  std::map<CommandId, QAction*> actions_;
  std::unique_ptr<CheckMarkAdapter> checkMark_;
  std::optional<QPoint> popupAt_;
};

}  // namespace tessaro::ui::qt
