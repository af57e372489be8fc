#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <fstream>

#include "ProgramFixture.h"
#include "support/UiFakes.h"
#include "ui/Layout.h"
#include "ui/qt/Geometry.h"
#include "ui/qt/OpenPathDialog.h"

namespace tessaro::ui::qt::testing {
namespace {

// The folder dialog opened from the main window's buttons, answered while it
// runs modally.
class OpenPathDialogTest : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    data_ = MakeFolder("Daten");
    std::filesystem::create_directories(data_ / "Briefe");
    std::filesystem::create_directories(data_ / "alt");
    std::filesystem::create_directories(data_ / ".versteckt");
    std::ofstream(data_ / "liste.txt") << "1";
    std::ofstream(data_ / "Angebot.pdf") << "2";
    std::ofstream(data_ / ".geheim") << "3";
  }

  // Clicks the button and hands the open dialog to the action; the action
  // must leave the dialog.
  void OpenWith(const char* button, const std::function<void(OpenPathDialog&)>& action) {
    bool seen = false;
    ModalAnswerer answer([&](QWidget& modal) {
      auto* dialog = dynamic_cast<OpenPathDialog*>(&modal);
      ASSERT_NE(dialog, nullptr);
      seen = true;
      action(*dialog);
    });
    QTest::mouseClick(Button(button), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }

  static void ClickItem(DirListBox& list, const QString& caption, bool twice) {
    // Clicks in quick succession would pair up into a double click.
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    const auto items = list.findItems(caption, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << caption.toStdString();
    // The view lays out new rows a moment after they were filled in.
    list.scrollToItem(items.front());
    ASSERT_TRUE(WaitFor([&] { return list.visualItemRect(items.front()).isValid(); }));
    const QRect area = list.visualItemRect(items.front());
    // A double click reaches a widget as press, release, double click.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, area.center());
    if (twice) QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, area.center());
  }

  QString Q(const std::filesystem::path& path) const {
    return QString::fromStdString(path.string());
  }

  std::filesystem::path data_;
};

TEST_F(OpenPathDialogTest, Layout_CaptionButtonsAndFixedSize) {
  Start();
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tessaro - Ordner auswählen"));
    EXPECT_EQ(dialog.OKButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Abbrechen"));
    EXPECT_FALSE(dialog.OKButton()->autoDefault());
    EXPECT_FALSE(dialog.CancelButton()->autoDefault());
    const QRect client = TwipsRect(dialog, 0, 0, 6630, 3495);
    EXPECT_EQ(dialog.minimumSize(), client.size());
    EXPECT_EQ(dialog.maximumSize(), client.size());
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(dialog.isModal());
    // Owned by the main window, so it cannot open behind it.
    EXPECT_EQ(dialog.parentWidget(), window_.get());
    EXPECT_EQ(dialog.Drive1List()->accessibleName(), QStringLiteral("Laufwerke"));
    EXPECT_EQ(dialog.Dir1List()->accessibleName(), QStringLiteral("Ordner"));
    EXPECT_EQ(dialog.File1List()->accessibleName(), QStringLiteral("Dateien"));
    // The form's design: left, top, width and height in twips.
    const struct {
      const char* name;
      int left, top, width, height;
    } design[] = {
        {"OKButton", 5280, 120, 1215, 375}, {"CancelButton", 5280, 600, 1215, 375},
        {"Drive1", 120, 120, 4960, 315},    {"Dir1", 120, 480, 2535, 2790},
        {"File1", 2760, 480, 2295, 2820},
    };
    for (const auto& control : design) {
      auto* widget = dialog.findChild<QWidget*>(control.name);
      ASSERT_NE(widget, nullptr) << control.name;
      EXPECT_EQ(widget->geometry(),
                TwipsRect(dialog, control.left, control.top, control.width, control.height))
          << control.name;
    }
    // The dialog becomes the active window a moment after it turns modal.
    EXPECT_TRUE(WaitFor([&] { return QApplication::focusWidget() == dialog.OKButton(); }));
    dialog.CancelButton()->click();
  });
}

TEST_F(OpenPathDialogTest, EmptyFolderBox_StartsInDocuments) {
  Start();
  Box("cboLocRes")->setEditText(QString());
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    EXPECT_EQ(dialog.Dir1().Path(), documents_.wstring());
    dialog.OKButton()->click();
  });
  EXPECT_EQ(Box("cboLocRes")->currentText(), Q(documents_));
  EXPECT_EQ(state_.strTargetPath, documents_.wstring());
}

TEST_F(OpenPathDialogTest, FolderBoxHoldsFolder_AllListsStartThere) {
  Start();
  Box("cboLocRes")->setEditText(Q(data_));
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    EXPECT_EQ(dialog.Drive1().Drive(), L"c:");
    EXPECT_EQ(dialog.Dir1().Path(), data_.wstring());
    EXPECT_EQ(dialog.Browser().FilesFolder(), data_.wstring());
    // Hidden files stay out; names sorted without regard to case.
    EXPECT_EQ(dialog.File1List()->Names(),
              (QStringList{QStringLiteral("Angebot.pdf"), QStringLiteral("liste.txt")}));
    QStringList shown;
    for (int i = 0; i < dialog.Dir1List()->count(); ++i)
      shown << dialog.Dir1List()->item(i)->text();
    // The path from the root down, then the subfolders.
    QStringList expected{QStringLiteral("/")};
    for (const auto& part : data_.relative_path()) expected << Q(part);
    expected << QStringLiteral("alt") << QStringLiteral("Briefe");
    EXPECT_EQ(shown, expected);
    dialog.CancelButton()->click();
  });
}

TEST_F(OpenPathDialogTest, SingleClickHighlights_DoubleClickOpens) {
  Start();
  Box("cboLocRes")->setEditText(Q(data_));
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    ClickItem(*dialog.Dir1List(), QStringLiteral("Briefe"), false);
    EXPECT_EQ(dialog.Dir1().Path(), data_.wstring());
    ClickItem(*dialog.Dir1List(), QStringLiteral("Briefe"), true);
    EXPECT_EQ(dialog.Dir1().Path(), (data_ / "Briefe").wstring());
    EXPECT_EQ(dialog.Browser().FilesFolder(), (data_ / "Briefe").wstring());
    // One level up again through the path part of the list.
    ClickItem(*dialog.Dir1List(), QStringLiteral("Daten"), true);
    EXPECT_EQ(dialog.Dir1().Path(), data_.wstring());
    ClickItem(*dialog.Dir1List(), QStringLiteral("alt"), false);
    // Enter on the focused OK presses it.
    dialog.OKButton()->setFocus();
    QTest::keyClick(dialog.OKButton(), Qt::Key_Return);
  });
  // The open directory is taken, not the highlighted one.
  EXPECT_EQ(Box("cboLocRes")->currentText(), Q(data_));
}

TEST_F(OpenPathDialogTest, AbbrechenAfterBrowsing_ChangesNothing) {
  Start();
  Box("cboLocRes")->setEditText(Q(data_));
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    ClickItem(*dialog.Dir1List(), QStringLiteral("alt"), true);
    dialog.CancelButton()->click();
  });
  EXPECT_EQ(Box("cboLocRes")->currentText(), Q(data_));
  EXPECT_TRUE(state_.strTargetPath.empty());
}

TEST_F(OpenPathDialogTest, CloseBox_LikeAbbrechen_EscapeDoesNothing) {
  Start();
  Box("cboLocRes")->setEditText(Q(data_));
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    ClickItem(*dialog.Dir1List(), QStringLiteral("alt"), true);
    dialog.close();
  });
  EXPECT_EQ(Box("cboLocRes")->currentText(), Q(data_));
}

TEST_F(OpenPathDialogTest, DriveMode_SubstDriveListedAndTaken) {
  const auto drives = runtime_ / "tessaro" / "drives";
  std::filesystem::create_directories(drives);
  // As subst makes them: the dialog trusts no drives from an open folder.
  std::filesystem::permissions(drives.parent_path(), std::filesystem::perms::owner_all);
  std::filesystem::permissions(drives, std::filesystem::perms::owner_all);
  std::filesystem::create_directory_symlink(data_, drives / "Q:");
  Start();
  Box("cboDrive")->setEditText(QStringLiteral("A:"));
  OpenWith("cmdOpenDrive", [&](OpenPathDialog& dialog) {
    DriveListBox& list = *dialog.Drive1List();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.itemText(0), QStringLiteral("c:"));
    EXPECT_EQ(list.itemText(1), QStringLiteral("q: [") + Q(data_) + QStringLiteral("]"));
    // Right after start the drive button starts in the documents folder.
    EXPECT_EQ(dialog.Dir1().Path(), documents_.wstring());
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(dialog.Drive1().Drive(), L"q: [" + data_.wstring() + L"]");
    EXPECT_EQ(dialog.Dir1().Path(), data_.wstring());
    EXPECT_EQ(dialog.Browser().FilesFolder(), data_.wstring());
    dialog.OKButton()->click();
  });
  EXPECT_EQ(Box("cboDrive")->currentText(), QStringLiteral("Q:"));
  EXPECT_EQ(Box("cboLocRes")->currentText(), Q(data_));
}

TEST_F(OpenPathDialogTest, FolderBoxNotAFolder_OpensAllTheSame) {
  Start();
  Box("cboLocRes")->setEditText(QStringLiteral("kein/ordner \u00e4"));
  OpenWith("cmdOpenPath", [&](OpenPathDialog& dialog) {
    EXPECT_FALSE(dialog.Dir1().Path().empty());
    dialog.OKButton()->click();
  });
}

// The dialog browses through the logic's scanner: here a made-up file
// system, read only by the dialog's wiring.
TEST(OpenPathDialogWiringTest, BrowsesTheScannerItIsGiven_DriveListNamedForScreenReaders) {
  tessaro::testing::FakeFolderScanner scanner;
  scanner.drives = {{L'c', L"/", L""}, {L'x', L"/srv/daten", L"/srv/daten"}};
  scanner.folders = {{L"/", {{L"srv"}, {}}}, {L"/srv/daten", {{L"Briefe"}, {L"liste.txt"}}}};
  scanner.cwd = L"/";
  tessaro::testing::FakeOpenPathLogic open(scanner, L"/srv/daten");

  OpenPathDialog dialog(open.logic, nullptr);
  dialog.Load();
  EXPECT_EQ(dialog.Drive1List()->currentText(), QStringLiteral("x: [/srv/daten]"));
  QStringList lines;
  for (int i = 0; i < dialog.Dir1List()->count(); ++i) lines << dialog.Dir1List()->item(i)->text();
  EXPECT_EQ(lines, (QStringList{QStringLiteral("/srv/daten"), QStringLiteral("Briefe")}));
  EXPECT_EQ(dialog.File1List()->Names(), QStringList{QStringLiteral("liste.txt")});
  // Qt's own interface would answer with the drive's text.
  QAccessibleInterface* drives = QAccessible::queryAccessibleInterface(dialog.Drive1List());
  ASSERT_NE(drives, nullptr);
  EXPECT_EQ(drives->role(), QAccessible::ComboBox);
  EXPECT_EQ(drives->text(QAccessible::Name), QStringLiteral("Laufwerke"));
  EXPECT_EQ(drives->text(QAccessible::Value), QStringLiteral("x: [/srv/daten]"));

  QTest::mouseClick(dialog.OKButton(), Qt::LeftButton);
  EXPECT_EQ(open.cboDrive.text, L"X:");
  EXPECT_EQ(open.cboLocRes.text, L"/srv/daten");
  open.logic.Detach();
}

}  // namespace
}  // namespace tessaro::ui::qt::testing
