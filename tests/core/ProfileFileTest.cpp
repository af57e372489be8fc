// The settings file on disk: atomic replacement, links, permissions, and the
// all-or-nothing save.

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/ProfileFile.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "text/TextCodec.h"

namespace tessaro::profile {
namespace {

namespace fs = std::filesystem;

std::wstring ToWide(const fs::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  return text::DecodeUtf8Lossy(path.string());
#endif
}

class ProfileFileTest : public ::testing::Test {
 protected:
  static void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Get(const fs::path& path) { return testing::ReadBytes(path); }
  std::size_t EntryCount() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
  }
  std::wstring File() const { return ToWide(file_); }

  const testing::TempFolder temp_;
  const fs::path folder_ = temp_.Path();
  fs::path file_ = folder_ / "Tessaro.ini";
};

TEST_F(ProfileFileTest, MissingFile_ReadsEmpty_AndReadingCreatesNothing) {
  EXPECT_EQ(ReadProfileString(File(), L"Startup", L"target drive"), L"");
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(ProfileFileTest, TenValuesInOneSave_OneFileInOrder_NoTempFileLeft) {
  const std::array<Assignment, 4> save{{{L"Startup", L"target drive", L"X:"},
                                        {L"Startup", L"target path", L"C:\\Eigene Dateien"},
                                        {L"Data", L"next path", L"1"},
                                        {L"Data", L"last path 1", L" padded "}}};
  ASSERT_TRUE(WriteProfileStrings(File(), save, LineEnd::kLf));
  EXPECT_EQ(Get(file_),
            "[Startup]\ntarget drive=X:\ntarget path=C:\\Eigene Dateien\n[Data]\nnext path=1\n"
            "last path 1=\" padded \"\n");
  EXPECT_EQ(ReadProfileString(File(), L"data", L"LAST PATH 1"), L" padded ");
  EXPECT_EQ(EntryCount(), 1U);
}

TEST_F(ProfileFileTest, OneRefusedValue_NothingIsWritten) {
  Put(file_, "[A]\nk=v\n");
  const std::array<Assignment, 2> save{{{L"A", L"k", L"changed"}, {L"A", L"j", L"bad\nline"}}};
  EXPECT_FALSE(WriteProfileStrings(File(), save, LineEnd::kLf));
  EXPECT_EQ(Get(file_), "[A]\nk=v\n");
}

TEST_F(ProfileFileTest, Windows1252File_RewrittenAsUtf8AtTheNextWrite) {
  Put(file_, "[Startup]\r\ntarget path=C:\\M\xFCller\r\n");
  EXPECT_EQ(ReadProfileString(File(), L"Startup", L"target path"), L"C:\\M\u00fcller");
  ASSERT_TRUE(WriteProfileString(File(), L"Startup", L"target drive", L"X:", LineEnd::kLf));
  EXPECT_EQ(Get(file_), "[Startup]\r\ntarget path=C:\\M\xC3\xBCller\r\ntarget drive=X:\r\n");
}

TEST_F(ProfileFileTest, HostileFile_WriteAfterwardsYieldsAReadableFile) {
  std::mt19937 random(99);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFFU);
  Put(file_, bytes);
  (void)ReadProfileString(File(), L"Startup", L"target path");
  ASSERT_TRUE(WriteProfileString(File(), L"Startup", L"target path", L"C:\\x", LineEnd::kLf));
  EXPECT_EQ(ReadProfileString(File(), L"Startup", L"target path"), L"C:\\x");
}

TEST_F(ProfileFileTest, LongPathValue_RoundTrips) {
  std::wstring path = L"C:";
  for (int i = 0; i < 40; ++i) path += L"\\Ordner mit Leerzeichen " + std::to_wstring(i);
  ASSERT_TRUE(WriteProfileString(File(), L"Data", L"last path 6", path));
  EXPECT_EQ(ReadProfileString(File(), L"Data", L"last path 6"), path);
}

TEST_F(ProfileFileTest, MissingFolder_WriteFails_NothingCreated) {
  file_ = folder_ / "missing" / "Tessaro.ini";
  EXPECT_FALSE(WriteProfileString(File(), L"A", L"k", L"v"));
  EXPECT_EQ(EntryCount(), 0U);
}

TEST_F(ProfileFileTest, FolderInPlaceOfTheFile_WriteFails_NothingChanged) {
  fs::create_directory(file_);
  EXPECT_FALSE(WriteProfileString(File(), L"A", L"k", L"v"));
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(EntryCount(), 1U);
}

TEST_F(ProfileFileTest, StaleTempFromAKilledSave_RemovedByTheNextSave) {
  Put(folder_ / "Tessaro.ini.tmp-a1B2c3", "half");
  // Old enough to be a dead save's on every system.
  fs::last_write_time(
      folder_ / "Tessaro.ini.tmp-a1B2c3",
      fs::last_write_time(folder_ / "Tessaro.ini.tmp-a1B2c3") - std::chrono::hours(1));
  Put(folder_ / "Tessaro.ini.tmp-notours", "kept: not our pattern");
  Put(folder_ / "Other.ini.tmp-a1B2c3", "kept: another file's");
  ASSERT_TRUE(WriteProfileString(File(), L"A", L"k", L"v"));
  EXPECT_FALSE(fs::exists(folder_ / "Tessaro.ini.tmp-a1B2c3"));
  EXPECT_TRUE(fs::exists(folder_ / "Tessaro.ini.tmp-notours"));
  EXPECT_TRUE(fs::exists(folder_ / "Other.ini.tmp-a1B2c3"));
}

#ifndef _WIN32

TEST_F(ProfileFileTest, NewFile_GetsOwnerOnlyMode) {
  ASSERT_TRUE(WriteProfileString(File(), L"A", L"k", L"v"));
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ProfileFileTest, ExistingFile_KeepsItsMode) {
  Put(file_, "[A]\nk=v\n");
  fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteProfileString(File(), L"A", L"k", L"x"));
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileFileTest, SymbolicLink_TargetUpdated_LinkKept) {
  fs::create_directory(folder_ / "real");
  Put(folder_ / "real" / "settings.ini", "[A]\nk=v\n");
  fs::create_symlink("real/settings.ini", file_);
  ASSERT_TRUE(WriteProfileString(File(), L"A", L"k", L"x"));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(Get(folder_ / "real" / "settings.ini"), "[A]\nk=x\n");
}

TEST_F(ProfileFileTest, DanglingSymbolicLink_CreatesItsTarget) {
  fs::create_symlink("target.ini", file_);
  ASSERT_TRUE(WriteProfileString(File(), L"A", L"k", L"v", LineEnd::kLf));
  EXPECT_TRUE(fs::is_symlink(file_));
  EXPECT_EQ(Get(folder_ / "target.ini"), "[A]\nk=v\n");
}

TEST_F(ProfileFileTest, SymbolicLinkLoop_FailsWithoutHanging) {
  fs::create_symlink("Tessaro.ini", file_);
  EXPECT_FALSE(WriteProfileString(File(), L"A", L"k", L"v"));
}

// Also as root, who passes every access check.
TEST_F(ProfileFileTest, ReadOnlyFile_WriteFails_FileUnchanged) {
  Put(file_, "[A]\nk=v\n");
  fs::permissions(file_, fs::perms::owner_read);
  EXPECT_FALSE(WriteProfileString(File(), L"A", L"k", L"x"));
  EXPECT_EQ(Get(file_), "[A]\nk=v\n");
  EXPECT_EQ(EntryCount(), 1U);
}

TEST_F(ProfileFileTest, SameValue_FileNotReplaced) {
  Put(file_, "[A]\nk = v\n");
  struct stat before {};
  ASSERT_EQ(::stat(file_.c_str(), &before), 0);
  ASSERT_TRUE(WriteProfileString(File(), L"A", L"k", L"v"));
  struct stat after {};
  ASSERT_EQ(::stat(file_.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

// A folder named with bytes that are not UTF-8 is reached by those bytes.
TEST_F(ProfileFileTest, FolderNameNotUtf8_FileGoesThereByItsBytes) {
  const fs::path folder = folder_ / "conf\xff";
  fs::create_directory(folder);
  const std::wstring file = text::DecodeFileName((folder / "Tessaro.ini").string());
  ASSERT_TRUE(WriteProfileString(file, L"A", L"k", L"v", LineEnd::kLf));
  EXPECT_EQ(Get(folder / "Tessaro.ini"), "[A]\nk=v\n");
  EXPECT_EQ(ReadProfileString(file, L"A", L"k"), L"v");
}

TEST_F(ProfileFileTest, Fifo_ReadDoesNotBlock_AndWriteRefuses) {
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(platform::ReadFileBytes(File()).status, platform::ReadStatus::kError);
  EXPECT_FALSE(WriteProfileString(File(), L"A", L"k", L"v"));
}

#endif  // !_WIN32

}  // namespace
}  // namespace tessaro::profile
