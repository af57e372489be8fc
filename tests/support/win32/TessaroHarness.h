#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// Drives a real tessaro.exe from outside, through window messages only, as a
// user at the keyboard and mouse would: no test hook inside the program.
namespace tessaro::e2e {

// The settings file of the prefix's user: %APPDATA%\Tessaro.ini.
std::wstring SettingsPath();
// The file's bytes, or "<none>" when it does not exist.
std::string ReadSettings();
void WriteSettings(const std::string& bytes);
void DeleteSettings();

// The build hands us Unix paths; Wine shows the Unix root as drive Z:.
std::wstring FromUnixPath(const char* path);

// A visible top-level window of the process with the class given, or with
// any class when none is given.
HWND FindShownWindow(DWORD pid, const wchar_t* className = nullptr);

// UTF-8 for comparing against byte strings.
std::string Utf8(const std::wstring& text);

// The name a screen reader hears for a window: its client object's, read
// through the system's accessibility from outside the program.
std::wstring AccessibleName(HWND window);
// The keyboard shortcut a screen reader announces for it ("Alt+L"), or
// "<none>".
std::wstring AccessibleShortcut(HWND window);

// The tips of every icon the shell shows in its notification area, read from
// the shell's own tooltips: what the shell made of the records it was handed.
std::vector<std::wstring> ShellTrayTips();

class TessaroProcess {
 public:
  // A fresh folder holding tessaro.exe and, when wanted, the recording
  // subst.exe beside it.
  explicit TessaroProcess(const std::wstring& scenario, bool withSubst = true);
  ~TessaroProcess();
  TessaroProcess(const TessaroProcess&) = delete;
  TessaroProcess& operator=(const TessaroProcess&) = delete;

  const std::wstring& Folder() const { return folder_; }

  // Starts the program and waits for its main window to be shown.
  bool Start();
  // Starts tessaro.exe once more from the same folder with the arguments
  // given and waits for it to end: its exit code, or -1 when it did not end
  // in time (it is ended then).
  long RunAgain(const std::wstring& arguments, DWORD milliseconds = 20000) const;
  // Whether the process has ended within the time given.
  bool WaitForExit(DWORD milliseconds);
  bool Running() const;

  HWND Main() const { return main_; }
  HWND Control(int id) const { return GetDlgItem(main_, id); }

  // Combo boxes, buttons and commands.
  std::wstring Text(HWND window) const;
  void SetText(HWND window, const std::wstring& text) const;
  std::vector<std::wstring> ComboItems(HWND combo) const;
  std::vector<std::wstring> ListItems(HWND list) const;
  // A click that returns when the program has handled it.
  void Click(int id) const;
  // A click or command that may open a modal window: nothing waits on it.
  void PostClick(HWND button) const;
  void Command(int id) const;
  void PostCommand(int id) const;
  void TrayEvent(UINT event) const;

  bool MainVisible() const { return IsWindowVisible(main_) != FALSE; }
  bool MainEnabled() const { return IsWindowEnabled(main_) != FALSE; }
  bool TrayIconPresent() const;

  // A visible top-level window of the program with the given class, waited
  // for up to the time given.
  HWND WaitForWindow(const wchar_t* className, DWORD milliseconds = 10000) const;
  bool WaitUntilGone(HWND window, DWORD milliseconds = 10000) const;
  // All texts of a message box's static controls, joined.
  std::wstring MessageBoxText(HWND box) const;

  // Keys typed as at the keyboard into the main window, brought to the
  // foreground: pressed in order, released in reverse (Shift, F10).
  bool TypeChord(std::initializer_list<WORD> keys) const;

  // subst.exe's record: one command line per call, as bytes.
  std::vector<std::string> WaitForRecordedLines(std::size_t count,
                                                DWORD milliseconds = 10000) const;
  std::vector<std::string> RecordedLines() const;
  // The lines recorded before a marker call that this driver makes of the
  // same subst.exe and waits for: what the program launched earlier has
  // arrived by then. The marker's own line is left out.
  std::vector<std::string> RecordedLinesBeforeMarker() const;

 private:
  std::wstring folder_;
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// Hides the prefix's own subst.exe for the lifetime of the object, so that no
// subst can be found anywhere. A crash puts it back as it happens; should that
// fail too, the next object puts it back first.
class SystemSubstHidden {
 public:
  SystemSubstHidden();
  ~SystemSubstHidden();
  SystemSubstHidden(const SystemSubstHidden&) = delete;
  SystemSubstHidden& operator=(const SystemSubstHidden&) = delete;

 private:
  LPTOP_LEVEL_EXCEPTION_FILTER previousFilter_ = nullptr;
  bool moved_ = false;
};

}  // namespace tessaro::e2e
