#include "ui/qt/Accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>

#include "ui/Accessibility.h"
#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {
namespace {

constexpr const char* kWindowRole = "tessaroWindowRole";
constexpr const char* kNamedComboBox = "tessaroNamedComboBox";

QString Name(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Qt's own interface names a combo box on Linux by its current text and
// ignores the name given to it, so the folder dialog's drive list was heard
// as "c:". A list without a label gets this one instead: the combo box's
// role, value and popup as before, and the name it was given.
class NamedComboBox final : public QAccessibleWidget {
 public:
  explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return widget()->accessibleName();
    if (t == QAccessible::Value) return Box()->currentText();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    s.expanded = Box()->view()->isVisible();
    return s;
  }
  // The popup's list, as Qt's own interface offers it.
  int childCount() const override { return 1; }
  QAccessibleInterface* child(int index) const override {
    return index == 0 ? QAccessible::queryAccessibleInterface(Box()->view()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child != nullptr && child->object() == Box()->view() ? 0 : -1;
  }
  QStringList actionNames() const override {
    return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction()) {
      Box()->showPopup();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }

 private:
  QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* OurInterfaces(const QString& /*className*/, QObject* object) {
  if (object == nullptr || !object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  // A plain QWidget window is otherwise a "client" area (a filler to AT-SPI).
  if (widget->property(kWindowRole).toBool()) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  if (widget->property(kNamedComboBox).toBool()) {
    if (auto* box = qobject_cast<QComboBox*>(widget)) return new NamedComboBox(box);
  }
  return nullptr;
}

void InstallOurInterfaces() {
  static const bool installed = [] {
    QAccessible::installFactory(&OurInterfaces);
    return true;
  }();
  (void)installed;
}

class EnterPresses final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr || !button->isEnabled()) return false;
    button->click();
    return true;
  }
};

}  // namespace

void NameControls(QWidget& window) {
  for (const auto& entry : access::kAccessibleNames) {
    auto* control = window.findChild<QWidget*>(Name(entry.control));
    if (control == nullptr) continue;
    const QString name = ToQString(entry.name);
    auto* box = qobject_cast<QComboBox*>(control);
    if (!entry.label.empty()) {
      // Qt names an editable combo box by its text and ignores a name given
      // to it; the label's buddy link is what screen readers announce.
      if (auto* label = window.findChild<QLabel*>(Name(entry.label))) {
        label->setBuddy(control);
        if (box != nullptr && box->lineEdit() != nullptr) {
          // The focus sits in the box's line edit, whose keyboard shortcut Qt
          // reads from a label beside it that names it: a hidden one, which
          // takes no key itself, carries the label's.
          auto* key = new QLabel(label->text(), box);
          key->hide();
          key->setBuddy(box->lineEdit());
        }
      }
    }
    if (box != nullptr && box->lineEdit() != nullptr) {
      box->lineEdit()->setAccessibleName(name);
    } else {
      if (box != nullptr && entry.label.empty()) {
        InstallOurInterfaces();
        box->setProperty(kNamedComboBox, true);
      }
      control->setAccessibleName(name);
    }
  }
}

void ExposeAsWindow(QWidget& window) {
  InstallOurInterfaces();
  window.setProperty(kWindowRole, true);
}

void PressOnEnter(QAbstractButton& button) { button.installEventFilter(new EnterPresses(&button)); }

bool IsKeyboardMenuRequest(const QEvent& event) {
  if (event.type() == QEvent::ContextMenu) {
    return static_cast<const QContextMenuEvent&>(event).reason() == QContextMenuEvent::Keyboard;
  }
  if (event.type() != QEvent::KeyPress) return false;
  const auto& key = static_cast<const QKeyEvent&>(event);
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  return (key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
         (key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

void NameMessageText(QMessageBox& box) {
  // The box's own label; Qt has named it so for a long time.
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr) return;
  label->setAccessibleName(ToQString(access::WithLineBreaks(ToWString(box.text()), L"\n")));
}

}  // namespace tessaro::ui::qt
