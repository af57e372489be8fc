#include "ui/win32/TrayIconWin32.h"

#include <algorithm>

namespace tessaro::ui::win32 {
namespace {

NOTIFYICONDATAW ToNative(const TrayRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = record.cbSize;
  data.hWnd = reinterpret_cast<HWND>(record.hWnd);
  data.uID = record.uID;
  data.uFlags = record.uFlags;
  data.uCallbackMessage = record.uCallbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.hIcon);
  std::copy(record.szTip.begin(), record.szTip.end(), data.szTip);
  // The version-1 tip field holds 64 characters; the last stays NUL.
  data.szTip[std::size(data.szTip) - 1] = L'\0';
  return data;
}

}  // namespace

TrayIconWin32::~TrayIconWin32() {
  if (present_) Shell_NotifyIconW(NIM_DELETE, &shown_);
}

std::uint32_t TrayIconWin32::RecordSize() const { return NOTIFYICONDATAW_V1_SIZE; }

bool TrayIconWin32::Add(const TrayRecord& record) {
  shown_ = ToNative(record);
  present_ = Shell_NotifyIconW(NIM_ADD, &shown_) != FALSE;
  return present_;
}

void TrayIconWin32::Remove(const TrayRecord& record) {
  NOTIFYICONDATAW data = ToNative(record);
  Shell_NotifyIconW(NIM_DELETE, &data);
  present_ = false;
}

void TrayIconWin32::OnTaskbarCreated() {
  if (present_) Shell_NotifyIconW(NIM_ADD, &shown_);
}

}  // namespace tessaro::ui::win32
