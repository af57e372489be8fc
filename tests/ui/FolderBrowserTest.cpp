#include <gtest/gtest.h>

#include <functional>

#include "support/TurkishLocale.h"
#include "support/UiFakes.h"
#include "text/LetterCase.h"
#include "ui/FolderBrowser.h"
#include "ui/frmOpenPath.h"

namespace tessaro::ui {
namespace {

std::vector<std::wstring> Shown(const FolderBrowser& browser) {
  std::vector<std::wstring> shown;
  for (const auto& line : browser.Lines())
    shown.push_back(std::to_wstring(line.depth) + L' ' + line.caption);
  return shown;
}

// Hands the changes the browser raises to the test; drawing needs nothing.
class Observer final : public IFolderBrowserObserver {
 public:
  void ShowDrives() override {}
  void ShowDirectory() override {}
  void ShowFiles() override {}
  void DriveChanged() override {
    if (onDrive) onDrive();
  }
  void DirectoryChanged() override {
    if (onDirectory) onDirectory();
  }
  std::function<void()> onDrive;
  std::function<void()> onDirectory;
};

class FolderBrowserTest : public ::testing::Test {
 protected:
  FolderBrowserTest() {
    scanner.drives = {{L'c', L"/", L""},
                      {L'x', L"/home/anna/Daten", L"/home/anna/Daten"},
                      {L'y', L"/home/anna/Daten/Fotos", L"/home/anna/Daten/Fotos"}};
    scanner.folders = {{L"/", {{L"home"}, {}}},
                       {L"/home/anna", {{L"Daten"}, {L"notiz.txt"}}},
                       {L"/home/anna/Daten", {{L"Briefe", L"Fotos"}, {L"a.txt", L"B.txt"}}},
                       {L"/home/anna/Daten/Briefe", {{}, {L"brief.odt"}}},
                       {L"/home/anna/Daten/Fotos", {{}, {}}}};
    scanner.cwd = L"/home/anna";
    observer.onDrive = [this] { log.push_back(L"drive " + browser.Drive1().Drive()); };
    observer.onDirectory = [this] { log.push_back(L"dir " + browser.Dir1().Path()); };
  }

  testing::FakeFolderScanner scanner;
  Observer observer;
  FolderBrowser browser{scanner, observer};
  std::vector<std::wstring> log;
};

TEST_F(FolderBrowserTest, StartsAtTheCurrentDirectoryWithFormattedDrivesAndNoNotification) {
  scanner.cwd = L"/home/anna/Daten/Fotos/";
  browser.Start();
  EXPECT_EQ(browser.DriveTexts(), (std::vector<std::wstring>{L"c:", L"x: [/home/anna/Daten]",
                                                             L"y: [/home/anna/Daten/Fotos]"}));
  EXPECT_EQ(browser.Drive1().Drive(), L"y: [/home/anna/Daten/Fotos]");  // the longest holder
  EXPECT_EQ(browser.Dir1().Path(), L"/home/anna/Daten/Fotos");
  EXPECT_EQ(Shown(browser), std::vector<std::wstring>{L"0 /home/anna/Daten/Fotos"});
  EXPECT_EQ(browser.FilesFolder(), L"/home/anna/Daten/Fotos");
  EXPECT_EQ(scanner.scans[L"/home/anna/Daten/Fotos"], 1);
  EXPECT_TRUE(log.empty());
}

TEST_F(FolderBrowserTest, UnreadableCurrentDirectoryStartsAtTheDrivesFolder) {
  scanner.cwd = L"/weg";
  browser.Start();
  EXPECT_EQ(browser.Drive1().Drive(), L"c:");
  EXPECT_EQ(browser.Dir1().Path(), L"/");
}

TEST_F(FolderBrowserTest, LinesRunFromTheDrivesFolderDownThenTheSubfolders) {
  browser.Start();
  EXPECT_EQ(Shown(browser), (std::vector<std::wstring>{L"0 /", L"1 home", L"2 anna", L"3 Daten"}));
  EXPECT_EQ(browser.OpenLine(), 2u);
  ASSERT_TRUE(browser.Dir1().SetPath(L"/home/anna/./Daten/Briefe/../"));
  // Below a mapped drive's folder the chain starts at that folder.
  EXPECT_EQ(Shown(browser),
            (std::vector<std::wstring>{L"0 /home/anna/Daten", L"1 Briefe", L"1 Fotos"}));
  EXPECT_EQ(browser.Lines()[2].path, L"/home/anna/Daten/Fotos");
  EXPECT_EQ(browser.OpenLine(), 0u);
  EXPECT_EQ(log, std::vector<std::wstring>{L"dir /home/anna/Daten"});
}

TEST_F(FolderBrowserTest, OpeningALineMovesUpOrDown_HighlightingAloneDoesNot) {
  browser.Start();
  ASSERT_TRUE(browser.OpenLineAt(3));  // Daten
  ASSERT_TRUE(browser.OpenLineAt(1));  // Briefe
  ASSERT_TRUE(browser.OpenLineAt(0));
  EXPECT_EQ(browser.Dir1().Path(), L"/home/anna/Daten");
  EXPECT_FALSE(browser.OpenLineAt(99));
}

TEST_F(FolderBrowserTest, AFolderThatCannotBeReadLeavesEveryListWhereItWas) {
  browser.Start();
  for (const std::wstring bad : {L"/home/anna/fehlt", L"relativ/pfad", L"", L"q:", L"q: [x]"}) {
    EXPECT_FALSE(browser.Dir1().SetPath(bad));
    EXPECT_FALSE(browser.File1().SetPath(bad));
  }
  EXPECT_EQ(browser.Dir1().Path(), L"/home/anna");
  EXPECT_EQ(browser.FilesFolder(), L"/home/anna");
  EXPECT_TRUE(log.empty());
}

TEST_F(FolderBrowserTest, DriveNamedByFirstLetterOrByTheFolderHoldingAPath) {
  browser.Start();
  EXPECT_TRUE(browser.Drive1().SetDrive(L"X:\\irgendwas"));
  EXPECT_TRUE(browser.Drive1().SetDrive(L"x: [/home/anna/Daten]"));  // no change, no notification
  EXPECT_TRUE(browser.Drive1().SetDrive(L"/home/anna/Daten/Fotos-alt"));  // whole names only
  EXPECT_TRUE(browser.Drive1().SetDrive(L"/home/anna/Daten2"));
  EXPECT_FALSE(browser.Drive1().SetDrive(L"q:"));
  EXPECT_FALSE(browser.Drive1().SetDrive(L""));
  scanner.notReady = L'y';
  EXPECT_FALSE(browser.PickDrive(2));
  EXPECT_EQ(log, (std::vector<std::wstring>{L"drive x: [/home/anna/Daten]", L"drive c:"}));
}

TEST_F(FolderBrowserTest, DriveTextOpensTheDrivesLastDirectoryElseItsFolder) {
  browser.Start();
  ASSERT_TRUE(browser.Dir1().SetPath(L"y: [/home/anna/Daten/Fotos]"));
  EXPECT_EQ(browser.Dir1().Path(), L"/home/anna/Daten/Fotos");
  ASSERT_TRUE(browser.Dir1().SetPath(L"c:"));
  EXPECT_EQ(browser.Dir1().Path(), L"/home/anna");
  // Where the system keeps a directory per drive, that one counts.
  scanner.driveCurrent[L"c:"] = L"/";
  ASSERT_TRUE(browser.Dir1().SetPath(L"c:"));
  EXPECT_EQ(browser.Dir1().Path(), L"/");
}

// Drive letters fold as ASCII: a Turkish towlower would make 'I' a dotless i.
TEST_F(FolderBrowserTest, DriveLettersFoldAsAsciiUnderATurkishLocale) {
  const testing::TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this system";
  EXPECT_EQ(FormatDriveText(L'I', L""), L"i:");
  scanner.drives.push_back({L'i', L"/home/anna/Daten/Briefe", L"/home/anna/Daten/Briefe"});
  browser.Start();
  ASSERT_TRUE(browser.Drive1().SetDrive(L"I:"));
  EXPECT_EQ(browser.Drive1().Drive(), L"i: [/home/anna/Daten/Briefe]");
}

TEST(FolderBrowserWindowsTest, DriveRootsShowLowerCaseAndPathsCompareIgnoringCase) {
  testing::FakeFolderScanner scanner;
  scanner.style = {L'\\'};
  scanner.drives = {{L'c', L"C:\\", L"System"}, {L'z', L"Z:\\", L"\\\\server\\share"}};
  scanner.folders = {{L"C:\\Daten", {{L"Alpha"}, {L"a.txt"}}},
                     {L"\\\\server\\share\\Ablage", {{}, {}}}};
  scanner.cwd = L"C:\\Daten";
  Observer observer;
  FolderBrowser browser(scanner, observer);
  browser.Start();
  EXPECT_EQ(browser.DriveTexts(),
            (std::vector<std::wstring>{L"c: [System]", L"z: [\\\\server\\share]"}));
  EXPECT_EQ(Shown(browser), (std::vector<std::wstring>{L"0 c:\\", L"1 Daten", L"2 Alpha"}));
  EXPECT_EQ(browser.Lines()[2].path, L"C:\\Daten\\Alpha");
  EXPECT_EQ(browser.Tidy(L"C:\\a\\.\\b\\..\\"), L"C:\\a");
  EXPECT_EQ(browser.Tidy(L"C:daten"), L"");

  int changes = 0;
  observer.onDirectory = [&] { ++changes; };
  ASSERT_TRUE(browser.Dir1().SetPath(L"c:\\DATEN"));
  EXPECT_EQ(changes, 0);
  ASSERT_TRUE(browser.Dir1().SetPath(L"\\\\server\\share\\Ablage\\"));
  EXPECT_EQ(Shown(browser), (std::vector<std::wstring>{L"0 \\\\server\\share\\", L"1 Ablage"}));
}

// The dialog's load over the browser: a folder is listed once, though the
// directory list's notification and the load both set the file list.
TEST_F(FolderBrowserTest, TheLoadListsTheStartFolderOnce) {
  testing::FakeOpenPathLogic open(scanner, L"/home/anna/Daten/Briefe");
  testing::FakeOpenPathView view(open.scanner);
  view.Load(open.logic);

  EXPECT_EQ(view.Browser().Files(), std::vector<std::wstring>{L"brief.odt"});
  EXPECT_EQ(open.scanner.scans[L"/home/anna/Daten/Briefe"], 1);
  EXPECT_EQ(open.scanner.scans[L"/home/anna/Daten"], 1);  // the new drive's folder, on the way
  open.logic.OKButton_Click();
  EXPECT_EQ(open.cboDrive.text, L"X:");
  EXPECT_EQ(open.cboLocRes.text, L"/home/anna/Daten/Briefe");
}

}  // namespace
}  // namespace tessaro::ui
