#include "platform/KnownFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "text/TextCodec.h"

#ifndef _WIN32
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/Files.h"
#endif

namespace tessaro::platform {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// Temporary folders, files and environment of the test support.
using namespace tessaro::testing;

// Every test gets a home and a config folder of its own, never the machine's.
class PosixKnownFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(temp_.Path().empty());
    home_ = temp_.Path() / "home";
    fs::create_directories(home_);
    environment_.Set("HOME", home_.string());
    environment_.Unset("XDG_CONFIG_HOME");
  }

  std::wstring Path(KnownFolder folder) { return folders_->Path(folder); }
  static std::wstring Wide(const fs::path& path) { return text::DecodeUtf8Lossy(path.string()); }

  void WriteUserDirs(const fs::path& configFolder, const std::string& documentsLine) {
    WriteFile(configFolder / "user-dirs.dirs",
              "# written by the user-dirs tool\n"
              "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n" +
                  documentsLine +
                  "\n"
                  "XDG_MUSIC_DIR=\"$HOME/Musik\"\n");
  }

  TempFolder temp_;
  ScopedEnvironment environment_;
  fs::path home_;
  std::unique_ptr<IKnownFolders> folders_ = MakeSystemKnownFolders();
};

TEST_F(PosixKnownFoldersTest, AppData_NoXdgConfigHome_IsHomeConfigCreatedOwnerOnly) {
  EXPECT_EQ(Path(KnownFolder::kAppData), Wide(home_ / ".config"));
  struct stat info {};
  ASSERT_EQ(::stat((home_ / ".config").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(PosixKnownFoldersTest, AppData_AbsoluteXdgConfigHome_MissingParentsCreated) {
  const fs::path config = temp_.Path() / "a" / "b" / "config";
  environment_.Set("XDG_CONFIG_HOME", config.string() + "/");
  EXPECT_EQ(Path(KnownFolder::kAppData), Wide(config));
  EXPECT_TRUE(fs::is_directory(config));
  EXPECT_FALSE(fs::exists(home_ / ".config"));
}

// The command-line modes only look (a restore at logon changes nothing).
TEST_F(PosixKnownFoldersTest, AppData_LookUpOnly_CreatesNothing) {
  const auto lookUp = MakeSystemKnownFolders(AppDataCreation::kLookUpOnly);
  EXPECT_EQ(lookUp->Path(KnownFolder::kAppData), Wide(home_ / ".config"));
  EXPECT_FALSE(fs::exists(home_ / ".config"));
}

// Names that are not UTF-8 travel as their bytes, not a replacement character.
TEST_F(PosixKnownFoldersTest, AppData_HomeNotUtf8_KeptByItsBytes) {
  const std::string home = (temp_.Path() / "h\xff\xc3").string();
  environment_.Set("HOME", home);
  EXPECT_EQ(text::EncodeFileName(Path(KnownFolder::kAppData)), home + "/.config");
  EXPECT_TRUE(fs::is_directory(home + "/.config"));
}

TEST_F(PosixKnownFoldersTest, AppData_RelativeXdgConfigHome_Ignored) {
  environment_.Set("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(Path(KnownFolder::kAppData), Wide(home_ / ".config"));
}

TEST_F(PosixKnownFoldersTest, AppData_ExistingFolder_KeptAsItIs) {
  fs::create_directories(home_ / ".config");
  ::chmod((home_ / ".config").c_str(), 0755);
  EXPECT_EQ(Path(KnownFolder::kAppData), Wide(home_ / ".config"));
  struct stat info {};
  ASSERT_EQ(::stat((home_ / ".config").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
}

TEST_F(PosixKnownFoldersTest, Personal_UserDirsEntry_HomeExpanded) {
  fs::create_directories(home_ / "Dokumente");
  fs::create_directories(home_ / "Documents");
  WriteUserDirs(home_ / ".config", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_ / "Dokumente"));
}

TEST_F(PosixKnownFoldersTest, Personal_UserDirsUnderXdgConfigHome_ReadThere) {
  const fs::path config = temp_.Path() / "config";
  environment_.Set("XDG_CONFIG_HOME", config.string());
  fs::create_directories(home_ / "Dokumente");
  fs::create_directories(home_ / "Elsewhere");
  WriteUserDirs(home_ / ".config", "XDG_DOCUMENTS_DIR=\"$HOME/Elsewhere\"");
  WriteUserDirs(config, "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_ / "Dokumente"));
}

TEST_F(PosixKnownFoldersTest, Personal_UserDirsAbsoluteNonAsciiPath_Decoded) {
  const fs::path documents = temp_.Path() / "Eigene Dateien \xC3\xA4\xE2\x82\xAC";
  fs::create_directories(documents);
  WriteUserDirs(home_ / ".config", "XDG_DOCUMENTS_DIR=\"" + documents.string() + "\"");
  const std::wstring path = Path(KnownFolder::kDocuments);
  EXPECT_EQ(path, Wide(documents));
  EXPECT_EQ(path.substr(path.size() - 2), L"ä€");
}

TEST_F(PosixKnownFoldersTest, Personal_UserDirsFolderMissing_FallsBackToDocuments) {
  fs::create_directories(home_ / "Documents");
  WriteUserDirs(home_ / ".config", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_ / "Documents"));
}

TEST_F(PosixKnownFoldersTest, Personal_NoUserDirsNoDocuments_IsHome) {
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_));
}

TEST_F(PosixKnownFoldersTest, Personal_DocumentsIsAFile_IsHome) {
  WriteFile(home_ / "Documents", "not a folder");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_));
}

TEST_F(PosixKnownFoldersTest, Personal_RelativeOrGarbledEntries_Ignored) {
  fs::create_directories(home_ / "Documents");
  fs::create_directories(home_ / "Dokumente");
  for (const std::string& line : std::initializer_list<std::string>{
           "XDG_DOCUMENTS_DIR=\"Dokumente\"", "XDG_DOCUMENTS_DIR=\"$HOMEDokumente\"",
           "XDG_DOCUMENTS_DIR=", "XDG_DOCUMENTS_DIR=\"\"", "XDG_DOCUMENTS_DIR\"$HOME/Dokumente\"",
           "# XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"", std::string("\0\xFF\xFE\n\n\"", 6)}) {
    WriteUserDirs(home_ / ".config", line);
    EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_ / "Documents")) << line;
  }
}

TEST_F(PosixKnownFoldersTest, Personal_UserDirsIsAFifo_IgnoredWithoutHanging) {
  fs::create_directories(home_ / ".config");
  ASSERT_EQ(::mkfifo((home_ / ".config" / "user-dirs.dirs").c_str(), 0600), 0);
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_));
}

TEST_F(PosixKnownFoldersTest, Personal_LastEntryWinsAndEscapesAreRead) {
  fs::create_directories(home_ / "Meine \"Texte\"");
  WriteUserDirs(home_ / ".config",
                "XDG_DOCUMENTS_DIR=\"$HOME/Missing\"\n"
                "  XDG_DOCUMENTS_DIR=\"$HOME/Meine \\\"Texte\\\"\"\r");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(home_ / "Meine \"Texte\""));
}

TEST_F(PosixKnownFoldersTest, Home_UnsetOrEmpty_TakenFromPasswordDatabase) {
  environment_.Set("XDG_CONFIG_HOME", (temp_.Path() / "config").string());
  const passwd* entry = ::getpwuid(::getuid());
  ASSERT_NE(entry, nullptr);
  const fs::path home = entry->pw_dir;
  const fs::path expected = fs::is_directory(home / "Documents") ? home / "Documents" : home;

  environment_.Unset("HOME");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(expected));
  environment_.Set("HOME", "");
  EXPECT_EQ(Path(KnownFolder::kDocuments), Wide(expected));
}

#else  // _WIN32

TEST(Win32KnownFoldersTest, AppDataAndPersonal_ExistingFolders) {
  auto folders = MakeSystemKnownFolders();
  for (const KnownFolder folder : {KnownFolder::kAppData, KnownFolder::kDocuments}) {
    const std::wstring path = folders->Path(folder);
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(fs::is_directory(fs::path(path)));
  }
}

#endif

}  // namespace
}  // namespace tessaro::platform
