// tessaro.exe: puts the program together and runs its one message loop.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>

#include "core/modApp.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "ui/frmMain.h"
#include "ui/win32/MainWindow.h"
#include "ui/win32/SystemServicesWin32.h"
#include "ui/win32/TrayIconWin32.h"

using namespace tessaro;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
  // A drive without a medium must not make the system ask the user to insert
  // one while the folder dialog looks at it.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  AppState app;
  const auto knownFolders = platform::MakeSystemKnownFolders();
  const auto launcher = platform::MakeSystemLauncher();
  ui::win32::TrayIconWin32 tray;
  ui::win32::ClockWin32 clock;
  ui::win32::ProcessExitWin32 exit;
  ui::win32::VersionResourceWin32 version;

  ui::win32::MainWindow window(instance, tray);
  if (!window.Create()) return 1;
  ui::frmMain logic(app, window, {*knownFolders, *launcher, tray, clock, exit, version});
  window.SetLogic(&logic);

  logic.Form_Load();
  window.ShowFirstTime(showCommand);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.TranslateDialogKeys(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  window.SetLogic(nullptr);
  return static_cast<int>(msg.wParam);
}

// The default terminate handler prints the demangled exception type, which
// drags the whole C++ demangler into the exe; a GUI program has no console to
// print to anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
