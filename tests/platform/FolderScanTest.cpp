#ifndef _WIN32

#include <gtest/gtest.h>

#include <fstream>

#include "FolderScanPosix.h"
#include "support/Files.h"
#include "support/TurkishLocale.h"

namespace tessaro::platform {
namespace {

TEST(DriveRootsTest, RootAsCThenLinksLeavingOutCAndRelative) {
  const auto drives = DriveRootsFromLinks({{'X', "/home/anna/Daten"},
                                           {'Y', "/home/anna/Daten/Fotos/"},
                                           {'C', "/srv"},
                                           {'R', "relativ/pfad"}});
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].folder, L"/");
  EXPECT_EQ(drives[0].detail, L"");
  EXPECT_EQ(drives[1].letter, L'x');
  EXPECT_EQ(drives[1].detail, L"/home/anna/Daten");
  EXPECT_EQ(drives[2].folder, L"/home/anna/Daten/Fotos");
}

TEST(DriveRootsTest, LetterFoldsAsAsciiUnderATurkishLocale) {
  const testing::TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this system";
  const auto drives = DriveRootsFromLinks({{'I', "/srv"}});
  ASSERT_EQ(drives.size(), 2u);
  EXPECT_EQ(drives[1].letter, L'i');
}

TEST(FolderScanTest, FoldersAndFilesApart_HiddenLeftOut_SortedIgnoringCase) {
  testing::TempFolder temp;
  const auto& root = temp.Path();
  std::filesystem::create_directories(root / "beta");
  std::filesystem::create_directories(root / "Alpha");
  std::filesystem::create_directories(root / ".cache");
  std::filesystem::create_directory_symlink(root / "beta", root / "zu-beta");
  std::ofstream(root / "b.txt") << "";
  std::ofstream(root / "A.txt") << "";
  std::ofstream(root / "\xC3\xA4rger.txt") << "";
  std::ofstream(root / ".profile") << "";
  std::filesystem::create_symlink(root / "nirgends", root / "kaputt");

  const auto scanner = MakeSystemFolderScanner();
  const auto contents = scanner->Scan(root.wstring());
  ASSERT_TRUE(contents);
  EXPECT_EQ(contents->folders, (std::vector<std::wstring>{L"Alpha", L"beta", L"zu-beta"}));
  EXPECT_EQ(contents->files,
            (std::vector<std::wstring>{L"A.txt", L"b.txt", L"kaputt", L"\u00E4rger.txt"}));

  EXPECT_FALSE(scanner->Scan(root.wstring() + L"/A.txt"));
  EXPECT_FALSE(scanner->Scan(L"/gibt/es/nicht"));
  EXPECT_FALSE(scanner->Scan(L""));
  EXPECT_EQ(scanner->FullPath(L"x:"), L"");  // no directory per drive here
}

}  // namespace
}  // namespace tessaro::platform

#endif
