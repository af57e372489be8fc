#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "ui/Services.h"

namespace tessaro::ui::win32 {

// The notification-area icon. Added and removed here only; an icon still
// shown when the object goes is removed with it. The wide call keeps the
// German tip intact whatever the system's code page.
class TrayIconWin32 final : public ITrayIcon {
 public:
  TrayIconWin32() = default;
  ~TrayIconWin32() override;
  TrayIconWin32(const TrayIconWin32&) = delete;
  TrayIconWin32& operator=(const TrayIconWin32&) = delete;

  std::uint32_t RecordSize() const override;
  bool Add(const TrayRecord& record) override;
  void Remove(const TrayRecord& record) override;

  // After Explorer restarts its task bar the icon is gone; put it back.
  void OnTaskbarCreated();

 private:
  NOTIFYICONDATAW shown_{};
  bool present_ = false;
};

}  // namespace tessaro::ui::win32
