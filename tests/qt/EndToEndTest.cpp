// The real subst, beside this test program as it is beside tessaro: Map makes
// the drive reach the folder through the drives folder, Delete removes it.
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
