// What the Win32 front end hands the system for its menus and its tray icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/Commands.h"
#include "ui/frmMain.h"
#include "ui/win32/Controls.h"
#include "ui/win32/TrayIconWin32.h"

namespace tessaro::ui::win32 {
namespace {

std::wstring ItemText(HMENU menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
  return text;
}

TEST(MenuAndTray, MenusCarryTheirAccessKeys) {
  HMENU file = BuildPopupMenu(kFileMenu);
  HMENU mappings = GetSubMenu(file, 0);
  EXPECT_EQ(ItemText(file, 0), L"&Local Mappings");
  EXPECT_EQ(ItemText(mappings, 0), L"&Map");
  EXPECT_EQ(ItemText(mappings, 1), L"&Delete");
  EXPECT_EQ(ItemText(file, 1), L"&Reset nach Neustart");
  EXPECT_EQ(ItemText(file, 3), L"Im &Systray verstecken");
  EXPECT_EQ(ItemText(file, 5), L"\u00DC&ber...");
  EXPECT_EQ(ItemText(file, 7), L"Tessaro b&eenden");
  DestroyMenu(file);
  HMENU tray = BuildPopupMenu(kTrayMenu);
  EXPECT_EQ(ItemText(tray, 0), L"&Anzeigen");
  EXPECT_EQ(ItemText(tray, 2), L"\u00DC&ber...");
  EXPECT_EQ(ItemText(tray, 4), L"Tessaro b&eenden");
  DestroyMenu(tray);
}

// The record is handed as it is; without a window the shell refuses it.
TEST(MenuAndTray, TrayRecordCarriesTheTipNulTerminated) {
  TrayIconWin32 tray;
  tray.Attach(nullptr, GetModuleHandleW(nullptr), 1);
  tray.Show(kTrayTip);
  const NOTIFYICONDATAW& record = tray.Record();
  EXPECT_EQ(record.cbSize, NOTIFYICONDATAW_V1_SIZE);
  EXPECT_NE(record.uFlags & NIF_TIP, 0u);
  EXPECT_EQ(std::wstring(record.szTip), L"Tessaro - Rechte Maustaste f\u00FCr Men\u00FC");
  for (std::size_t i = std::wstring(record.szTip).size(); i < 64; ++i) {
    EXPECT_EQ(record.szTip[i], L'\0') << i;
  }
}

}  // namespace
}  // namespace tessaro::ui::win32
