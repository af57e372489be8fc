// Prints how long the settings file takes to load and save: the program's ten
// keys in a normal file, and the same save into large and hostile files.
// Figures are the median of several runs, in milliseconds.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/ProfileFile.h"
#include "support/Files.h"
#include "text/TextCodec.h"

namespace {

namespace fs = std::filesystem;
using tessaro::profile::Assignment;

double MedianMilliseconds(const std::function<void()>& work, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

const std::array<const wchar_t*, 10> kKeys = {
    L"target drive", L"target path", L"reset restart", L"next path",   L"last path 1",
    L"last path 2",  L"last path 3", L"last path 4",   L"last path 5", L"last path 6"};

const wchar_t* SectionOf(std::size_t index) { return index < 3 ? L"Startup" : L"Data"; }

void Measure(const char* label, const fs::path& file, const std::string& initial) {
  const std::wstring path = tessaro::text::DecodeUtf8Lossy(file.string());
  int flip = 0;
  const auto reset = [&] { std::ofstream(file, std::ios::binary | std::ios::trunc) << initial; };
  reset();
  const double load = MedianMilliseconds(
      [&] {
        for (std::size_t i = 0; i < kKeys.size(); ++i)
          (void)tessaro::profile::ReadProfileString(path, SectionOf(i), kKeys[i]);
      },
      7);
  const double parse =
      MedianMilliseconds([&] { (void)tessaro::profile::ProfileText::Parse(initial); }, 7);
  const double save = MedianMilliseconds(
      [&] {
        reset();
        const std::wstring value = (++flip % 2) != 0 ? L"C:\\eins" : L"C:\\zwei";
        std::array<Assignment, 10> values{};
        for (std::size_t i = 0; i < kKeys.size(); ++i) values[i] = {SectionOf(i), kKeys[i], value};
        (void)tessaro::profile::WriteProfileStrings(path, values);
      },
      7);
  std::printf(
      "%-30s %9zu bytes  parse %8.2f ms  load (10 reads) %8.2f ms  save (10 keys) %8.2f ms\n",
      label, initial.size(), parse, load, save);
}

}  // namespace

int main() {
  const tessaro::testing::TempFolder folder;
  const fs::path file = folder.Path() / "Tessaro.ini";

  Measure(
      "ten-key settings file", file,
      "[Startup]\ntarget drive=X:\ntarget path=C:\\PROG\nreset restart=0\n[Data]\nnext path=1\n"
      "last path 1=C:\\A\nlast path 2=\nlast path 3=\nlast path 4=\nlast path 5=\nlast path 6=\n");
  std::mt19937 random(7);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random() & 0xFFU);
  Measure("1 MiB random bytes", file, noise);
  Measure("1 MiB of line ends", file, std::string(1 << 20, '\n'));
  Measure("1 MiB value", file, "[Startup]\ntarget path=" + std::string(1 << 20, 'p') + "\n");
  std::string many;
  while (many.size() < (1U << 20)) many += "[S" + std::to_string(many.size()) + "]\nkey=value\n";
  Measure("1 MiB of sections", file, many);
  return 0;
}
