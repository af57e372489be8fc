// The real subst, beside this test program as it is beside tessaro: Map makes
// the drive reach the folder through the drives folder, Delete removes it.
#include <QTest>

#include <fstream>

#include "ProgramFixture.h"

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

}  // namespace
}  // namespace tessaro::ui::qt::testing
