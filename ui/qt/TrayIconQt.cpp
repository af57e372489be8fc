#include "ui/qt/TrayIconQt.h"

#include <QIcon>

#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {

std::optional<TrayEvent> TrayEventFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return TrayEvent::kActivate;
    case QSystemTrayIcon::Context:
      return TrayEvent::kMenu;
    default:
      return std::nullopt;
  }
}

TrayIconQt::TrayIconQt(std::function<void(TrayEvent)> onEvent) : onEvent_(std::move(onEvent)) {}

bool TrayIconQt::Show(const std::wstring& tip) {
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/assets/tray-32.png")));
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       if (const auto event = TrayEventFor(reason)) onEvent_(*event);
                     });
  }
  icon_->setToolTip(ToQString(tip));
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  icon_->show();
  return true;
}

void TrayIconQt::Remove() {
  if (icon_) icon_->hide();
}

}  // namespace tessaro::ui::qt
