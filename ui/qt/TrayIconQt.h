#pragma once

#include <QSystemTrayIcon>

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/Services.h"

namespace tessaro::ui::qt {

// The notification-area icon. Its clicks arrive as the tray event numbers the
// logic decodes: 513 for a left click, 517 for the context request.
class TrayIconQt final : public ITrayIcon {
 public:
  explicit TrayIconQt(std::function<void(std::int32_t)> onEvent);

  std::uint32_t RecordSize() const override;
  // False when the desktop has no notification area: the logic then shows
  // the window again instead of losing it.
  bool Add(const TrayRecord& record) override;
  void Remove(const TrayRecord& record) override;

  // Null until the first Add: a tray icon costs start-up time on some desktops.
  const QSystemTrayIcon* Icon() const { return icon_.get(); }

 private:
  std::unique_ptr<QSystemTrayIcon> icon_;
  std::function<void(std::int32_t)> onEvent_;
};

}  // namespace tessaro::ui::qt
