// The menus as the Win32 front end hands them to the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/Commands.h"
#include "ui/win32/Controls.h"

namespace tessaro::ui::win32 {
namespace {

std::wstring ItemText(HMENU menu, int position) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
  return text;
}

TEST(Menus, MenusCarryTheirAccessKeys) {
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
  EXPECT_EQ(ItemText(tray, 0), L"&Local Mappings");
  EXPECT_EQ(ItemText(tray, 2), L"&Anzeigen");
  EXPECT_EQ(ItemText(tray, 4), L"\u00DC&ber...");
  EXPECT_EQ(ItemText(tray, 6), L"Tessaro b&eenden");
  DestroyMenu(tray);
}

}  // namespace
}  // namespace tessaro::ui::win32
