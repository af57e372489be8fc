#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SubstHarness.h"
#include "platform/posix/DrivesFolder.h"

namespace {

namespace fs = std::filesystem;
using subst_test::RunSubst;
using subst_test::SubstRun;
using subst_test::SubstTest;

TEST_F(SubstTest, Map_NewDrivesFolder_CreatesPrivateFolderAndLink) {
  const SubstRun run = Subst({"X:", data_.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(fs::read_symlink(Drives() / "X:"), data_);
  struct stat st {};
  ASSERT_EQ(::stat(Drives().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_NE(st.st_mode & S_ISVTX, 0u) << "the runtime folder's clean-up must leave it alone";
  ASSERT_EQ(::stat((runtime_ / "tessaro").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(SubstTest, Map_ThenCdThroughLink_ReachesFolder) {
  std::ofstream(data_ / "brief.txt") << "hallo";
  ASSERT_EQ(Subst({"Q:", data_.string()}).exitCode, 0);
  EXPECT_TRUE(fs::exists(Drives() / "Q:" / "brief.txt"));
}

TEST_F(SubstTest, Map_LowerCaseDrive_LinkNamedInUpperCase) {
  ASSERT_EQ(Subst({"x:", data_.string()}).exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(Drives() / "X:"));
}

TEST_F(SubstTest, Map_PathWithBlanksAndUmlauts_OneArgumentWorks) {
  const fs::path folder = root_ / "Meine Dateien für Jürgen";
  fs::create_directories(folder);
  const SubstRun run = Subst({"M:", folder.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(fs::read_symlink(Drives() / "M:"), folder);
  EXPECT_EQ(Subst({}).out, "M:\\: => " + folder.string() + "\n");
}

TEST_F(SubstTest, Map_RelativePath_StoredAbsoluteAndTidy) {
  const SubstRun run = RunSubst({"R:", "./Daten/../Daten/"}, Env(), root_, root_);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(fs::read_symlink(Drives() / "R:"), data_);
}

TEST_F(SubstTest, List_SeveralDrives_OneLineEachInLetterOrder) {
  const fs::path other = root_ / "Andere";
  fs::create_directories(other);
  ASSERT_EQ(Subst({"Z:", other.string()}).exitCode, 0);
  ASSERT_EQ(Subst({"D:", data_.string()}).exitCode, 0);
  const SubstRun run = Subst({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "D:\\: => " + data_.string() + "\nZ:\\: => " + other.string() + "\n");
}

TEST_F(SubstTest, List_NoDrivesFolderYet_PrintsNothing) {
  const SubstRun run = Subst({});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fs::exists(runtime_));
}

TEST_F(SubstTest, Remove_MappedDrive_LinkGoneFolderKept) {
  ASSERT_EQ(Subst({"X:", data_.string()}).exitCode, 0);
  const SubstRun run = Subst({"X:", "/d"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(fs::exists(fs::symlink_status(Drives() / "X:")));
  EXPECT_TRUE(fs::is_directory(data_));
  EXPECT_EQ(Subst({}).out, "");
}

TEST_F(SubstTest, Remove_UpperCaseSwitch_Accepted) {
  ASSERT_EQ(Subst({"X:", data_.string()}).exitCode, 0);
  EXPECT_EQ(Subst({"X:", "/D"}).exitCode, 0);
}

TEST_F(SubstTest, List_TargetWithLineBreak_StaysOnOneLine) {
  const fs::path folder = root_ / "zwei\nZeilen\x01";
  fs::create_directories(folder);
  ASSERT_EQ(Subst({"M:", folder.string()}).exitCode, 0);
  EXPECT_EQ(Subst({}).out, "M:\\: => " + (root_ / "zwei\\nZeilen\\x01").string() + "\n");
}

class SubstErrorTest : public SubstTest {
 protected:
  void ExpectError(const std::vector<std::string>& args, const std::string& message) {
    const SubstRun run = Subst(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_EQ(run.out, "");
  }
};

TEST_F(SubstErrorTest, Remove_DriveNotMapped_InvalidParameter) {
  ExpectError({"X:", "/d"}, "Invalid parameter - X:");
}

TEST_F(SubstErrorTest, BadDriveTexts_InvalidParameter) {
  ExpectError({"XY:", data_.string()}, "Invalid parameter - XY:");
  ExpectError({"X", data_.string()}, "Invalid parameter - X");
  ExpectError({"1:", data_.string()}, "Invalid parameter - 1:");
  ExpectError({"Ä:", data_.string()}, "Invalid parameter - Ä:");
  ExpectError({"", data_.string()}, "Invalid parameter - ");
  ExpectError({"../X:", "/d"}, "Invalid parameter - ../X:");
}

TEST_F(SubstErrorTest, RootDriveC_InvalidParameter) {
  ExpectError({"C:", data_.string()}, "Invalid parameter - C:");
}

TEST_F(SubstErrorTest, MapTwice_DriveAlreadySubsted) {
  ASSERT_EQ(Subst({"X:", data_.string()}).exitCode, 0);
  ExpectError({"X:", root_.string()}, "Drive already SUBSTed");
  EXPECT_EQ(fs::read_symlink(Drives() / "X:"), data_);
}

TEST_F(SubstErrorTest, MissingFolderOrFile_PathNotFound) {
  ExpectError({"X:", (root_ / "fehlt").string()}, "Path not found - " + (root_ / "fehlt").string());
  std::ofstream(root_ / "datei.txt") << "x";
  ExpectError({"X:", (root_ / "datei.txt").string()},
              "Path not found - " + (root_ / "datei.txt").string());
  ExpectError({"X:", ""}, "Path not found - ");
}

TEST_F(SubstErrorTest, WrongArgumentCounts_IncorrectNumberOfParameters) {
  ExpectError({"X:"}, "Incorrect number of parameters - X:");
  ExpectError({"X:", data_.string(), "extra"}, "Incorrect number of parameters - extra");
}

TEST_F(SubstErrorTest, AbsolutePathOverTheLimit_PathTooLong) {
  // Short enough as typed, too long once made absolute: "d/s/" returns to
  // the scratch folder each time, which lies below the work folder.
  const std::string d(253, 'd');
  fs::create_directory(root_ / d);
  fs::create_directory_symlink("..", root_ / d / "s");
  std::string path;
  for (int i = 0; i < 15; ++i) path += d + "/s/";
  path += d;
  const SubstRun run = RunSubst({"X:", path}, Env(), root_, root_);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Path too long - " + path + "\n");
  ExpectError({"X:", "/" + std::string(5000, 'a')}, "Path too long - /" + std::string(5000, 'a'));
}

// A drives folder that is a link to somewhere else: every use refuses it
// alike and touches nothing there.
TEST_F(SubstErrorTest, DrivesFolderALink_ListMapAndRemoveRefuse) {
  const fs::path elsewhere = root_ / "elsewhere";
  fs::create_directories(elsewhere);
  fs::create_directories(runtime_ / "tessaro");
  fs::permissions(runtime_ / "tessaro", fs::perms::owner_all);
  fs::create_directory_symlink("/etc", elsewhere / "Q:");
  fs::create_directory_symlink(elsewhere, Drives());
  const std::string message =
      "Cannot prepare the drives folder - " + Drives().string() + ": not a directory";
  ExpectError({}, message);
  ExpectError({"Q:", "/d"}, message);
  ExpectError({"X:", data_.string()}, message);
  EXPECT_TRUE(fs::is_symlink(elsewhere / "Q:"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(elsewhere / "X:")));
}

// Without XDG_RUNTIME_DIR the drives live in a private folder under /tmp,
// which must not be someone else's folder or a link planted there.
class SubstFallbackTest : public SubstTest {
 protected:
  fs::path FallbackBase() const { return "/tmp/tessaro-" + std::to_string(::getuid()); }
};

TEST_F(SubstFallbackTest, NoRuntimeDir_UsesPrivateTmpFolder) {
  const fs::path base = FallbackBase();
  if (fs::exists(fs::symlink_status(base))) GTEST_SKIP() << base << " is in use on this machine";
  const SubstRun run = RunSubst({"X:", data_.string()}, HomeEnv(), root_);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(fs::read_symlink(base / "drives" / "X:"), data_);
  struct stat st {};
  ASSERT_EQ(::lstat(base.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  fs::remove_all(base);
}

TEST_F(SubstFallbackTest, PlantedLinkInTmp_Refused) {
  const fs::path base = FallbackBase();
  if (fs::exists(fs::symlink_status(base))) GTEST_SKIP() << base << " is in use on this machine";
  fs::create_directory_symlink(root_, base);
  const SubstRun run = RunSubst({"X:", data_.string()}, HomeEnv(), root_);
  fs::remove(base);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("not a directory"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(root_ / "drives"));
}

TEST_F(SubstFallbackTest, OpenTmpFolder_Refused) {
  const fs::path base = FallbackBase();
  if (fs::exists(fs::symlink_status(base))) GTEST_SKIP() << base << " is in use on this machine";
  fs::create_directory(base);
  fs::permissions(base, fs::perms::owner_all | fs::perms::others_all);
  const SubstRun run = RunSubst({"X:", data_.string()}, HomeEnv(), root_);
  fs::remove_all(base);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("open to other users"), std::string::npos) << run.err;
}

class DrivesFolderTest : public ::testing::Test {
 protected:
  DrivesFolderTest() {
    fs::create_directory(folder_);
    fs::permissions(folder_, fs::perms::owner_all);
    fs::create_directory_symlink("/usr", folder_ / "U:");
  }

  tessaro::testing::TempFolder scratch_;
  const fs::path holder_ = scratch_.Path();
  const fs::path folder_ = holder_ / "drives";
};

TEST_F(DrivesFolderTest, ReadDriveLinks_IgnoresOtherEntries) {
  const fs::path folder = folder_;
  fs::create_directory_symlink("/usr", folder / "u:");
  fs::create_directory_symlink("/usr", folder / "UU:");
  fs::create_directory(folder / "K:");
  fs::create_directory_symlink("/nirgends", folder / "N:");
  const auto links = tessaro::platform::ReadDriveLinks(folder.string());
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].letter, 'N');
  EXPECT_EQ(links[0].target, "/nirgends");
  EXPECT_EQ(links[1].letter, 'U');
  EXPECT_EQ(links[1].target, "/usr");
}

TEST_F(DrivesFolderTest, ReadDriveLinks_UntrustedFolder_NoDrives) {
  const auto drives = [](const fs::path& folder) {
    std::string error;
    const auto links = tessaro::platform::ReadDriveLinks(folder.string(), &error);
    EXPECT_FALSE(error.empty());
    return links.size();
  };
  fs::permissions(holder_, fs::perms::others_exec, fs::perm_options::add);
  EXPECT_EQ(drives(folder_), 0u) << "holder open to others";
  fs::permissions(holder_, fs::perms::owner_all);
  fs::permissions(folder_, fs::perms::group_read, fs::perm_options::add);
  EXPECT_EQ(drives(folder_), 0u) << "folder open to others";
  fs::permissions(folder_, fs::perms::owner_all);
  fs::create_directory_symlink(folder_, holder_ / "link");
  EXPECT_EQ(drives(holder_ / "link"), 0u) << "folder is a link";
  EXPECT_EQ(tessaro::platform::ReadDriveLinks(folder_.string()).size(), 1u);
}

}  // namespace
