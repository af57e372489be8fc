#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "Processes.h"
#include "SelfPath.h"
#include "platform/WindowsCommandLine.h"
#include "text/TextCodec.h"

extern char** environ;

namespace tessaro::platform {

namespace {

bool IsRegularExecutable(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::string ExecutableFolder() {
  const std::string self = SelfPath();
  const std::size_t slash = self.rfind('/');
  if (slash == std::string::npos) return {};
  return slash == 0 ? std::string("/") : self.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + '/' + name;
}

std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders;
  // Our own folder first, then the installed helper folder, then PATH: the
  // order Windows uses, where the program's own folder comes first.
  const std::string self = ExecutableFolder();
  if (!self.empty()) {
    folders.push_back(self);
    folders.push_back(Join(self, "../libexec/tessaro"));
  }
  const char* pathVariable = std::getenv("PATH");
  const std::string path = pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t colon = path.find(':', start);
    const std::string entry = path.substr(start, colon - start);
    // An empty entry would mean the current folder, which is not searched.
    if (!entry.empty()) folders.push_back(entry);
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return folders;
}

// The full path of the program, or empty when there is none to run.
std::string FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsRegularExecutable(name) ? name : std::string();
  for (const std::string& folder : SearchFolders()) {
    std::string candidate = Join(folder, name);
    if (IsRegularExecutable(candidate)) return candidate;
  }
  return {};
}

// The child is never waited for by the caller, yet a child that nobody waits
// for stays a zombie until we exit. A SIGCHLD handler or SIG_IGN would do it
// too, but both change process-wide state that the toolkit (and its own
// child-process handling) also relies on. A small detached thread per launch
// that blocks in waitpid for exactly this child touches nothing global; subst
// is short-lived, so the thread is too.
void ReapInBackground(pid_t child) {
  try {
    std::thread([child] {
      int status = 0;
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the child stays a zombie until we exit, which is
    // harmless next to failing a launch that has already happened.
  }
}

int ExitCodeOf(int status) {
  // A signal ends it with the code a shell would report.
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int WaitFor(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

// Reads the child's output until it closes it or the watch ends; false when
// the watch ended first. Output beyond the cap is read and dropped, so that a
// talkative child never blocks on a full pipe.
bool ReadOutput(int fd, std::chrono::steady_clock::time_point deadline, std::string* output) {
  char buffer[1024];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd watched{fd, POLLIN, 0};
    const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return false;
    if (ready < 0) return true;
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    const std::size_t room = kMaxCommandOutput - std::min(output->size(), kMaxCommandOutput);
    output->append(buffer, std::min(room, static_cast<std::size_t>(got)));
  }
}

// The reaper of a watched child: it also reads the child's output and tells
// its end. A child that outlives the watch is still reaped, silently.
void WatchInBackground(pid_t child, int outputFd, CommandEnded ended,
                       std::chrono::milliseconds watch) {
  try {
    std::thread([child, outputFd, ended = std::move(ended), watch] {
      const auto deadline = std::chrono::steady_clock::now() + watch;
      std::string output;
      const bool closed = ReadOutput(outputFd, deadline, &output);
      ::close(outputFd);
      const int status = WaitFor(child);
      if (!closed || status < 0 || std::chrono::steady_clock::now() > deadline) return;
      ended({ExitCodeOf(status), text::DecodeUtf8Lossy(output)});
    }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: nothing is told, and the child stays a zombie
    // until we exit.
    ::close(outputFd);
  }
}

class SpawnSetup {
 public:
  SpawnSetup() {
    actionsReady_ = ::posix_spawn_file_actions_init(&actions_) == 0;
    attributesReady_ = ::posix_spawnattr_init(&attributes_) == 0;
  }
  ~SpawnSetup() {
    if (actionsReady_) ::posix_spawn_file_actions_destroy(&actions_);
    if (attributesReady_) ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  // stdin from /dev/null, nothing of ours but stdout and stderr inherited
  // (both going to outputFd when there is one), and a clean signal state,
  // whatever the calling thread had.
  int Prepare(int outputFd) {
    if (!actionsReady_ || !attributesReady_) return ENOMEM;
    int error =
        ::posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (error != 0) return error;
    if (outputFd >= 0) {
      error = ::posix_spawn_file_actions_adddup2(&actions_, outputFd, STDOUT_FILENO);
      if (error == 0)
        error = ::posix_spawn_file_actions_adddup2(&actions_, outputFd, STDERR_FILENO);
      if (error != 0) return error;
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    error = ::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
    if (error != 0) return error;
#endif
    sigset_t signals;
    sigemptyset(&signals);
    error = ::posix_spawnattr_setsigmask(&attributes_, &signals);
    if (error != 0) return error;
    sigfillset(&signals);
    error = ::posix_spawnattr_setsigdefault(&attributes_, &signals);
    if (error != 0) return error;
    return ::posix_spawnattr_setflags(
        &attributes_, static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  }

  const posix_spawn_file_actions_t* Actions() const { return &actions_; }
  const posix_spawnattr_t* Attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_{};
  posix_spawnattr_t attributes_{};
  bool actionsReady_ = false;
  bool attributesReady_ = false;
};

std::wstring ErrorText(int error) {
  return text::DecodeUtf8Lossy(std::error_code(error, std::generic_category()).message());
}

// Starts the command line's program with its arguments split by the Windows
// rules; on success the child's pid is in *child and the caller must wait for it.
// A valid outputFd becomes the child's standard output and standard error.
LaunchResult Spawn(const std::wstring& commandLine, pid_t* child, int outputFd = -1) {
  std::vector<std::string> arguments;
  for (const std::wstring& argument : SplitWindowsCommandLine(commandLine)) {
    // A folder named by bytes that are not UTF-8 reaches the program as those bytes.
    arguments.push_back(text::EncodeFileName(argument));
  }
  const std::string program = FindProgram(arguments.front());
  if (program.empty()) return {LaunchStatus::kNotFound, {}};

  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  SpawnSetup setup;
  int error = setup.Prepare(outputFd);
  if (error == 0) {
    // posix_spawn, not posix_spawnp: the search is ours, and no shell ever
    // sees the arguments.
    error = ::posix_spawn(child, program.c_str(), setup.Actions(), setup.Attributes(), argv.data(),
                          environ);
  }
  if (error == ENOENT) return {LaunchStatus::kNotFound, ErrorText(error)};
  if (error != 0) return {LaunchStatus::kFailed, ErrorText(error)};
  return {LaunchStatus::kStarted, {}};
}

}  // namespace

// How a window shows means nothing here: there is no window to show.
LaunchResult StartDetached(const std::wstring& commandLine, WindowShow /*show*/) {
  pid_t child = 0;
  LaunchResult result = Spawn(commandLine, &child);
  if (result.status == LaunchStatus::kStarted) ReapInBackground(child);
  return result;
}

LaunchResult StartWatched(const std::wstring& commandLine, WindowShow /*show*/,
                          std::chrono::milliseconds watch, CommandEnded ended) {
  // Close-on-exec: only the child's copies as its stdout and stderr survive.
  int fds[2] = {-1, -1};
  if (::pipe2(fds, O_CLOEXEC) != 0) return {LaunchStatus::kFailed, ErrorText(errno)};
  pid_t child = 0;
  LaunchResult result = Spawn(commandLine, &child, fds[1]);
  ::close(fds[1]);
  if (result.status != LaunchStatus::kStarted) {
    ::close(fds[0]);
    return result;
  }
  WatchInBackground(child, fds[0], std::move(ended), watch);
  return result;
}

RunResult RunToEnd(const std::wstring& commandLine) {
  pid_t child = 0;
  LaunchResult started = Spawn(commandLine, &child);
  switch (started.status) {
    case LaunchStatus::kStarted:
      break;
    case LaunchStatus::kNotFound:
      return {RunStatus::kNotFound, 0, std::move(started.detail)};
    case LaunchStatus::kFailed:
      return {RunStatus::kFailed, 0, std::move(started.detail)};
  }
  const int status = WaitFor(child);
  if (status < 0) return {RunStatus::kFailed, 0, ErrorText(errno)};
  return {RunStatus::kStarted, ExitCodeOf(status), {}};
}

}  // namespace tessaro::platform
