#include "ui/qt/TrayIconQt.h"

#include <QIcon>

#include <algorithm>

namespace tessaro::ui::qt {
namespace {

constexpr std::uint32_t kRecordSize = 88;  // the record's first version, as on Windows
constexpr std::int32_t kLeftButtonDown = 513;
constexpr std::int32_t kLeftDoubleClick = 515;
constexpr std::int32_t kRightButtonUp = 517;

QString TipText(const TrayRecord& record) {
  const auto end = std::find(record.szTip.begin(), record.szTip.end(), L'\0');
  return QString::fromWCharArray(record.szTip.data(), end - record.szTip.begin());
}

}  // namespace

TrayIconQt::TrayIconQt(std::function<void(std::int32_t)> onEvent) : onEvent_(std::move(onEvent)) {}

std::uint32_t TrayIconQt::RecordSize() const { return kRecordSize; }

bool TrayIconQt::Add(const TrayRecord& record) {
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       switch (reason) {
                         case QSystemTrayIcon::Trigger:
                           onEvent_(kLeftButtonDown);
                           break;
                         case QSystemTrayIcon::DoubleClick:
                           onEvent_(kLeftDoubleClick);
                           break;
                         case QSystemTrayIcon::Context:
                           onEvent_(kRightButtonUp);
                           break;
                         default:
                           break;
                       }
                     });
  }
  // hIcon is the address of the window's tray picture (MainWindow::Picture1Picture).
  if (record.hIcon != 0) icon_->setIcon(*reinterpret_cast<const QIcon*>(record.hIcon));
  icon_->setToolTip(TipText(record));
  icon_->show();
  return true;
}

void TrayIconQt::Remove(const TrayRecord& /*record*/) {
  if (icon_) icon_->hide();
}

}  // namespace tessaro::ui::qt
