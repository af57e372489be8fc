// The folder dialog's window over a made-up file system: the lists show what
// the logic's scanner holds, and OK hands the drive and folder over.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/UiFakes.h"
#include "ui/frmOpenPath.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/OpenPathWindow.h"

namespace tessaro::ui::win32 {
namespace {

std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
    lines.push_back(line);
  }
  return lines;
}

TEST(OpenPathWindow, BrowsesTheScannerItIsGiven) {
  tessaro::testing::FakeFolderScanner scanner;
  scanner.style = {L'\\'};
  scanner.drives = {{L'c', L"C:\\", L"System"}, {L'x', L"X:\\", L"C:\\Daten"}};
  scanner.folders = {{L"C:\\", {{L"Daten"}, {}}}, {L"X:\\", {{L"Briefe"}, {L"liste.txt"}}}};
  scanner.cwd = L"C:\\";
  tessaro::testing::FakeOpenPathLogic open(scanner, L"X:\\");

  OpenPathWindow window(GetModuleHandleW(nullptr), open.logic);
  ASSERT_TRUE(window.Create(nullptr));
  open.logic.Attach(window);
  open.logic.Form_Load();
  const HWND drives = GetDlgItem(window.hwnd(), kIdDrive1);
  const auto current = static_cast<WPARAM>(SendMessageW(drives, CB_GETCURSEL, 0, 0));
  std::wstring drive(static_cast<std::size_t>(SendMessageW(drives, CB_GETLBTEXTLEN, current, 0)),
                     L'\0');
  SendMessageW(drives, CB_GETLBTEXT, current, reinterpret_cast<LPARAM>(drive.data()));
  EXPECT_EQ(drive, L"x: [C:\\Daten]");
  EXPECT_EQ(ListLines(GetDlgItem(window.hwnd(), kIdDir1)),
            (std::vector<std::wstring>{L"x:\\", L"  Briefe"}));
  EXPECT_EQ(ListLines(GetDlgItem(window.hwnd(), kIdFile1)),
            std::vector<std::wstring>{L"liste.txt"});

  SendMessageW(window.hwnd(), WM_COMMAND, MAKEWPARAM(kIdOKButton, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window.hwnd(), kIdOKButton)));
  EXPECT_EQ(open.cboDrive.text, L"X:");
  EXPECT_EQ(open.cboLocRes.text, L"X:\\");
  open.logic.Detach();
}

}  // namespace
}  // namespace tessaro::ui::win32
