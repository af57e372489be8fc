#include <gtest/gtest.h>

#include <stdexcept>

#include "support/TurkishLocale.h"
#include "support/UiFakes.h"
#include "ui/frmMain.h"
#include "ui/frmOpenPath.h"

namespace tessaro::ui {
namespace {

using namespace tessaro::testing;

class frmOpenPathTest : public ::testing::Test {
 protected:
  frmOpenPathTest() {
    folders.folders[platform::KnownFolder::kDocuments] = L"C:\\Users\\anna\\Documents";
    view.dialog = &dialog;
    dialog.Attach(view);
  }

  void Open(Bool16 pathMode, Bool16 prefill, const std::wstring& folderBox = {}) {
    app.blnPathMode = pathMode;
    app.blnPrefill = prefill;
    cboLocRes.text = folderBox;
    dialog.Form_Load();
  }

  FakeKnownFolders folders;
  AppState app;
  FakeComboBox cboDrive;
  FakeComboBox cboLocRes;
  FakeOpenPathView view;
  FakeFolderScanner scanner;
  frmOpenPath dialog{app, cboDrive, cboLocRes, folders, scanner};
};

TEST_F(frmOpenPathTest, WithoutPrefillStartsInTheDocumentsFolder) {
  Open(kTrue, kFalse, L"ignored");
  EXPECT_EQ(view.caption, L"Tessaro - Ordner ausw\u00E4hlen");
  EXPECT_EQ(dialog.strPath(), L"C:\\Users\\anna\\Documents");
  EXPECT_EQ(view.dir1.path, L"C:\\Users\\anna\\Documents");
  EXPECT_EQ(view.file1.path, L"C:\\Users\\anna\\Documents");
}

TEST_F(frmOpenPathTest, PrefillOpensAllListsAtTheFolderBoxText) {
  Open(kTrue, kTrue, L"D:\\Daten");
  EXPECT_EQ(view.drive1.current, L"d: [Daten]");
  EXPECT_EQ(view.dir1.path, L"D:\\Daten");
  EXPECT_EQ(view.file1.path, L"D:\\Daten");
  // The drive change moved the directory list along before the folder was set.
  EXPECT_EQ(view.log,
            (std::vector<std::wstring>{L"Drive1=D:\\Daten", L"Dir1=d: [Daten]", L"File1=D:\\",
                                       L"Dir1=D:\\Daten", L"File1=D:\\Daten", L"File1=D:\\Daten"}));
}

TEST_F(frmOpenPathTest, MissingFolderOnAnExistingDriveLeavesTheDrivesDirectory) {
  Open(kTrue, kTrue, L"D:\\Fehlt");
  EXPECT_EQ(view.drive1.current, L"d: [Daten]");
  EXPECT_EQ(view.dir1.path, L"D:\\");
  EXPECT_EQ(dialog.strPath(), L"D:\\Fehlt");  // until OK replaces it
  dialog.OKButton_Click();
  EXPECT_EQ(cboLocRes.text, L"D:\\");
  EXPECT_EQ(app.strTargetPath, L"D:\\");
}

TEST_F(frmOpenPathTest, UnusableStartTextsLeaveTheListsWhereTheyWere) {
  for (const std::wstring start : {L"Q:\\nirgends", L"   ", L""}) {
    Open(kTrue, kTrue, start);
    EXPECT_EQ(view.drive1.current, L"c: [System]") << start;
    EXPECT_EQ(view.dir1.path, L"C:\\Windows") << start;
  }
  folders.folders.clear();  // the documents folder cannot be found
  Open(kTrue, kFalse);
  EXPECT_EQ(dialog.strPath(), L"");
  EXPECT_EQ(view.caption, L"Tessaro - Ordner ausw\u00E4hlen");
}

TEST_F(frmOpenPathTest, EachLoadStepStandsAlone) {
  view.drive1.failSetDrive = true;
  Open(kTrue, kTrue, L"C:\\Users\\anna\\Documents");
  EXPECT_EQ(view.dir1.path, L"C:\\Users\\anna\\Documents");
  EXPECT_EQ(view.file1.path, L"C:\\Users\\anna\\Documents");
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
  Open(kFalse, kTrue, L"D:\\Daten");
  view.drive1.current = L"i: [Daten]";
  dialog.TakeDriveAndFolder();
  EXPECT_EQ(cboDrive.text, L"I:");
}

TEST_F(frmOpenPathTest, AnyModeOtherThanMinusOneIsDriveMode) {
  Open(5, kTrue, L"D:\\Daten");
  dialog.OKButton_Click();
  EXPECT_EQ(cboDrive.text, L"D:");
}

TEST_F(frmOpenPathTest, ShortDriveTextIsTakenWhole) {
  Open(kFalse, kTrue, L"D:\\Daten");
  view.drive1.current = L"d";
  dialog.TakeDriveAndFolder();
  EXPECT_EQ(cboDrive.text, L"D");
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
class ThrowingCaptionView final : public ui::IOpenPathView {
 public:
  ui::IDriveList& Drive1() override { return inner.drive1; }
  ui::IDirList& Dir1() override { return inner.dir1; }
  ui::IFileList& File1() override { return inner.file1; }
  void SetCaption(const std::wstring&) override { throw std::runtime_error("no caption"); }
  void Unload() override {}
  FakeOpenPathView inner;
};

TEST_F(frmOpenPathTest, AnExceptionReachesTheFrontEndsBoundary) {
  ThrowingCaptionView throwing;
  dialog.Attach(throwing);
  EXPECT_THROW(dialog.Form_Load(), std::runtime_error);
}

// The main window decides the start folder through blnPrefill.
class DialogFromMainTest : public ::testing::Test, protected MainFormRig {
 protected:
  DialogFromMainTest() {
    view.answerDialog = [this](frmOpenPath& d) {
      FakeOpenPathView lists;
      lists.dialog = &d;
      d.Attach(lists);
      d.Form_Load();
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
