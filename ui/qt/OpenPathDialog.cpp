#include "ui/qt/OpenPathDialog.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPushButton>

#include "ui/Layout.h"
#include "ui/qt/Accessibility.h"
#include "ui/qt/Geometry.h"
#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {
namespace {

QString ObjectName(const layout::DialogControl& control) {
  return QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size()));
}

QPushButton* MakeButton(QWidget* parent, layout::DialogControlName name) {
  const auto& control = layout::DialogControlNamed(name);
  auto* button = new QPushButton(ToQString(control.caption), parent);
  button->setObjectName(ObjectName(control));
  button->setAutoDefault(false);
  button->setDefault(false);
  PressOnEnter(*button);
  button->setGeometry(PixelRect(*parent, control.twips));
  return button;
}

void Place(QWidget* widget, layout::DialogControlName name) {
  const auto& control = layout::DialogControlNamed(name);
  widget->setObjectName(ObjectName(control));
  widget->setGeometry(PixelRect(*widget->parentWidget(), control.twips));
}

}  // namespace

OpenPathDialog::OpenPathDialog(frmOpenPath& logic, QWidget* parent)
    : QDialog(parent, FixedWindowFlags(Qt::Dialog, false)),
      FolderBrowserView(logic.FolderScanner()),
      logic_(logic) {
  setObjectName(QStringLiteral("frmOpenPath"));
  setWindowTitle(ToQString(layout::kDialogDesignCaption));
  setWindowIcon(QIcon(QStringLiteral(":/assets/window-32.png")));
  setModal(true);
  setSizeGripEnabled(false);
  const QRect client = PixelRect(*this, layout::kDialogClient);
  setFixedSize(client.size());
  move(client.topLeft());

  okButton_ = MakeButton(this, "OKButton");
  cancelButton_ = MakeButton(this, "CancelButton");
  drive1_ = new DriveListBox(browser_, this);
  Place(drive1_, "Drive1");
  dir1_ = new DirListBox(browser_, this);
  Place(dir1_, "Dir1");
  file1_ = new FileListBox(browser_, this);
  Place(file1_, "File1");
  NameControls(*this);
  // Made in tab order: OK, Abbrechen, then the three lists.
  okButton_->setFocus();

  // Before the load the lists stand at the process's current directory.
  browser_.Start();
  connect(okButton_, &QPushButton::clicked, this, [this] { logic_.OKButton_Click(); });
  connect(cancelButton_, &QPushButton::clicked, this, [this] { logic_.CancelButton_Click(); });
}

void OpenPathDialog::Load() {
  logic_.Attach(*this);
  attached_ = true;
  logic_.Form_Load();
}

int OpenPathDialog::Run() {
  Load();
  const int result = exec();
  attached_ = false;
  logic_.Detach();
  return result;
}

void OpenPathDialog::SetCaption(const std::wstring& caption) { setWindowTitle(ToQString(caption)); }

void OpenPathDialog::Unload() { done(QDialog::Accepted); }

void OpenPathDialog::closeEvent(QCloseEvent* event) {
  // The close box unloads and takes nothing over, like Abbrechen.
  event->accept();
  done(QDialog::Rejected);
}

}  // namespace tessaro::ui::qt
