#include <gtest/gtest.h>

#include "core/Startup.h"
#include "core/modIniAccess.h"
#include "platform/Conventions.h"
#include "support/Fakes.h"

namespace tessaro {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class StartupTest : public ::testing::Test, protected testing::SettingsFolders {
 protected:
  StartupTest() : SettingsFolders(L"/home/anna/Dokumente") {}

  AppState app;
};

TEST_F(StartupTest, FirstRunStartsEmpty) {
  const StartupView shown = RunStartup(app, folders);
  EXPECT_EQ(app.strIniFile, dir.WidePath() + platform::PathSeparator() + L"Tessaro.ini");
  ASSERT_EQ(shown.driveItems.size(), 26u);
  EXPECT_EQ(shown.driveItems.front(), L"A:");
  EXPECT_EQ(shown.driveItems.back(), L"Z:");
  EXPECT_EQ(shown.driveText, L":");
  EXPECT_EQ(shown.folderText, L"");
  EXPECT_EQ(shown.recentItems, std::vector<std::wstring>(3));
  EXPECT_FALSE(shown.resetChecked);
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
  const StartupView shown = RunStartup(app, folders);
  EXPECT_EQ(shown.driveText, L"X:");
  EXPECT_EQ(shown.folderText, L"/srv/daten");
  EXPECT_EQ(shown.recentItems, (std::vector<std::wstring>{L"/a", L"/b", L"", L"", L"", L""}));
  EXPECT_EQ(app.intNextPath, 5);
  EXPECT_TRUE(shown.resetChecked);
}

TEST_F(StartupTest, OddDriveIsShownUnchangedAndSlotZeroStandsInForAnEmptyPath) {
  WriteBytes(IniFile(), "[Startup]\ntarget drive=x\n[Data]\nlast path 1=/zuletzt\n");
  const StartupView shown = RunStartup(app, folders);
  EXPECT_EQ(shown.driveText, L"x");
  EXPECT_EQ(shown.folderText, L"/zuletzt");
  EXPECT_EQ(app.strTargetPath, L"");
}

TEST_F(StartupTest, WithoutAppDataTheFileNameStandsAlone) {
  folders.folders.erase(platform::KnownFolder::kAppData);
  folders.folders[platform::KnownFolder::kDocuments] = L"";
  // Only the path is checked: loading from it must not fail the start.
  (void)RunStartup(app, folders);
  EXPECT_EQ(app.strIniFile, std::wstring(1, platform::PathSeparator()) + L"Tessaro.ini");
}

TEST_F(StartupTest, ResetOnExitForgetsTheChoiceAndTheNextStartListsNothing) {
  WriteBytes(IniFile(),
             "[Startup]\ntarget drive=X:\ntarget path=/srv/daten\nreset restart=1\n"
             "[Data]\nnext path=2\nlast path 1=/a\n");
  (void)RunStartup(app, folders);
  EXPECT_FALSE(ResetOnExit(app, kFalse));
  EXPECT_EQ(app.strTargetDrive, L"X:");
  EXPECT_TRUE(ResetOnExit(app, app.blnResetRestart));
  SaveSettings(app);
  const std::string bytes = ReadBytes(IniFile());
  for (const char* line : {"target drive=\n", "target path=\n", "reset restart=1\n",
                           "next path=0\n", "last path 1=\n", "last path 6=\n"}) {
    EXPECT_NE(bytes.find(line), std::string::npos) << line << " in\n" << bytes;
  }

  AppState next;
  const StartupView shown = RunStartup(next, folders);
  EXPECT_EQ(shown.driveText, L":");
  EXPECT_EQ(shown.folderText, L"");
  EXPECT_TRUE(shown.recentItems.empty());
  EXPECT_EQ(next.intNextPath, 0);
  EXPECT_TRUE(shown.resetChecked);
}

}  // namespace
}  // namespace tessaro
