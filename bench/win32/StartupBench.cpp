// Under Wine, in one run: process start to main window shown, for tessaro.exe,
// a minimal window program and the same window without the program around it
// (60 runs each, alternating), a "Map" click to the launch that the recording
// subst.exe notes down, and the folder dialog on 100,000 files against a
// plain listing of the same folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/win32/TessaroHarness.h"
#include "ui/Commands.h"
#include "ui/win32/ControlIds.h"

namespace {

using tessaro::e2e::FromUnixPath;

constexpr int kRuns = 60;
constexpr int kManyFiles = 100000;
constexpr int kFolderRuns = 9;

double Now() {
  LARGE_INTEGER counter{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

struct Started {
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  double milliseconds = 0;
};

// Starts the program and polls for its first visible top-level window.
Started StartAndWait(const std::wstring& exe, const std::wstring& folder) {
  Started started;
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  const double begin = Now();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started.process)) {
    return started;
  }
  const double giveUp = begin + 30000;
  while (Now() < giveUp) {
    started.window = tessaro::e2e::FindShownWindow(started.process.dwProcessId);
    if (started.window != nullptr) break;
    Sleep(1);
  }
  started.milliseconds = Now() - begin;
  return started;
}

void Finish(Started& started, UINT msg, WPARAM wParam) {
  if (started.window != nullptr) PostMessageW(started.window, msg, wParam, 0);
  if (WaitForSingleObject(started.process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(started.process.hProcess, 1);
  }
  CloseHandle(started.process.hProcess);
  CloseHandle(started.process.hThread);
}

std::size_t RecordedCalls(const std::wstring& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  std::size_t lines = 0;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(handle, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n'));
  }
  CloseHandle(handle);
  return lines;
}

// The plain listing the folder dialog is measured against: the fastest way
// the system offers to read a large folder.
double TimePlainListing(const std::wstring& folder, std::size_t& files) {
  const double begin = Now();
  files = 0;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return -1;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++files;
  } while (FindNextFileW(find, &found));
  FindClose(find);
  return Now() - begin;
}

// The same listing put into a list box as File1 is filled (redraw off,
// storage reserved), to tell the list box's own cost under Wine from ours.
double TimeListingIntoListBox(const std::wstring& folder) {
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 0,
                              0, 200, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  const double begin = Now();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_INITSTORAGE, kManyFiles, kManyFiles * 16 * sizeof(wchar_t));
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  const double elapsed = Now() - begin;
  DestroyWindow(list);
  return elapsed;
}

// Opens the folder dialog on the folder in cboLocRes and times the click to
// File1 holding all files; -1 when it never does.
double TimeFolderDialog(HWND main) {
  const double opened = Now();
  PostMessageW(GetDlgItem(main, static_cast<int>(tessaro::ui::CommandId::cmdOpenPath)), BM_CLICK, 0,
               0);
  double listed = -1;
  HWND dialog = nullptr;
  while (Now() - opened < 60000) {
    dialog = FindWindowW(tessaro::ui::win32::kOpenPathClass, nullptr);
    const LRESULT files =
        dialog != nullptr
            ? SendMessageW(GetDlgItem(dialog, tessaro::ui::win32::kIdFile1), LB_GETCOUNT, 0, 0)
            : 0;
    if (files == kManyFiles) {
      listed = Now() - opened;
      break;
    }
    Sleep(1);
  }
  if (dialog != nullptr) {
    PostMessageW(GetDlgItem(dialog, tessaro::ui::win32::kIdCancelButton), BM_CLICK, 0, 0);
    while (IsWindow(dialog)) Sleep(1);
  }
  return listed;
}

// On a busy machine single runs stray by a factor of two; the ratio of each
// run to its neighbour strays far less.
double MedianRatio(const std::vector<double>& times, const std::vector<double>& base) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < times.size() && i < base.size(); ++i) {
    if (base[i] > 0 && times[i] > 0) ratios.push_back(times[i] / base[i]);
  }
  return ratios.empty() ? 0.0 : Median(ratios);
}

double Fastest(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

std::wstring Folder() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"tessaro-bench";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

int main() {
  const std::wstring folder = Folder();
  const std::wstring tessaro = folder + L"\\tessaro.exe";
  const std::wstring minimal = folder + L"\\minimal_window.exe";
  const std::wstring sameWindow = folder + L"\\same_window.exe";
  const std::wstring record = folder + L"\\subst-calls.txt";
  CopyFileW(FromUnixPath(TESSARO_EXE).c_str(), tessaro.c_str(), FALSE);
  CopyFileW(FromUnixPath(MINIMAL_EXE).c_str(), minimal.c_str(), FALSE);
  CopyFileW(FromUnixPath(SAME_WINDOW_EXE).c_str(), sameWindow.c_str(), FALSE);
  CopyFileW(FromUnixPath(RECORDING_SUBST_EXE).c_str(), (folder + L"\\subst.exe").c_str(), FALSE);
  DeleteFileW(record.c_str());

  // Alternating start by start, so all three see the same state of the
  // machine, and rotating which goes first, so that none always follows the
  // same one (a program ended with "Tessaro beenden" leaves Wine some
  // clean-up that the next start pays for).
  std::vector<double> tessaroTimes;
  std::vector<double> minimalTimes;
  std::vector<double> sameWindowTimes;
  const auto startTessaro = [&] {
    Started started = StartAndWait(tessaro, folder);
    tessaroTimes.push_back(started.milliseconds);
    // "Tessaro beenden": no settings written by the measurement.
    Finish(started, WM_COMMAND, static_cast<WPARAM>(tessaro::ui::CommandId::mnuEnd));
  };
  const auto startMinimal = [&] {
    Started started = StartAndWait(minimal, folder);
    minimalTimes.push_back(started.milliseconds);
    Finish(started, WM_CLOSE, 0);
  };
  const auto startSameWindow = [&] {
    Started started = StartAndWait(sameWindow, folder);
    sameWindowTimes.push_back(started.milliseconds);
    Finish(started, WM_CLOSE, 0);
  };
  for (int run = 0; run < kRuns; ++run) {
    switch (run % 3) {
      case 0:
        startTessaro();
        startMinimal();
        startSameWindow();
        break;
      case 1:
        startMinimal();
        startSameWindow();
        startTessaro();
        break;
      default:
        startSameWindow();
        startTessaro();
        startMinimal();
        break;
    }
  }

  // Map clicks: the handler's own time, and until subst.exe has noted it.
  std::vector<double> handled;
  std::vector<double> recorded;
  Started program = StartAndWait(tessaro, folder);
  HWND main = program.window;
  SendMessageW(GetDlgItem(main, tessaro::ui::win32::kIdCboDrive), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"X:"));
  SendMessageW(GetDlgItem(main, tessaro::ui::win32::kIdCboLocRes), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"C:\\Daten"));
  HWND map = GetDlgItem(main, static_cast<int>(tessaro::ui::CommandId::cmdSubst));
  for (int run = 0; run < kRuns; ++run) {
    const std::size_t before = RecordedCalls(record);
    const double begin = Now();
    SendMessageW(map, BM_CLICK, 0, 0);
    handled.push_back(Now() - begin);
    while (RecordedCalls(record) == before && Now() - begin < 10000) Sleep(1);
    recorded.push_back(Now() - begin);
  }

  // The folder dialog opened on a folder of 100,000 files, until File1 holds
  // them all, alternating with a plain listing of the same folder. The build
  // fills the folder from the Unix side: creating that many files through
  // Wine takes many minutes. Wine hides the dot file that marks it complete.
  const std::wstring many = FromUnixPath(MANY_FILES_DIR);
  SendMessageW(GetDlgItem(main, tessaro::ui::win32::kIdCboLocRes), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(many.c_str()));
  std::vector<double> dialogTimes;
  std::vector<double> listingTimes;
  std::vector<double> listBoxTimes;
  std::size_t listedFiles = 0;
  for (int run = 0; run < kFolderRuns; ++run) {
    listingTimes.push_back(TimePlainListing(many, listedFiles));
    listBoxTimes.push_back(TimeListingIntoListBox(many));
    dialogTimes.push_back(TimeFolderDialog(main));
  }
  Finish(program, WM_COMMAND, static_cast<WPARAM>(tessaro::ui::CommandId::mnuEnd));

  std::printf("start to window shown, %d runs each under Wine:  median   fastest\n", kRuns);
  std::printf("  tessaro.exe                          %8.1f %8.1f ms\n", Median(tessaroTimes),
              Fastest(tessaroTimes));
  std::printf("  same window without the program      %8.1f %8.1f ms\n", Median(sameWindowTimes),
              Fastest(sameWindowTimes));
  std::printf("  minimal window                       %8.1f %8.1f ms\n", Median(minimalTimes),
              Fastest(minimalTimes));
  std::printf("ratio to the same window (median of run-by-run ratios)  %.2f\n",
              MedianRatio(tessaroTimes, sameWindowTimes));
  std::printf("ratio to the minimal window (median of run-by-run ratios)  %.2f\n",
              MedianRatio(tessaroTimes, minimalTimes));
  std::printf("same window to the minimal window (median of run-by-run ratios)  %.2f\n",
              MedianRatio(sameWindowTimes, minimalTimes));
  std::printf("Map click, median of %d clicks:\n", kRuns);
  std::printf("  handler returned    %8.1f ms\n", Median(handled));
  std::printf("  launch recorded     %8.1f ms\n", Median(recorded));
  std::printf("Folder of %d files (%zu listed plainly), median of %d runs:\n", kManyFiles,
              listedFiles, kFolderRuns);
  std::printf("  folder dialog, click to all listed     %8.1f ms\n", Median(dialogTimes));
  std::printf("  FindFirstFileExW listing (basic, large fetch) %8.1f ms\n", Median(listingTimes));
  std::printf("  the same listing into a list box           %8.1f ms\n", Median(listBoxTimes));
  std::printf("ratio to the plain listing (median of run-by-run ratios)  %.2f\n",
              MedianRatio(dialogTimes, listingTimes));
  std::printf("ratio to the listing into a list box (median of run-by-run ratios)  %.2f\n",
              MedianRatio(dialogTimes, listBoxTimes));
  return 0;
}
