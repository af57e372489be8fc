// One run, three figures:
//  1. time from process start to the window shown, tessaro against the same
//     window without the program and against an empty Qt window (40 starts
//     each, alternating start by start);
//  2. idle resident memory of all three;
//  3. the folder dialog opening a folder of 100,000 and one of 1,000,000
//     files against a plain listing of the same folder.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "support/Files.h"
#include "ui/frmOpenPath.h"
#include "ui/qt/OpenPathDialog.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kStarts = 40;
constexpr int kDialogRuns = 10;
constexpr int kBigDialogRuns = 3;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Process time, which a busy machine inflates less than the wall clock.
double CpuMilliseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

struct StartFigures {
  std::vector<double> shownMs;
  std::vector<double> residentKiB;
};

// Starts the program, waits for its "shown", lets it idle, reads its memory.
bool StartOnce(const std::string& program, double* shownMs, long* residentKiB) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  std::vector<char*> argv{const_cast<char*>(program.c_str()), nullptr};
  pid_t pid = 0;
  const auto start = Clock::now();
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (error != 0) {
    ::close(pipeFds[0]);
    return false;
  }
  std::string seen;
  char buffer[256];
  ssize_t n = 0;
  while (seen.find("shown\n") == std::string::npos &&
         (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
    seen.append(buffer, static_cast<std::size_t>(n));
  }
  *shownMs = Milliseconds(Clock::now() - start);
  QThread::msleep(700);  // idle: start-up work done, caches settled
  *residentKiB = ResidentKiB(pid);
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  ::close(pipeFds[0]);
  return seen.find("shown\n") != std::string::npos;
}

void MeasureStart(const std::string& program, StartFigures& figures) {
  double ms = 0;
  long kib = 0;
  if (!StartOnce(program, &ms, &kib)) {
    std::fprintf(stderr, "%s did not report its window\n", program.c_str());
    std::exit(1);
  }
  figures.shownMs.push_back(ms);
  figures.residentKiB.push_back(static_cast<double>(kib));
}

class TextBox final : public tessaro::ui::IComboBox {
 public:
  std::wstring Text() const override { return text; }
  void SetText(const std::wstring& t) override { text = t; }
  void AddItem(const std::wstring&) override {}
  std::wstring text;
};

std::size_t PlainListing(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
  ::closedir(dir);
  return names.size();
}

// Opens the folder dialog on a folder of that many files, as the folder
// button does, and prints its time against a plain listing.
void DialogOnBigFolder(const fs::path& scratch, int files, int runs) {
  const fs::path big = scratch / ("big-" + std::to_string(files));
  fs::create_directories(big);
  for (int i = 0; i < files; ++i) {
    const std::string name = (big / ("Datei-" + std::to_string(i) + ".txt")).string();
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT, 0600);
    if (fd >= 0) ::close(fd);
  }

  std::vector<double> listing;
  std::vector<double> dialog;
  std::vector<double> listingCpu;
  std::vector<double> dialogCpu;
  std::size_t listed = 0;
  std::size_t shownFiles = 0;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    double cpuStart = CpuMilliseconds();
    listed = PlainListing(big.string());
    listing.push_back(Milliseconds(Clock::now() - start));
    listingCpu.push_back(CpuMilliseconds() - cpuStart);

    tessaro::AppState state;
    state.blnPrefill = tessaro::kTrue;
    state.blnPathMode = tessaro::kTrue;
    TextBox cboDrive;
    TextBox cboLocRes;
    cboLocRes.text = big.wstring();
    const auto folders = tessaro::platform::MakeSystemKnownFolders();
    const auto scanner = tessaro::platform::MakeSystemFolderScanner();
    tessaro::ui::frmOpenPath logic(state, cboDrive, cboLocRes, *folders, *scanner);

    start = Clock::now();
    cpuStart = CpuMilliseconds();
    tessaro::ui::qt::OpenPathDialog window(logic, nullptr);
    window.Load();
    window.show();
    window.repaint();
    QCoreApplication::processEvents();
    dialog.push_back(Milliseconds(Clock::now() - start));
    dialogCpu.push_back(CpuMilliseconds() - cpuStart);
    shownFiles = window.Browser().Files().size();
    logic.Detach();
  }
  fs::remove_all(big);

  std::printf("\nFolder of %d files, median of %d runs (%zu names listed, %zu shown)\n", files,
              runs, listed, shownFiles);
  std::printf("  %-28s %11s %11s\n", "", "wall", "cpu");
  std::printf("  %-28s %8.1f ms %8.1f ms\n", "plain listing (readdir)", Median(listing),
              Median(listingCpu));
  std::printf("  %-28s %8.1f ms %8.1f ms\n", "folder dialog open and drawn", Median(dialog),
              Median(dialogCpu));
  std::printf("  %-28s %8.2f x  %8.2f x\n", "ratio", Median(dialog) / Median(listing),
              Median(dialogCpu) / Median(listingCpu));
}

// The median of the start-by-start ratios: on a busy machine single starts
// stray far more than the ratio of a start to its neighbour.
double MedianRatio(const std::vector<double>& times, const std::vector<double>& base) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < times.size() && i < base.size(); ++i) {
    ratios.push_back(times[i] / base[i]);
  }
  return Median(ratios);
}

void MeasureAllStarts(const char* platform) {
  // Alternating, so all three see the same state of a busy machine.
  StartFigures empty;
  StartFigures same;
  StartFigures tessaro;
  for (int i = 0; i < kStarts; ++i) {
    MeasureStart(EMPTY_WINDOW_EXE, empty);
    MeasureStart(SAME_WINDOW_EXE, same);
    MeasureStart(TESSARO_PROBE_EXE, tessaro);
  }
  std::printf("Start-up on %s, median of %d starts each\n", platform, kStarts);
  std::printf("  %-36s %9s %14s\n", "", "shown", "idle resident");
  const std::pair<const char*, const StartFigures*> rows[] = {
      {"empty Qt window", &empty},
      {"same window without the program", &same},
      {"tessaro", &tessaro},
  };
  for (const auto& [name, figures] : rows) {
    std::printf("  %-36s %7.1f ms %10.1f MiB\n", name, Median(figures->shownMs),
                Median(figures->residentKiB) / 1024.0);
  }
  std::printf("ratio to the same window (median of run-by-run ratios)  %.2f\n",
              MedianRatio(tessaro.shownMs, same.shownMs));
  std::printf("ratio to the empty window (median of run-by-run ratios)  %.2f\n",
              MedianRatio(tessaro.shownMs, empty.shownMs));
  std::printf("idle resident, ratio to the same window  %.2f\n",
              Median(tessaro.residentKiB) / Median(same.residentKiB));
}

}  // namespace

int main(int argc, char** argv) {
  const bool display = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY");
  if (!display) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const char* platform = display ? "the display" : "offscreen";

  // tessaro reads and writes its settings: keep that in a scratch home.
  const tessaro::testing::TempFolder scratchFolder;
  const fs::path& scratch = scratchFolder.Path();
  fs::create_directories(scratch / "home" / "Documents");
  ::setenv("HOME", (scratch / "home").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
  // Started from the desktop, the program runs in the home folder.
  fs::current_path(scratch / "home");

  // --dialog: only the folder figures, for profiling; --start: only the
  // start-up figures.
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool dialogOnly = mode == "--dialog";
  if (!dialogOnly) MeasureAllStarts(platform);
  if (mode == "--start") return 0;

  QApplication app(argc, argv);
  DialogOnBigFolder(scratch, 100000, kDialogRuns);
  if (!dialogOnly || argc > 2) DialogOnBigFolder(scratch, 1000000, kBigDialogRuns);
  return 0;
}
