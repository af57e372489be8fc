// tessaro.exe: puts the program together and runs its one message loop.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/modApp.h"
#include "platform/DriveTable.h"
#include "platform/FolderScan.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "platform/ProgramNames.h"
#include "text/TextCodec.h"
#include "ui/CommandLine.h"
#include "ui/SystemServices.h"
#include "ui/frmMain.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/SingleInstance.h"
#include "ui/win32/TrayIconWin32.h"

using namespace tessaro;

namespace {

// A GUI program has an error stream only when its caller redirected one, or
// the console of a command prompt it was started from.
bool WriteErrorLine(const std::wstring& line) {
  const std::wstring text = line + L"\r\n";
  DWORD written = 0;
  HANDLE stream = GetStdHandle(STD_ERROR_HANDLE);
  if (stream != nullptr && stream != INVALID_HANDLE_VALUE) {
    if (GetFileType(stream) == FILE_TYPE_CHAR &&
        WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
      return true;
    }
    const std::string bytes = text::EncodeUtf8(text);
    return WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  const bool done =
      WriteConsoleW(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(console);
  return done;
}

std::vector<std::wstring> ArgumentsAfterProgram() {
  int count = 0;
  wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  if (list == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.emplace_back(list[i]);
  LocalFree(list);
  return arguments;
}

class SleepingPause final : public ui::IRestorePause {
 public:
  void Pause(std::chrono::milliseconds duration) override {
    Sleep(static_cast<DWORD>(duration.count()));
  }
};

// The command-line modes run without any window: a restore at logon must not
// flash one. Only a wrong call with nowhere to print says so in a box.
int RunCommandLineMode(ui::StartMode mode) {
  SleepingPause pause;
  const ui::CommandOutcome outcome =
      ui::RunStartModeOnSystem(mode, ui::SwitchStyle::kWindows, pause);
  if (!outcome.message.empty() && !WriteErrorLine(outcome.message) &&
      mode == ui::StartMode::kUsage) {
    MessageBoxW(nullptr, outcome.message.c_str(), L"Tessaro", MB_OK | MB_ICONINFORMATION);
  }
  return outcome.exitCode;
}

// No DLL that is loaded after start-up, by us or by a system DLL on our
// behalf, is searched for in the program's own folder, where a planted one
// could wait (a zip unpacked into Downloads). Looked up at run time: Windows 7
// has it only with an update.
void LoadDllsFromSystem32Only() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (kernel32 == nullptr) return;
  const auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// COM for the whole run of the window: a screen reader's questions reach the
// controls through it.
class ComApartment {
 public:
  ComApartment() : ready_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (ready_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool ready_;
};

// The setup asks a Tessaro it is about to replace to end, as the close box
// would end it (it saves). Answered here, at the top of the loop, never from
// inside a modal box's own loop: such a loop drops the request and the setup
// asks again once the box has closed.
bool EndedOnSetupRequest(const MSG& msg, HWND main) {
  static const UINT request = RegisterWindowMessageW(names::kEndRequestMessage);
  if (request == 0 || msg.message != request || msg.hwnd != main) return false;
  SendMessageW(main, WM_CLOSE, 0, 0);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
  LoadDllsFromSystem32Only();
  // A drive without a medium must not make the system ask the user to insert
  // one while the folder dialog looks at it.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  const ui::StartMode mode = ui::ParseStartMode(ArgumentsAfterProgram(), ui::SwitchStyle::kWindows);
  if (mode != ui::StartMode::kNormal) return RunCommandLineMode(mode);

  // Held until the program ends; a second start only wakes the first.
  const ui::win32::SingleInstance single;
  if (!single.First()) {
    ui::win32::SingleInstance::WakeRunning();
    return 0;
  }

  const ComApartment com;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  AppState app;
  const auto knownFolders = platform::MakeSystemKnownFolders();
  const auto folderScanner = platform::MakeSystemFolderScanner();
  const auto drives = platform::MakeSystemDriveTable();
  ui::win32::TrayIconWin32 tray;
  ui::SystemClock clock;
  ui::ImmediateExit exit;
  ui::BuildVersion version;

  ui::win32::MainWindow window(instance, tray);
  if (!window.Create()) return 1;
  // A command's end comes back through the window's queue.
  const auto launcher = platform::MakeSystemLauncher(window.Poster());
  ui::frmMain logic(
      app, window, {*knownFolders, *launcher, *folderScanner, tray, clock, exit, version, *drives});
  window.SetLogic(&logic);

  logic.Form_Load();
  window.ShowFirstTime(showCommand);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (EndedOnSetupRequest(msg, window.hwnd())) continue;
    if (window.TranslateDialogKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  window.SetLogic(nullptr);
  return static_cast<int>(msg.wParam);
}

// The default terminate handler prints the demangled exception type, which
// drags the whole C++ demangler into the exe; a GUI program has no console to
// print to anyway. Measured: 57,856 bytes of a 385,024-byte tessaro.exe (15%),
// which every start maps and every download carries.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
