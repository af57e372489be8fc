#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TurkishLocale.h"
#include "support/UiFakes.h"
#include "ui/frmMain.h"
#include "ui/frmOpenPath.h"

namespace tessaro::ui {
namespace {

using namespace tessaro::testing;

// Three drives as a Windows system shows them, started in C:\Windows.
FakeFolderScanner ThreeDrives() {
  FakeFolderScanner scanner;
  scanner.style = {L'\\'};
  scanner.drives = {
      {L'c', L"C:\\", L"System"}, {L'd', L"D:\\", L"Daten"}, {L'z', L"Z:\\", L"\\\\server\\share"}};
  scanner.folders = {{L"C:\\Windows", {}},
                     {L"C:\\Users\\anna\\Documents", {}},
                     {L"D:\\", {{L"Daten"}, {}}},
                     {L"D:\\Daten", {{L"Fotos"}, {L"liste.txt"}}},
                     {L"Z:\\", {}}};
  scanner.cwd = L"C:\\Windows";
  return scanner;
}

using Lists = std::vector<std::wstring>;

class frmOpenPathTest : public ::testing::Test {
 protected:
  frmOpenPathTest() {
    folders.folders[platform::KnownFolder::kDocuments] = L"C:\\Users\\anna\\Documents";
  }

  void Open(Bool16 pathMode, Bool16 prefill, const std::wstring& folderBox = {}) {
    app.blnPathMode = pathMode;
    app.blnPrefill = prefill;
    cboLocRes.text = folderBox;
    view.Load(dialog);
  }
  // The drive, the open directory and the folder the file list shows.
  Lists Shown() {
    return {view.Drive1().Drive(), view.Dir1().Path(), view.Browser().FilesFolder()};
  }

  FakeKnownFolders folders;
  AppState app;
  FakeComboBox cboDrive;
  FakeComboBox cboLocRes;
  FakeFolderScanner scanner = ThreeDrives();
  FakeOpenPathView view{scanner};
  frmOpenPath dialog{app, cboDrive, cboLocRes, folders, scanner};
};

TEST_F(frmOpenPathTest, WithoutPrefillStartsInTheDocumentsFolder) {
  Open(kTrue, kFalse, L"ignored");
  EXPECT_EQ(view.caption, L"Tessaro - Ordner ausw\u00E4hlen");
  EXPECT_EQ(dialog.strPath(), L"C:\\Users\\anna\\Documents");
  EXPECT_EQ(Shown(),
            (Lists{L"c: [System]", L"C:\\Users\\anna\\Documents", L"C:\\Users\\anna\\Documents"}));
}

TEST_F(frmOpenPathTest, PrefillOpensAllListsAtTheFolderBoxText) {
  Open(kTrue, kTrue, L"D:\\Daten");
  EXPECT_EQ(Shown(), (Lists{L"d: [Daten]", L"D:\\Daten", L"D:\\Daten"}));
  EXPECT_EQ(view.Browser().Files(), Lists{L"liste.txt"});
  // The drive change moved the directory list along before the folder was set.
  EXPECT_EQ(scanner.scans[L"D:\\"], 1);
  // A picked drive moves the directory list back, and that the file list.
  ASSERT_TRUE(view.Browser().PickDrive(0));
  EXPECT_EQ(Shown(), (Lists{L"c: [System]", L"C:\\Windows", L"C:\\Windows"}));
}

TEST_F(frmOpenPathTest, MissingFolderOnAnExistingDriveLeavesTheDrivesDirectory) {
  Open(kTrue, kTrue, L"D:\\Fehlt");
  EXPECT_EQ(Shown(), (Lists{L"d: [Daten]", L"D:\\", L"D:\\"}));
  EXPECT_EQ(dialog.strPath(), L"D:\\Fehlt");  // until OK replaces it
  dialog.OKButton_Click();
  EXPECT_EQ(cboLocRes.text, L"D:\\");
  EXPECT_EQ(app.strTargetPath, L"D:\\");
}

TEST_F(frmOpenPathTest, UnusableStartTextsLeaveTheListsWhereTheyWere) {
  for (const std::wstring start : {L"Q:\\nirgends", L"   ", L""}) {
    Open(kTrue, kTrue, start);
    EXPECT_EQ(Shown(), (Lists{L"c: [System]", L"C:\\Windows", L"C:\\Windows"})) << start;
  }
  folders.folders.clear();  // the documents folder cannot be found
  Open(kTrue, kFalse);
  EXPECT_EQ(dialog.strPath(), L"");
  EXPECT_EQ(view.caption, L"Tessaro - Ordner ausw\u00E4hlen");
}

TEST_F(frmOpenPathTest, EachLoadStepStandsAlone) {
  scanner.notReady = L'd';
  Open(kTrue, kTrue, L"D:\\Daten");
  EXPECT_EQ(Shown(), (Lists{L"c: [System]", L"D:\\Daten", L"D:\\Daten"}));
}

TEST_F(frmOpenPathTest, FolderModeOkTakesTheOpenDirectoryOnly) {
  cboDrive.text = L"X:";
  Open(kTrue, kTrue, L"D:\\Daten");
  dialog.OKButton_Click();
  EXPECT_EQ(cboLocRes.text, L"D:\\Daten");
  EXPECT_EQ(app.strTargetPath, L"D:\\Daten");
  EXPECT_EQ(cboDrive.text, L"X:");
  EXPECT_TRUE(view.unloaded);
}

TEST_F(frmOpenPathTest, DriveModeOkHandsOverUpperCasedLetterAndColon) {
  Open(kFalse, kTrue, L"Z:\\");
  dialog.OKButton_Click();
  EXPECT_EQ(dialog.strDrive(), L"z: [\\\\server\\share]");
  EXPECT_EQ(cboDrive.text, L"Z:");
  EXPECT_EQ(cboLocRes.text, L"Z:\\");
  EXPECT_EQ(app.strTargetPath, L"Z:\\");
}

TEST_F(frmOpenPathTest, DriveModeOkUpperCasesTheLetterAsAsciiUnderATurkishLocale) {
  const TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this system";
  scanner.drives.push_back({L'i', L"I:\\", L""});
  Open(kFalse, kTrue, L"I:\\");
  dialog.TakeDriveAndFolder();
  EXPECT_EQ(cboDrive.text, L"I:");
}

TEST_F(frmOpenPathTest, AnyModeOtherThanMinusOneIsDriveMode) {
  Open(5, kTrue, L"D:\\Daten");
  dialog.OKButton_Click();
  EXPECT_EQ(cboDrive.text, L"D:");
}

TEST_F(frmOpenPathTest, WithoutDrivesTheEmptyDriveTextIsTakenWhole) {
  scanner.drives.clear();
  Open(kFalse, kTrue, L"D:\\Daten");
  dialog.TakeDriveAndFolder();
  EXPECT_EQ(cboDrive.text, L"");
  EXPECT_EQ(cboLocRes.text, L"D:\\Daten");
}

TEST_F(frmOpenPathTest, CancelChangesNothing) {
  cboDrive.text = L"X:";
  app.strTargetPath = L"C:\\vorher";
  Open(kFalse, kTrue, L"D:\\Daten");
  dialog.CancelButton_Click();
  EXPECT_TRUE(view.unloaded);
  EXPECT_EQ(cboDrive.text, L"X:");
  EXPECT_EQ(cboLocRes.text, L"D:\\Daten");
  EXPECT_EQ(app.strTargetPath, L"C:\\vorher");
}

// A list that cannot go somewhere answers false; an exception is a fault
// for the front end's boundary, not a step to skip silently.
TEST_F(frmOpenPathTest, AnExceptionReachesTheFrontEndsBoundary) {
  view.captionThrows = true;
  EXPECT_THROW(Open(kTrue, kFalse), std::runtime_error);
}

// The main window decides the start folder through blnPrefill.
class DialogFromMainTest : public ::testing::Test, protected MainFormRig {
 protected:
  DialogFromMainTest() {
    view.answerDialog = [this](frmOpenPath& d) {
      FakeOpenPathView lists(d.FolderScanner());
      lists.Load(d);
      starts.push_back(d.strPath());
      d.CancelButton_Click();
      d.Detach();
    };
    form.Form_Load();
  }

  std::vector<std::wstring> starts;
};

TEST_F(DialogFromMainTest, DriveButtonFollowsTheLastFolderButtonPrefill) {
  form.cmdOpenDrive_Click();  // before any folder-button click: documents
  view.folder.text = L"D:\\Daten";
  form.cmdOpenPath_Click();
  view.folder.text = L"";
  form.cmdOpenDrive_Click();  // prefill stays set although the box is empty now
  view.folder.text = L"   ";
  form.cmdOpenPath_Click();  // blanks count as text
  EXPECT_EQ(starts,
            (std::vector<std::wstring>{L"C:\\Users\\anna\\Documents", L"D:\\Daten", L"", L"   "}));
  EXPECT_EQ(app.blnPathMode, kTrue);
  EXPECT_EQ(view.dialogs.size(), 1u);  // one dialog object for the whole run
}

}  // namespace
}  // namespace tessaro::ui
