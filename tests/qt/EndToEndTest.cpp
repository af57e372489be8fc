// The real subst, beside this test program as it is beside tessaro: Map makes
// the drive reach the folder through the drives folder, Delete removes it.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include <fstream>

#include "ProgramFixture.h"
#include "ui/qt/OpenPathDialog.h"

namespace tessaro::ui::qt::testing {
namespace {

class EndToEndTest : public ProgramFixture {};

TEST_F(EndToEndTest, MapThenDelete_DriveLinkComesAndGoes) {
  Start();
  const auto folder = MakeFolder("Meine Daten");
  std::ofstream(folder / "brief.txt") << "hallo";
  const auto link = runtime_ / "tessaro" / "drives" / "X:";

  Box("cboDrive")->setEditText(QStringLiteral("X:"));
  Box("cboLocRes")->setEditText(QString::fromStdString(folder.string()));
  QTest::mouseClick(Button("cmdSubst"), Qt::LeftButton);
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(link / "brief.txt"); }));
  EXPECT_EQ(std::filesystem::read_symlink(link), folder);

  Box("cboDrive")->setEditText(QStringLiteral("X:"));
  QTest::mouseClick(Button("cmdDelRes"), Qt::LeftButton);
  EXPECT_TRUE(
      WaitFor([&] { return !std::filesystem::exists(std::filesystem::symlink_status(link)); }));
  EXPECT_TRUE(std::filesystem::exists(folder / "brief.txt"));
}

// A folder named by a byte that is not UTF-8 shows a stand-in in the dialog,
// opens there and maps by its real name.
TEST_F(EndToEndTest, FolderNamedByANonUtf8ByteOpensInTheDialogAndMaps) {
  Start();
  const auto parent = MakeFolder("Ablage");
  const auto folder = parent / std::string("Daten\xFF");
  std::filesystem::create_directory(folder);
  std::ofstream(folder / "brief.txt") << "hallo";

  Box("cboLocRes")->setEditText(QString::fromStdString(parent.string()));
  ModalAnswerer answer([&](QWidget& modal) {
    auto& dialog = dynamic_cast<OpenPathDialog&>(modal);
    DirListBox& list = *dialog.Dir1List();
    const auto items = list.findItems(QStringLiteral("Daten\uFFFD"), Qt::MatchExactly);
    EXPECT_EQ(items.size(), 1);
    if (!items.empty()) list.setCurrentItem(items.front());
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(dialog.File1List()->Names(), QStringList{QStringLiteral("brief.txt")});
    QTest::mouseClick(dialog.OKButton(), Qt::LeftButton);
  });
  QTest::mouseClick(Button("cmdOpenPath"), Qt::LeftButton);
  ASSERT_TRUE(answer.Answered());

  Box("cboDrive")->setEditText(QStringLiteral("X:"));
  QTest::mouseClick(Button("cmdSubst"), Qt::LeftButton);
  const auto link = runtime_ / "tessaro" / "drives" / "X:";
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(link / "brief.txt"); }));
  EXPECT_EQ(std::filesystem::read_symlink(link), folder);
}

}  // namespace
}  // namespace tessaro::ui::qt::testing

namespace tessaro::ui::qt::testing {
namespace {

class MappingsListTest : public ProgramFixture {
 protected:
  // subst run as from a console, beside this program as it is beside tessaro.
  void Subst(const QStringList& arguments) {
    const QString subst = QCoreApplication::applicationDirPath() + QStringLiteral("/subst");
    ASSERT_EQ(QProcess::execute(subst, arguments), 0) << arguments.join(' ').toStdString();
  }

  // Opens "Local Mappings" as the menu does and returns its mapping items.
  std::vector<QAction*> Open(bool tray) {
    QMenu* menu = window_->MappingsMenu(tray);
    menu->popup(QPoint(0, 0));
    EXPECT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    menu->hide();
    std::vector<QAction*> items;
    const QList<QAction*> actions = menu->actions();
    for (qsizetype i = 3; i < actions.size(); ++i) items.push_back(actions[i]);
    return items;
  }

  static std::vector<std::string> Texts(const std::vector<QAction*>& items) {
    std::vector<std::string> texts;
    for (const QAction* item : items) texts.push_back(item->text().toStdString());
    return texts;
  }
};

TEST_F(MappingsListTest, MappingsOfSubst_AreListed_MissingFolderMarked_ChoosingFillsTheBoxes) {
  Start();
  EXPECT_EQ(Texts(Open(false)), std::vector<std::string>{"(keine)"});
  EXPECT_FALSE(Open(false).at(0)->isEnabled());

  const auto kept = MakeFolder("Tom & Jerry");
  const auto gone = MakeFolder("weg");
  Subst({QStringLiteral("Q:"), QString::fromStdString(gone.string())});
  Subst({QStringLiteral("P:"), QString::fromStdString(kept.string())});
  std::filesystem::remove(gone);

  const auto items = Open(false);
  EXPECT_EQ(Texts(items),
            (std::vector<std::string>{"P:  " + std::string(kept.parent_path()) + "/Tom && Jerry",
                                      "Q:  " + gone.string() + " (Ordner fehlt)"}));
  items.at(0)->trigger();
  EXPECT_EQ(Box("cboDrive")->currentText(), QStringLiteral("P:"));
  EXPECT_EQ(Box("cboLocRes")->currentText().toStdString(), kept.string());

  // From the tray: the window comes back with the boxes filled; Delete there
  // removes the mapping.
  window_->Action(CommandId::mnuSystray)->trigger();
  ASSERT_FALSE(window_->isVisible());
  Open(true).at(1)->trigger();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Box("cboDrive")->currentText(), QStringLiteral("Q:"));
  window_->Action(CommandId::mnuDrivesDel)->trigger();
  EXPECT_TRUE(WaitFor([&] { return Open(true).size() == 1; }));
  EXPECT_EQ(Texts(Open(true)).at(0).substr(0, 4), "P:  ");
}

}  // namespace
}  // namespace tessaro::ui::qt::testing
