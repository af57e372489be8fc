#include <gtest/gtest.h>

#include "core/modIniAccess.h"
#include "support/UiFakes.h"
#include "ui/frmMain.h"

namespace tessaro::ui {
namespace {

using namespace tessaro::testing;

class frmMainTest : public ::testing::Test, protected MainFormRig {
 protected:
  void Load(const std::string& settings = {}) {
    if (!settings.empty()) WriteBytes(IniFile(), settings);
    form.Form_Load();
  }

  void Type(const std::wstring& drive, const std::wstring& folder) {
    view.drive.text = drive;
    view.folder.text = folder;
  }

  // The settings as the next start reads them.
  AppState Reloaded() const {
    AppState reloaded;
    reloaded.strIniFile = app.strIniFile;
    LoadSettings(reloaded);
    return reloaded;
  }
};

TEST_F(frmMainTest, LoadShowsTheSettingsInTheBoxesAndTheMark) {
  Load("[Startup]\ntarget drive=X:\nreset restart=1\n[Data]\nnext path=1\nlast path 1=C:\\a\n");
  ASSERT_EQ(view.drive.items.size(), 26u);
  EXPECT_EQ(view.drive.items[23], L"X:");
  EXPECT_EQ(view.drive.text, L"X:");
  EXPECT_EQ(view.folder.text, L"C:\\a");
  EXPECT_EQ(view.folder.items, (std::vector<std::wstring>{L"C:\\a", L"", L"", L"", L"", L""}));
  EXPECT_TRUE(view.resetMark.checked);
}

TEST_F(frmMainTest, MapLaunchesMinimizedThenRecordsAndSaves) {
  Load();
  Type(L"X:", L"C:\\Daten");
  form.cmdSubst_Click();
  EXPECT_EQ(launcher.commandLines, std::vector<std::wstring>{L"subst X:  C:\\Daten"});
  EXPECT_EQ(launcher.shows, std::vector<platform::WindowShow>{platform::WindowShow::kMinimized});
  EXPECT_EQ(app.strTargetDrive, L"X:");
  EXPECT_EQ(app.strTargetPath, L"C:\\Daten");
  // First run: three empty entries, then the new path; it went to slot 1.
  EXPECT_EQ(view.folder.items.back(), L"C:\\Daten");
  EXPECT_EQ(app.arrLastPath[1], L"C:\\Daten");
  const std::string saved = ReadBytes(IniFile());
  EXPECT_NE(saved.find(std::string("target drive=X:") + kNl), std::string::npos) << saved;
  EXPECT_NE(saved.find(std::string("last path 2=C:\\Daten") + kNl), std::string::npos);
  EXPECT_NE(saved.find(std::string("next path=2") + kNl), std::string::npos);
}

TEST_F(frmMainTest, MapOfAFolderWithBlanksPassesItAsOneArgument) {
  Load();
  Type(L"X:", L"C:\\Eigene Dateien");
  form.cmdSubst_Click();
  EXPECT_EQ(launcher.commandLines.at(0), L"subst X:  \"C:\\Eigene Dateien\"");
  EXPECT_EQ(app.strTargetPath, L"C:\\Eigene Dateien");  // kept exactly as typed
}

TEST_F(frmMainTest, MapThatCannotStartChangesNothingAndSaysSo) {
  Load();
  launcher.next = {platform::LaunchStatus::kNotFound, {}};
  Type(L"X:", L"C:\\Daten");
  const auto listBefore = view.folder.items;
  form.mnuDrivesMap_Click();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].kind, MessageKind::kCritical);
  EXPECT_NE(view.messages[0].text.find(L"\"subst\""), std::wstring::npos);
  EXPECT_EQ(view.folder.items, listBefore);
  EXPECT_EQ(app.strTargetDrive, L"");
  EXPECT_EQ(app.intNextPath, 1);
  EXPECT_FALSE(std::filesystem::exists(IniFile()));
  EXPECT_EQ(view.drive.text, L"X:");
}

TEST_F(frmMainTest, DeleteEmptiesBoxesAndStateButSavesNothing) {
  Load("[Startup]\ntarget drive=X:\ntarget path=C:\\Daten\n[Data]\nlast path 1=C:\\Daten\n");
  const std::string before = ReadBytes(IniFile());
  const auto listBefore = view.folder.items;
  form.cmdDelRes_Click();
  EXPECT_EQ(launcher.commandLines, std::vector<std::wstring>{L"subst X: /d"});
  EXPECT_EQ(view.drive.text, L"");
  EXPECT_EQ(view.folder.text, L"");
  EXPECT_EQ(app.strTargetDrive, L"");
  EXPECT_EQ(app.strTargetPath, L"");
  EXPECT_EQ(view.folder.items, listBefore);
  EXPECT_EQ(app.arrLastPath[0], L"C:\\Daten");
  EXPECT_EQ(ReadBytes(IniFile()), before);
}

TEST_F(frmMainTest, DeleteThatCannotStartKeepsTheBoxes) {
  Load();
  launcher.next = {platform::LaunchStatus::kFailed, L"Zugriff verweigert"};
  Type(L"X:", L"C:\\Daten");
  form.Dispatch(CommandId::mnuDrivesDel);
  EXPECT_EQ(view.drive.text, L"X:");
  EXPECT_EQ(view.folder.text, L"C:\\Daten");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].text.find(L"Zugriff verweigert"), std::wstring::npos);
}

TEST_F(frmMainTest, MenuRelaysBehaveLikeTheButtons) {
  Load();
  Type(L"Y:", L"D:\\");
  form.Dispatch(CommandId::mnuDrivesMap);
  form.Dispatch(CommandId::cmdSubst);
  form.Dispatch(CommandId::mnuDrivesDel);
  EXPECT_EQ(launcher.commandLines,
            (std::vector<std::wstring>{L"subst Y:  D:\\", L"subst Y:  D:\\", L"subst Y: /d"}));
}

TEST_F(frmMainTest, ResetToggleFlipsMarkAndFlagWithoutSaving) {
  Load();
  form.mnuRemoveItem_Click();
  EXPECT_TRUE(view.resetMark.checked);
  EXPECT_EQ(app.blnResetRestart, kTrue);
  form.Dispatch(CommandId::mnuRemoveItem);
  EXPECT_FALSE(view.resetMark.checked);
  EXPECT_EQ(app.blnResetRestart, kFalse);
  EXPECT_FALSE(std::filesystem::exists(IniFile()));
}

TEST_F(frmMainTest, OnlyARightButtonReleaseOrTheMenuKeyOpensThePopup) {
  Load();
  form.Form_MouseUp(MouseButton::kLeft);
  form.Form_MouseUp(MouseButton::kMiddle);
  EXPECT_TRUE(view.calls.empty());
  form.Form_MouseUp(MouseButton::kRight);
  form.Form_MenuKey();
  EXPECT_EQ(view.calls, (std::vector<std::string>{"PopupMenu(mnuFile)", "PopupMenu(mnuFile)"}));
}

TEST_F(frmMainTest, CloseAppliesTheResetButTessaroBeendenDoesNot) {
  Load(
      "[Startup]\ntarget drive=X:\ntarget path=C:\\Daten\nreset restart=1\n"
      "[Data]\nnext path=2\nlast path 1=C:\\Daten\n");
  const std::string before = ReadBytes(IniFile());

  form.mnuEnd_Click();
  EXPECT_EQ(exit.ended, 1);
  EXPECT_EQ(ReadBytes(IniFile()), before);
  EXPECT_EQ(tray.removes, 1);  // no dead icon left behind

  form.Form_Unload();
  EXPECT_EQ(view.folder.text, L"");
  const AppState reloaded = Reloaded();
  EXPECT_EQ(reloaded.strTargetDrive, L"");
  EXPECT_EQ(reloaded.strTargetPath, L"");
  EXPECT_EQ(reloaded.arrLastPath[0], L"");
  EXPECT_EQ(reloaded.intNextPath, 0);
  EXPECT_EQ(reloaded.blnResetRestart, kTrue);
}

TEST_F(frmMainTest, CloseWithoutResetKeepsTheBoxAndSavesTheCurrentState) {
  Load();
  view.folder.text = L"C:\\gewaehlt";
  app.strTargetPath = L"C:\\gewaehlt";
  form.Form_Unload();
  EXPECT_EQ(view.folder.text, L"C:\\gewaehlt");
  const AppState reloaded = Reloaded();
  EXPECT_EQ(reloaded.strTargetPath, L"C:\\gewaehlt");
  EXPECT_EQ(reloaded.intNextPath, 1);
}

TEST_F(frmMainTest, ExitFromTheTrayMenuEndsAtOnceToo) {
  Load();
  form.mnuSystray_Click();
  form.Dispatch(CommandId::mnuBarEnd);
  EXPECT_EQ(exit.ended, 1);
  EXPECT_FALSE(tray.present);
  EXPECT_FALSE(std::filesystem::exists(IniFile()));
}

class TrayTest : public frmMainTest {
 protected:
  void SetUp() override { Load(); }
};

TEST_F(TrayTest, HideShowsTheIconWithItsTip_OrBringsTheWindowBackWithoutATray) {
  form.mnuSystray_Click();
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(tray.present);
  EXPECT_EQ(tray.tips, std::vector<std::wstring>{L"Tessaro - Rechte Maustaste f\u00FCr Men\u00FC"});

  form.mnuBarShowWindow_Click();
  view.calls.clear();
  tray.available = false;
  form.mnuSystray_Click();
  EXPECT_TRUE(view.visible);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"Hide", "Show"}));
}

TEST_F(TrayTest, ActivateAndShowWindowItemBothRestoreAndRemoveTheIcon) {
  form.mnuSystray_Click();
  form.TrayIcon_Event(TrayEvent::kActivate);
  EXPECT_TRUE(view.visible);
  EXPECT_FALSE(tray.present);

  form.mnuSystray_Click();
  form.Dispatch(CommandId::mnuBarShowWindow);
  EXPECT_TRUE(view.visible);
  EXPECT_FALSE(tray.present);
  EXPECT_EQ(tray.tips.size(), 2u);
}

TEST_F(TrayTest, StartedAgain_ComesOutOfTheTrayWithoutSaving) {
  form.mnuSystray_Click();
  view.calls.clear();
  form.Form_StartedAgain();
  EXPECT_EQ(view.calls, (std::vector<std::string>{"Show"}));
  EXPECT_FALSE(tray.present);
  EXPECT_FALSE(std::filesystem::exists(IniFile()));
}

TEST_F(TrayTest, MenuEventOpensTheTrayMenu) {
  form.mnuSystray_Click();
  view.calls.clear();
  form.TrayIcon_Event(TrayEvent::kMenu);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"PopupMenu(mnuBar)"}));
  EXPECT_TRUE(tray.present);
}

TEST_F(TrayTest, UnloadAsksForTheRemovalEvenWithoutAnIcon) {
  form.Form_Unload();
  EXPECT_EQ(tray.removes, 1);
}

// A disk that refuses the save, with the reason the test sets; no reason
// means the real file.
class SaveFailureTest : public frmMainTest {
 protected:
  SaveFailureTest() {
    Load();
    Type(L"X:", L"C:\\Daten");
  }
  std::wstring reason = L"Kein Platz";
  int saves = 0;
  frmMain failing{
      app,
      view,
      {folders, launcher, scanner, tray, clock, exit, version, drives, [this](const AppState&) {
         ++saves;
         return platform::WriteResult::Failed(reason);
       }}};
};

TEST_F(SaveFailureTest, MapTellsEachReasonOncePerRun) {
  failing.cmdSubst_Click();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text,
            L"Die Einstellungen konnten nicht gespeichert werden: "
            L"Kein Platz\n\n" +
                app.strIniFile);
  EXPECT_EQ(view.messages[0].kind, MessageKind::kCritical);
  EXPECT_EQ(view.messages[0].title, L"Tessaro");
  EXPECT_EQ(app.strTargetDrive, L"X:");  // the mapping itself stands

  failing.cmdSubst_Click();
  EXPECT_EQ(view.messages.size(), 1u);
  reason = L"Schreibgesch\u00FCtzt";
  failing.mnuDrivesMap_Click();
  EXPECT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(saves, 3);
}

TEST_F(SaveFailureTest, CloseTellsItEvenAfterAMap_TheSessionsEndAndTessaroBeendenDoNot) {
  failing.cmdSubst_Click();
  failing.Form_Unload();
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(view.messages[1].text, view.messages[0].text);

  failing.Form_Unload(UnloadMode::kSessionEnd);
  EXPECT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(saves, 3);  // still saved, only silently

  failing.mnuEnd_Click();
  EXPECT_EQ(saves, 3);
  EXPECT_EQ(view.messages.size(), 2u);
}

TEST_F(frmMainTest, AboutShowsTheSameMessageFromBothMenus) {
  Load();
  form.Dispatch(CommandId::mnuAbout);
  form.mnuSystray_Click();
  form.Dispatch(CommandId::mnuBarAbout);
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(view.messages[0].text, view.messages[1].text);
  EXPECT_EQ(view.messages[0].kind, MessageKind::kInformation);
  EXPECT_EQ(view.messages[0].title, L"\u00DCber...");
  EXPECT_EQ(view.messages[0].text.rfind(L"Copyright \u00A9 2026 ", 0), 0u);
  EXPECT_TRUE(tray.present);  // the About box does not bring the window back
}

}  // namespace
}  // namespace tessaro::ui

namespace tessaro::ui {
namespace {

using namespace tessaro::testing;

// A command's end, as the launcher hands it back on the UI thread.
class OutcomeTest : public ::testing::Test, protected MainFormRig {
 protected:
  void SetUp() override { form.Form_Load(); }
  void Launch(CommandId id, const std::wstring& drive, const std::wstring& folder = {}) {
    view.drive.text = drive;
    view.folder.text = folder;
    form.Dispatch(id);
  }
};

TEST_F(OutcomeTest, FailedMap_WarnsWithSubstsWords_StillRecordedAndSaved) {
  Launch(CommandId::cmdSubst, L"X:", L"C:\\Daten");
  EXPECT_TRUE(view.messages.empty());  // nothing while subst runs
  EXPECT_EQ(app.arrLastPath[1], L"C:\\Daten");
  EXPECT_TRUE(std::filesystem::exists(IniFile()));

  ASSERT_TRUE(launcher.End(0, 1, L"Drive already SUBSTed\r\n"));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text,
            L"Laufwerk X: konnte nicht mit \"C:\\Daten\" verbunden werden.\n\n"
            L"subst meldet: Drive already SUBSTed");
  EXPECT_EQ(view.messages[0].kind, MessageKind::kWarning);
  EXPECT_EQ(view.messages[0].title, L"Tessaro");
}

TEST_F(OutcomeTest, SuccessSaysNothing_FailuresAreToldEachInTheOrderTheyEnded) {
  Launch(CommandId::cmdSubst, L"X:", L"C:\\Daten");
  Launch(CommandId::mnuDrivesDel, L"Y:");
  Launch(CommandId::cmdDelRes, L"Z:");
  EXPECT_EQ(view.drive.text, L"");  // a Delete empties the boxes at once, as always
  ASSERT_TRUE(launcher.End(2, 0));
  // The Delete's box is open when the Map ends: the Map's box follows it.
  view.whileMessageShown = [&] { launcher.End(0, 3); };
  ASSERT_TRUE(launcher.End(1, 1));
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_EQ(view.messages[0].text,
            L"Laufwerk Y: konnte nicht getrennt werden.\n\nsubst endete mit Code 1.");
  EXPECT_TRUE(view.messages[1].text.starts_with(L"Laufwerk X: konnte nicht mit"));
}

TEST_F(OutcomeTest, EndAfterTheProgramLeft_TellsNothing) {
  Launch(CommandId::cmdSubst, L"X:", L"C:\\Daten");
  Launch(CommandId::cmdDelRes, L"Y:");
  form.Form_Unload();
  launcher.End(0, 1, L"zu spät");
  form.mnuEnd_Click();
  launcher.End(1, 1);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(OutcomeTest, MappingsAreReadAtEveryOpen_ChoosingFillsTheBoxes_FromTheTrayShowsTheWindow) {
  drives.mappings = {{L'P', L"C:\\Projekte"}};
  EXPECT_EQ(form.mnuMappings_Open().at(0).caption, L"P:  C:\\Projekte (Ordner fehlt)");
  drives.mappings.push_back({L'Q', L"D:\\Daten"});
  const auto& items = form.mnuMappings_Open();
  EXPECT_EQ(drives.reads, 2);
  ASSERT_EQ(items.size(), 2u);

  form.mnuMapping_Click(1, /*fromTray=*/false);
  EXPECT_EQ(view.drive.text, L"Q:");
  EXPECT_EQ(view.folder.text, L"D:\\Daten");
  EXPECT_EQ(app.strTargetDrive, L"");  // typed text until the next Map or Delete

  form.mnuSystray_Click();
  form.mnuMapping_Click(0, /*fromTray=*/true);
  EXPECT_TRUE(view.visible);
  EXPECT_FALSE(tray.present);
  EXPECT_EQ(view.drive.text, L"P:");
  EXPECT_EQ(view.folder.text, L"C:\\Projekte");

  drives.mappings.clear();
  form.mnuMappings_Open();
  form.mnuMapping_Click(0, false);  // "(keine)" does nothing
  form.mnuMapping_Click(7, false);
  EXPECT_EQ(view.drive.text, L"P:");
}

}  // namespace
}  // namespace tessaro::ui
