#include <fstream>

#include <gtest/gtest.h>

#include "QtTestSupport.h"
#include "ui/qt/DirectoryListing.h"
#include "ui/qt/DriveTable.h"

namespace tessaro::ui::qt {
namespace {

class DriveTableTest : public ::testing::Test {
 protected:
  DriveTable table_ = DriveTable::FromLinks({{'X', "/home/anna/Daten"},
                                             {'Y', "/home/anna/Daten/Fotos/"},
                                             {'C', "/srv"},
                                             {'R', "relativ/pfad"}});
};

TEST_F(DriveTableTest, Drives_RootAsCThenLinksLeavingOutCAndRelative) {
  ASSERT_EQ(table_.Drives().size(), 3u);
  EXPECT_EQ(table_.Drives()[0].text, L"c:");
  EXPECT_EQ(table_.Drives()[1].text, L"x: [/home/anna/Daten]");
  EXPECT_EQ(table_.Drives()[2].text, L"y: [/home/anna/Daten/Fotos]");
}

TEST_F(DriveTableTest, SlashPath_LongestHoldingFolderWins) {
  EXPECT_EQ(table_.IndexForText(L"/home/anna/Daten/Fotos/2020"), 2);
  EXPECT_EQ(table_.IndexForText(L"/home/anna/Daten/Fotos"), 2);
  EXPECT_EQ(table_.IndexForText(L"/home/anna/Daten/Briefe"), 1);
  EXPECT_EQ(table_.IndexForText(L"/home/anna/Daten"), 1);
}

TEST_F(DriveTableTest, SlashPath_OnlyWholeComponentsMatch) {
  EXPECT_EQ(table_.IndexForText(L"/home/anna/Daten2"), 0);
  EXPECT_EQ(table_.IndexForText(L"/home/anna/Daten/Fotos-alt"), 1);
  EXPECT_EQ(table_.IndexForText(L"/"), 0);
}

TEST_F(DriveTableTest, OtherText_FirstCharacterNamesTheDrive) {
  EXPECT_EQ(table_.IndexForText(L"x: [/home/anna/Daten]"), 1);
  EXPECT_EQ(table_.IndexForText(L"Y:"), 2);
  EXPECT_EQ(table_.IndexForText(L"c"), 0);
  EXPECT_EQ(table_.IndexForText(L"q:"), -1);
  EXPECT_EQ(table_.IndexForText(L"relativ"), -1);
  EXPECT_EQ(table_.IndexForText(L""), -1);
}

TEST(DirectoryListingTest, FoldersAndFilesApart_HiddenLeftOut_SortedIgnoringCase) {
  testing::TempFolder temp;
  const auto& root = temp.Path();
  std::filesystem::create_directories(root / "beta");
  std::filesystem::create_directories(root / "Alpha");
  std::filesystem::create_directories(root / ".cache");
  std::filesystem::create_directory_symlink(root / "beta", root / "zu-beta");
  std::ofstream(root / "b.txt") << "";
  std::ofstream(root / "A.txt") << "";
  std::ofstream(root / ".profile") << "";
  std::filesystem::create_symlink(root / "nirgends", root / "kaputt");

  const auto folders = ListDirectory(root.string(), ListWhat::kFolders);
  ASSERT_TRUE(folders);
  EXPECT_EQ(*folders, (std::vector<std::string>{"Alpha", "beta", "zu-beta"}));
  const auto files = ListDirectory(root.string(), ListWhat::kFiles);
  ASSERT_TRUE(files);
  EXPECT_EQ(*files, (std::vector<std::string>{"A.txt", "b.txt", "kaputt"}));
}

TEST(DirectoryListingTest, MissingOrEmptyPath_Nothing) {
  EXPECT_FALSE(ListDirectory("/gibt/es/nicht", ListWhat::kFiles));
  EXPECT_FALSE(ListDirectory("", ListWhat::kFolders));
}

}  // namespace
}  // namespace tessaro::ui::qt
