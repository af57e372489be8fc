#include <gtest/gtest.h>

#include "core/Startup.h"
#include "core/modIniAccess.h"
#include "support/Fakes.h"

namespace tessaro {
namespace {

using testing::FakeCheckMark;
using testing::FakeComboBox;
using testing::FakeKnownFolders;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    folders.folders[platform::kCsidlPersonal] = L"/home/anna/Dokumente";
    folders.folders[platform::kCsidlAppData] = dir.wpath();
  }

  std::filesystem::path IniFile() const { return dir.path() / "Tessaro.ini"; }

  void Start() { RunStartup(app, folders, {cboDrive, cboLocRes, mnuRemoveItem}); }

  TempDir dir;
  FakeKnownFolders folders;
  AppState app;
  FakeComboBox cboDrive;
  FakeComboBox cboLocRes;
  FakeCheckMark mnuRemoveItem;
};

TEST_F(StartupTest, FirstRunStartsEmpty) {
  Start();
  EXPECT_EQ(app.strIniFile, dir.wpath() + kIniFileSuffix);
  ASSERT_EQ(cboDrive.items.size(), 26u);
  EXPECT_EQ(cboDrive.items.front(), L"A:");
  EXPECT_EQ(cboDrive.items.back(), L"Z:");
  EXPECT_EQ(cboDrive.text, L":");
  EXPECT_EQ(cboLocRes.text, L"");
  EXPECT_EQ(cboLocRes.items, std::vector<std::wstring>(3));
  EXPECT_FALSE(mnuRemoveItem.checked);
  EXPECT_EQ(app.intNextPath, 1);
  EXPECT_EQ(app.blnPathMode, kTrue);
  // The documents folder was only a placeholder.
  EXPECT_EQ(app.strTargetPath, L"");
  EXPECT_FALSE(std::filesystem::exists(IniFile()));
}

TEST_F(StartupTest, PreparedSettingsFillTheBoxes) {
  WriteBytes(IniFile(),
             "[Startup]\ntarget drive=X:\ntarget path=/srv/daten\nreset restart=1\n"
             "[Data]\nnext path=3\nlast path 1=/a\nlast path 2=/b\n");
  Start();
  EXPECT_EQ(cboDrive.text, L"X:");
  EXPECT_EQ(cboDrive.items.size(), 26u);
  EXPECT_EQ(cboLocRes.text, L"/srv/daten");
  EXPECT_EQ(cboLocRes.items, (std::vector<std::wstring>{L"/a", L"/b", L"", L"", L"", L""}));
  EXPECT_EQ(app.intNextPath, 5);
  EXPECT_TRUE(mnuRemoveItem.checked);
}

TEST_F(StartupTest, OddDriveIsShownUnchangedAndSlotZeroStandsInForAnEmptyPath) {
  WriteBytes(IniFile(), "[Startup]\ntarget drive=x\n[Data]\nlast path 1=/zuletzt\n");
  Start();
  EXPECT_EQ(cboDrive.text, L"x");
  EXPECT_EQ(cboLocRes.text, L"/zuletzt");
  EXPECT_EQ(app.strTargetPath, L"");
}

TEST_F(StartupTest, WithoutAppDataTheFileNameStandsAlone) {
  folders.folders.erase(platform::kCsidlAppData);
  folders.folders[platform::kCsidlPersonal] = L"";
  app.strIniFile = L"unchanged";
  // Only the path is checked: loading from it must not fail the start.
  Start();
  EXPECT_EQ(app.strIniFile, kIniFileSuffix);
  EXPECT_EQ(cboDrive.items.size(), 26u);
}

TEST_F(StartupTest, CloseWithResetFlagForgetsTheChoiceForTheNextStart) {
  WriteBytes(IniFile(),
             "[Startup]\ntarget drive=X:\ntarget path=/srv/daten\nreset restart=1\n"
             "[Data]\nnext path=2\nlast path 1=/a\n");
  Start();
  RunShutdown(app, cboLocRes);
  EXPECT_EQ(cboLocRes.text, L"");
  const std::string bytes = ReadBytes(IniFile());
  for (const char* line : {"target drive=\n", "target path=\n", "reset restart=1\n",
                           "next path=0\n", "last path 1=\n", "last path 6=\n"}) {
    EXPECT_NE(bytes.find(line), std::string::npos) << line << " in\n" << bytes;
  }

  AppState next;
  FakeComboBox drive2, folder2;
  FakeCheckMark mark2;
  RunStartup(next, folders, {drive2, folder2, mark2});
  EXPECT_EQ(drive2.text, L":");
  EXPECT_EQ(folder2.text, L"");
  EXPECT_TRUE(folder2.items.empty());
  EXPECT_EQ(next.intNextPath, 0);
  EXPECT_TRUE(mark2.checked);
}

TEST_F(StartupTest, CloseWithoutResetFlagSavesTheCurrentState) {
  Start();
  app.strTargetPath = L"/gewaehlt/aber/nie/gemappt";
  RunShutdown(app, cboLocRes);
  AppState loaded;
  loaded.strIniFile = app.strIniFile;
  LoadSettings(loaded);
  EXPECT_EQ(loaded.strTargetPath, L"/gewaehlt/aber/nie/gemappt");
  EXPECT_EQ(loaded.intNextPath, 1);
}

}  // namespace
}  // namespace tessaro
