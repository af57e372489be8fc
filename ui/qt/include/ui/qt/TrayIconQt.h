#pragma once

#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <optional>

#include "ui/Services.h"

namespace tessaro::ui::qt {

// The notification-area icon. A click reports activate, a context request
// (right click, or the menu key where the desktop offers one) reports menu.
class TrayIconQt final : public ITrayIcon {
 public:
  explicit TrayIconQt(std::function<void(TrayEvent)> onEvent);

  bool Show(const std::wstring& tip) override;
  void Remove() override;

  // Null until the first Show: a tray icon costs start-up time on some desktops.
  const QSystemTrayIcon* Icon() const { return icon_.get(); }

 private:
  std::unique_ptr<QSystemTrayIcon> icon_;
  std::function<void(TrayEvent)> onEvent_;
};

// A double click needs nothing of its own: its first click has already
// brought the window back.
std::optional<TrayEvent> TrayEventFor(QSystemTrayIcon::ActivationReason reason);

}  // namespace tessaro::ui::qt
