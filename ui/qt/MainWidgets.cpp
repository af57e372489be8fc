#include "ui/qt/MainWidgets.h"

#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/AccessKeys.h"
#include "ui/Layout.h"
#include "ui/qt/Geometry.h"
#include "ui/qt/QtControls.h"
#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {
namespace {

QString ObjectName(const layout::Control& control) {
  return QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size()));
}

template <typename Widget>
Widget* Make(QWidget* parent, const layout::Control& control) {
  auto* widget = new Widget(parent);
  widget->setObjectName(ObjectName(control));
  widget->setGeometry(PixelRect(*parent, control.twips));
  // Only the bare background opens the window's popup menu.
  widget->setContextMenuPolicy(Qt::PreventContextMenu);
  return widget;
}

int KeyOf(const layout::Control& control) {
  return keys::KeyOf(keys::kMainWindowKeys, control.name);
}

}  // namespace

MainWidgets BuildMainWidgets(QWidget& window) {
  window.setObjectName(QStringLiteral("frmMain"));
  window.setWindowTitle(ToQString(layout::kMainCaption));
  window.setWindowIcon(QIcon(QStringLiteral(":/assets/window-32.png")));
  window.setFixedSize(layout::TwipsToPixels(layout::kMainClientWidth, window.logicalDpiX()),
                      layout::TwipsToPixels(layout::kMainClientHeight, window.logicalDpiY()));

  MainWidgets widgets;
  for (const auto& control : layout::kMainControls) {
    switch (control.kind) {
      case layout::Kind::kLabel: {
        auto* label = Make<QLabel>(&window, control);
        label->setText(ToQString(keys::Marked(control.caption, KeyOf(control))));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        break;
      }
      case layout::Kind::kComboBox: {
        auto* box = Make<QComboBox>(&window, control);
        MakeClassicEditableCombo(*box);
        box->setEditText(ToQString(control.caption));
        (control.name == "cboDrive" ? widgets.cboDrive : widgets.cboLocRes) = box;
        break;
      }
      case layout::Kind::kButton: {
        auto* button = Make<QPushButton>(&window, control);
        button->setText(ToQString(keys::Marked(control.caption, KeyOf(control))));
        button->setAutoDefault(false);
        button->setDefault(false);
        widgets.buttons.push_back(button);
        break;
      }
      case layout::Kind::kPicture:
        // Only the Win32 tray's callback target; Qt's tray calls us directly.
        break;
      case layout::Kind::kImage: {
        auto* image = Make<QLabel>(&window, control);
        image->setPixmap(QPixmap(QStringLiteral(":/assets/image1.png")));
        image->setFrameStyle(QFrame::Box | QFrame::Plain);
        image->setLineWidth(1);
        image->setAlignment(Qt::AlignCenter);
        break;
      }
    }
  }
  return widgets;
}

}  // namespace tessaro::ui::qt
