// Two processes saving the same file at once, as two windows do when one maps
// a drive while the other closes: neither save may fail, and the file always
// holds one whole document. Each process checks what it reads after its own
// save; the parent checks the end state.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

#include "platform/FileIo.h"
#include "support/Files.h"
#include "text/TextCodec.h"

namespace tessaro::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDocumentSize = 200000;
constexpr auto kDuration = std::chrono::seconds(4);

using testing::ReadBytes;

bool IsWhole(const std::string& content) {
  return content.size() == kDocumentSize &&
         (content == std::string(kDocumentSize, 'a') || content == std::string(kDocumentSize, 'b'));
}

struct Counts {
  int saves = 0;
  int failures = 0;
  int broken = 0;
};

// The child's loop; its counts go back through the pipe.
[[noreturn]] void SaveInALoop(const fs::path& file, char letter, int pipe,
                              std::chrono::steady_clock::time_point until) {
  const std::string document(kDocumentSize, letter);
  const std::wstring path = text::DecodeUtf8Lossy(file.string());
  Counts counts;
  while (std::chrono::steady_clock::now() < until) {
    ++counts.saves;
    if (!ReplaceFileAtomically(path, document)) ++counts.failures;
    if (!IsWhole(ReadBytes(file))) ++counts.broken;
  }
  const bool sent = ::write(pipe, &counts, sizeof counts) == sizeof counts;
  ::_exit(sent ? 0 : 1);
}

TEST(ConcurrentSave, TwoProcessesSavingInALoop_NeverFailAndLeaveAWholeFile) {
  const testing::TempFolder temp;
  const fs::path& folder = temp.Path();
  const fs::path file = folder / "Tessaro.ini";

  int pipes[2][2];
  pid_t children[2];
  const auto until = std::chrono::steady_clock::now() + kDuration;
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(::pipe(pipes[i]), 0);
    children[i] = ::fork();
    ASSERT_GE(children[i], 0);
    if (children[i] == 0) SaveInALoop(file, i == 0 ? 'a' : 'b', pipes[i][1], until);
    ::close(pipes[i][1]);
  }
  Counts total;
  for (int i = 0; i < 2; ++i) {
    Counts counts;
    EXPECT_EQ(::read(pipes[i][0], &counts, sizeof counts), static_cast<ssize_t>(sizeof counts));
    ::close(pipes[i][0]);
    int status = 0;
    EXPECT_EQ(::waitpid(children[i], &status, 0), children[i]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GT(counts.saves, 10) << "process " << i << " hardly saved";
    total.saves += counts.saves;
    total.failures += counts.failures;
    total.broken += counts.broken;
  }
  EXPECT_EQ(total.failures, 0) << "of " << total.saves << " saves";
  EXPECT_EQ(total.broken, 0) << "of " << total.saves << " reads";
  EXPECT_TRUE(IsWhole(ReadBytes(file)));
  std::size_t temps = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    temps += entry.path().filename() != "Tessaro.ini" ? 1U : 0U;
  }
  EXPECT_EQ(temps, 0U) << "temporary files left behind";
  std::printf("%d saves in %lld s, %d failed\n", total.saves,
              static_cast<long long>(kDuration.count()), total.failures);
  RecordProperty("saves", total.saves);
}

}  // namespace
}  // namespace tessaro::platform
