#pragma once

// subst driven as a user runs it: a real process in a scratch folder, with
// its output and exit code.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/Files.h"

namespace subst_test {

namespace fs = std::filesystem;

struct SubstRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ReadAll(int fd) {
  std::string text;
  std::array<char, 4096> buffer{};
  ssize_t n = 0;
  while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) {
    text.append(buffer.data(), static_cast<std::size_t>(n));
  }
  return text;
}

// Runs subst with exactly these arguments and this environment; output goes
// to files so neither pipe can fill up.
inline SubstRun RunSubst(const std::vector<std::string>& args, const std::vector<std::string>& env,
                         const fs::path& scratch, const fs::path& cwd = "/") {
  const fs::path outPath = scratch / "out.txt";
  const fs::path errPath = scratch / "err.txt";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

  std::vector<char*> argv{const_cast<char*>(SUBST_EXE)};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  SubstRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, SUBST_EXE, &actions, nullptr, argv.data(), envp.data()) != 0) return run;
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const int outFd = ::open(outPath.c_str(), O_RDONLY);
  const int errFd = ::open(errPath.c_str(), O_RDONLY);
  run.out = ReadAll(outFd);
  run.err = ReadAll(errFd);
  ::close(outFd);
  ::close(errFd);
  return run;
}

class SubstTest : public ::testing::Test {
 protected:
  SubstTest() { fs::create_directories(data_); }

  // The sidebar files live in the scratch folder too, never in the real home.
  std::vector<std::string> HomeEnv() const {
    return {"XDG_CONFIG_HOME=" + (root_ / "config").string(),
            "XDG_DATA_HOME=" + (root_ / "share").string()};
  }
  std::vector<std::string> Env() const {
    std::vector<std::string> env = HomeEnv();
    env.push_back("XDG_RUNTIME_DIR=" + runtime_.string());
    return env;
  }
  SubstRun Subst(const std::vector<std::string>& args) { return RunSubst(args, Env(), root_); }
  fs::path Drives() const { return runtime_ / "tessaro" / "drives"; }

  tessaro::testing::TempFolder scratch_;
  const fs::path root_ = scratch_.Path();
  // The runtime folder does not exist yet: subst has to make it.
  const fs::path runtime_ = root_ / "run" / "user";
  const fs::path data_ = root_ / "Daten";
};

}  // namespace subst_test
