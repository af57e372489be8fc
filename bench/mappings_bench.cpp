// Prints how long opening "Local Mappings" takes to read the drive table (26
// letter look-ups) and make its items: as the machine is, then with every
// letter mapped. Median and worst of 101 opens, in milliseconds; the figure
// to keep is at most 5 ms.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "ui/MappingsMenu.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
// Every free letter mapped for the run, so that all 26 are looked up and
// listed; the real drives stay as they are.
class Mapped {
 public:
  Mapped() {
    const DWORD present = GetLogicalDrives();
    for (wchar_t c = L'A'; c <= L'Z'; ++c) {
      if ((present & (1U << (c - L'A'))) != 0) continue;
      const std::wstring device{c, L':'};
      if (DefineDosDeviceW(0, device.c_str(), L"C:\\windows")) devices_.push_back(device);
    }
  }
  ~Mapped() {
    for (const auto& device : devices_) {
      DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    }
  }
  std::size_t Count() const { return devices_.size(); }

 private:
  std::vector<std::wstring> devices_;
};
#else
// A private drives folder with all 26 links, half of them to missing folders.
class Mapped {
 public:
  Mapped() : base_(fs::temp_directory_path() / ("tessaro-bench-" + std::to_string(::getpid()))) {
    const fs::path drives = base_ / "tessaro" / "drives";
    fs::create_directories(drives);
    ::chmod(base_.c_str(), 0700);
    ::chmod((base_ / "tessaro").c_str(), 0700);
    ::chmod(drives.c_str(), 0700);
    for (char c = 'A'; c <= 'Z'; ++c) {
      const fs::path target = base_ / ("Ordner " + std::string(1, c));
      if (c % 2 == 0) fs::create_directories(target);
      fs::create_symlink(target, drives / (std::string(1, c) + ":"));
    }
    ::setenv("XDG_RUNTIME_DIR", base_.c_str(), 1);
  }
  ~Mapped() {
    std::error_code ignored;
    fs::remove_all(base_, ignored);
  }
  std::size_t Count() const { return 26; }

 private:
  fs::path base_;
};
#endif

}  // namespace

// Opens the submenu's list many times; prints the median and the worst.
void Measure(const char* what) {
  const auto table = tessaro::platform::MakeSystemDriveTable();
  std::vector<double> times;
  std::size_t listed = 0;
  for (int run = 0; run < 101; ++run) {
    const auto start = std::chrono::steady_clock::now();
    listed = tessaro::ui::ReadMappingItems(*table).size();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  std::printf("mappings submenu, %s: %zu items, median %.3f ms, worst %.3f ms\n", what, listed,
              times[times.size() / 2], times.back());
}

int main() {
  Measure("the mappings there are");
  const Mapped mapped;
  std::printf("(%zu letters mapped for the run)\n", mapped.Count());
  Measure("every letter mapped");
  return 0;
}
