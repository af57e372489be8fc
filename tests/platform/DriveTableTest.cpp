#include "platform/DriveTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/Files.h"
#include "text/TextCodec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace tessaro::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::wstring> Listed(IDriveTable& table) {
  std::vector<std::wstring> listed;
  for (const DriveMapping& mapping : table.Mappings()) {
    listed.push_back(std::wstring{mapping.letter, L'='} + mapping.folder);
  }
  return listed;
}

#ifndef _WIN32

TEST(PosixDriveTableTest, ListsTheDriveLinksSubstListsAndNothingOfAnUntrustedFolder) {
  testing::TempFolder temp;
  testing::ScopedEnvironment environment;
  environment.Set("XDG_RUNTIME_DIR", temp.Path().string());
  const fs::path drives = temp.Path() / "tessaro" / "drives";
  fs::create_directories(drives);
  ::chmod((temp.Path() / "tessaro").c_str(), 0700);
  ::chmod(drives.c_str(), 0700);
  const fs::path there = temp.Path() / "Tom & Jerry";
  fs::create_directories(there);
  fs::create_symlink(there, drives / "P:");
  fs::create_symlink(temp.Path() / "weg", drives / "D:");
  fs::create_symlink(there, drives / "junk");

  const auto table = MakeSystemDriveTable();
  EXPECT_EQ(Listed(*table), (std::vector<std::wstring>{L"D=" + (temp.Path() / "weg").wstring(),
                                                       L"P=" + there.wstring()}));
  EXPECT_TRUE(table->FolderExists(there.wstring()));
  EXPECT_FALSE(table->FolderExists((temp.Path() / "weg").wstring()));

  ::chmod(drives.c_str(), 0755);
  EXPECT_TRUE(table->Mappings().empty());
}

#else

// A mapping made by this process shows in the table as any other would.
TEST(Win32DriveTableTest, ListsSubstDrivesWithoutTheirPrefix_LeavesRealDrivesOut) {
  wchar_t letter = 0;
  for (wchar_t c = L'Z'; c > L'M'; --c) {
    if ((GetLogicalDrives() & (1U << (c - L'A'))) == 0) {
      letter = c;
      break;
    }
  }
  ASSERT_NE(letter, 0) << "no free letter";
  const std::wstring device{letter, L':'};
  ASSERT_TRUE(DefineDosDeviceW(0, device.c_str(), L"C:\\windows"));
  const auto table = MakeSystemDriveTable();
  const auto listed = Listed(*table);
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
  EXPECT_NE(std::find(listed.begin(), listed.end(), std::wstring{letter, L'='} + L"C:\\windows"),
            listed.end());
  for (const auto& entry : listed) EXPECT_NE(entry[0], L'C') << text::EncodeUtf8(entry);
  EXPECT_TRUE(table->FolderExists(L"C:\\windows"));
  EXPECT_FALSE(table->FolderExists(L"C:\\no such folder here"));
}

#endif

}  // namespace
}  // namespace tessaro::platform
