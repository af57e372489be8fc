// A save killed at any moment leaves the old or the new settings file, never a
// mix. A child process saves two documents in turn, as fast as it can; the
// parent kills it with SIGKILL at random moments and inspects the file.
//
// Leftover temporary files: a kill between creating the temporary file and
// renaming it leaves "Tessaro.ini.tmp-XXXXXX" behind. It never replaces the
// real file, and the next successful save removes every such file, so they
// cannot pile up: after a clean save none is left.

#ifndef _WIN32

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "core/ProfileFile.h"
#include "support/Files.h"
#include "text/TextCodec.h"

namespace tessaro::profile {
namespace {

namespace fs = std::filesystem;

class ProfileCrashSafety : public ::testing::Test {
 protected:
  void SetUp() override { file_ = text::DecodeUtf8Lossy((folder_ / "Tessaro.ini").string()); }

  std::string Content() const { return testing::ReadBytes(folder_ / "Tessaro.ini"); }
  std::size_t TempFileCount() const {
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      count += entry.path().filename().string().starts_with("Tessaro.ini.tmp-") ? 1U : 0U;
    }
    return count;
  }

  const testing::TempFolder temp_;
  const fs::path folder_ = temp_.Path();
  std::wstring file_;
};

// The ten keys of a save; the large one makes a kill during the write likely.
std::array<Assignment, 10> Settings(std::wstring_view path, std::wstring_view recent) {
  return {{{L"Startup", L"target drive", L"X:"},
           {L"Startup", L"target path", path},
           {L"Startup", L"reset restart", L"0"},
           {L"Data", L"next path", L"1"},
           {L"Data", L"last path 1", recent},
           {L"Data", L"last path 2", L""},
           {L"Data", L"last path 3", L""},
           {L"Data", L"last path 4", L""},
           {L"Data", L"last path 5", L""},
           {L"Data", L"last path 6", L"C:\\Eigene Dateien"}}};
}

TEST_F(ProfileCrashSafety, KilledWhileSaving_FileHoldsOldOrNewContent) {
  const std::wstring small = L"C:\\klein";
  const std::wstring large(300000, L'\u00e4');
  const auto first = Settings(small, L"C:\\eins");
  const auto second = Settings(large, L"D:\\zwei");

  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(WriteProfileStrings(file_, second, LineEnd::kLf));
  const std::string contentSecond = Content();
  ASSERT_TRUE(WriteProfileStrings(file_, first, LineEnd::kLf));
  const std::string contentFirst = Content();
  ASSERT_NE(contentFirst, contentSecond);

  // Kill moments spread over about two saves, whatever the disk's speed.
  const auto pair = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  std::mt19937 random(20240607);
  std::uniform_int_distribution<long long> delayMicroseconds(
      0, std::max<long long>(2000, pair.count()));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int rounds = 0;
  int changes = 0;
  std::size_t mostTemps = 0;
  std::string previous = contentFirst;
  for (; rounds < 200 && std::chrono::steady_clock::now() < deadline; ++rounds) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) {
        (void)WriteProfileStrings(file_, second, LineEnd::kLf);
        (void)WriteProfileStrings(file_, first, LineEnd::kLf);
      }
    }
    ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    const std::string now = Content();
    ASSERT_TRUE(now == contentFirst || now == contentSecond)
        << "round " << rounds << ": the file holds " << now.size() << " bytes of neither document";
    changes += now != previous ? 1 : 0;
    previous = now;
    mostTemps = std::max(mostTemps, TempFileCount());
  }
  EXPECT_GE(rounds, 20);
  EXPECT_GT(changes, 0) << "no kill ever came after a completed save";

  // A clean save clears what the killed ones left.
  ASSERT_TRUE(WriteProfileStrings(file_, Settings(L"C:\\zuletzt", L""), LineEnd::kLf));
  EXPECT_EQ(TempFileCount(), 0U);
  RecordProperty("rounds", rounds);
  RecordProperty("save_pair_us", static_cast<int>(pair.count()));
  RecordProperty("changes", changes);
  RecordProperty("most_temp_files", static_cast<int>(mostTemps));
}

}  // namespace
}  // namespace tessaro::profile

#endif  // !_WIN32
