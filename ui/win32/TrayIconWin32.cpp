#include "ui/win32/TrayIconWin32.h"

#include <algorithm>

namespace tessaro::ui::win32 {
namespace {

constexpr UINT kIconId = 1;
constexpr UINT kCallbackMessage = WM_MOUSEMOVE;  // 512, as Picture1 reports it
constexpr std::size_t kTipField = 64;            // the first version's tip field

// The tip and its NUL, cut to the field; the rest of the field stays NUL.
void FillTip(NOTIFYICONDATAW& data, const std::wstring& tip) {
  const std::size_t length = std::min(tip.size(), kTipField - 1);
  std::copy_n(tip.begin(), length, data.szTip);
  data.szTip[length] = L'\0';
}

}  // namespace

TrayIconWin32::~TrayIconWin32() {
  if (present_) Shell_NotifyIconW(NIM_DELETE, &record_);
  if (icon_ != nullptr) DestroyIcon(icon_);
}

void TrayIconWin32::Attach(HWND callbackWindow, HINSTANCE instance, int iconId) {
  callbackWindow_ = callbackWindow;
  instance_ = instance;
  iconId_ = iconId;
}

bool TrayIconWin32::Show(const std::wstring& tip) {
  if (icon_ == nullptr) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    icon_ = static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(iconId_), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  }
  record_ = NOTIFYICONDATAW{};
  record_.cbSize = NOTIFYICONDATAW_V1_SIZE;
  record_.hWnd = callbackWindow_;
  record_.uID = kIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kCallbackMessage;
  record_.hIcon = icon_;
  FillTip(record_, tip);
  present_ = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
  return present_;
}

void TrayIconWin32::Remove() {
  // Handed a copy, as the shell may write to the record.
  NOTIFYICONDATAW data = record_;
  Shell_NotifyIconW(NIM_DELETE, &data);
  present_ = false;
}

void TrayIconWin32::ReturnFocus() {
  if (!present_) return;
  NOTIFYICONDATAW data = record_;
  Shell_NotifyIconW(NIM_SETFOCUS, &data);
}

void TrayIconWin32::OnTaskbarCreated() {
  if (present_) Shell_NotifyIconW(NIM_ADD, &record_);
}

std::optional<TrayEvent> TrayEventFromCallback(LPARAM lParam) {
  switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
      return TrayEvent::kActivate;
    case WM_RBUTTONUP:
      return TrayEvent::kMenu;
    default:
      return std::nullopt;
  }
}

}  // namespace tessaro::ui::win32
