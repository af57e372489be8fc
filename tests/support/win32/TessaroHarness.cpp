#include "support/win32/TessaroHarness.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "ui/win32/ControlIds.h"

namespace tessaro::e2e {
namespace {

constexpr DWORD kPollMs = 20;

std::string ReadBytes(const std::wstring& path, bool* exists) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (exists != nullptr) *exists = false;
    return {};
  }
  if (exists != nullptr) *exists = true;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L'\\' + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (lstrcmpiW(name, L"Static") != 0) return TRUE;
  const LRESULT length = SendMessageW(child, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return TRUE;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  auto* all = reinterpret_cast<std::wstring*>(context);
  if (!all->empty()) *all += L'|';
  *all += text;
  return TRUE;
}

}  // namespace

std::wstring FromUnixPath(const char* path) {
  std::wstring wide = L"Z:";
  for (const char* p = path; *p != '\0'; ++p) {
    wide += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
  }
  return wide;
}

HWND FindShownWindow(DWORD pid, const wchar_t* className) {
  struct Search {
    DWORD pid;
    const wchar_t* className;
    HWND found;
  } search{pid, className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(context);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != wanted.pid || !IsWindowVisible(window)) return TRUE;
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        // Wine's input-method windows are visible too.
        if (wanted.className == nullptr ? lstrcmpW(name, L"IME") == 0
                                        : lstrcmpW(name, wanted.className) != 0) {
          return TRUE;
        }
        wanted.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

std::wstring SettingsPath() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder);
  return std::wstring(folder) + L"\\Tessaro.ini";
}

std::string ReadSettings() {
  bool exists = false;
  std::string bytes = ReadBytes(SettingsPath(), &exists);
  return exists ? bytes : "<none>";
}

void WriteSettings(const std::string& bytes) {
  HANDLE file = CreateFileW(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void DeleteSettings() { DeleteFileW(SettingsPath().c_str()); }

TessaroProcess::TessaroProcess(const std::wstring& scenario, bool withSubst) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"tessaro-e2e";
  CreateDirectoryW(root.c_str(), nullptr);
  folder_ = root + L'\\' + scenario;
  RemoveTree(folder_);
  CreateDirectoryW(folder_.c_str(), nullptr);
  CopyFileW(FromUnixPath(TESSARO_EXE).c_str(), (folder_ + L"\\tessaro.exe").c_str(), FALSE);
  if (withSubst) {
    CopyFileW(FromUnixPath(RECORDING_SUBST_EXE).c_str(), (folder_ + L"\\subst.exe").c_str(), FALSE);
  }
}

TessaroProcess::~TessaroProcess() {
  if (process_.hProcess != nullptr) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}

bool TessaroProcess::Start() {
  const std::wstring exe = folder_ + L"\\tessaro.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &process_)) {
    return false;
  }
  // Poll for the window: WaitForInputIdle says nothing under Wine.
  main_ = WaitForWindow(ui::win32::kMainWindowClass, 30000);
  return main_ != nullptr;
}

long TessaroProcess::RunAgain(const std::wstring& arguments, DWORD milliseconds) const {
  const std::wstring exe = folder_ + L"\\tessaro.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION again{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.c_str(), &startup, &again)) {
    return -1;
  }
  long code = -1;
  if (WaitForSingleObject(again.hProcess, milliseconds) == WAIT_OBJECT_0) {
    DWORD exit = 0;
    GetExitCodeProcess(again.hProcess, &exit);
    code = static_cast<long>(exit);
  } else {
    TerminateProcess(again.hProcess, 1);
    WaitForSingleObject(again.hProcess, 5000);
  }
  CloseHandle(again.hProcess);
  CloseHandle(again.hThread);
  return code;
}

bool TessaroProcess::WaitForExit(DWORD milliseconds) {
  return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

bool TessaroProcess::Running() const {
  return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

std::wstring TessaroProcess::Text(HWND window) const {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

void TessaroProcess::SetText(HWND window, const std::wstring& text) const {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

// A combo box's or a list box's items, through the messages given.
std::vector<std::wstring> Items(HWND box, UINT count, UINT length, UINT text) {
  std::vector<std::wstring> items;
  const LRESULT n = SendMessageW(box, count, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const LRESULT got = SendMessageW(box, length, static_cast<WPARAM>(i), 0);
    std::wstring item(static_cast<std::size_t>(got > 0 ? got : 0) + 1, L'\0');
    SendMessageW(box, text, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    items.push_back(item);
  }
  return items;
}

}  // namespace

std::vector<std::wstring> TessaroProcess::ComboItems(HWND combo) const {
  return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::wstring> TessaroProcess::ListItems(HWND list) const {
  return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

void TessaroProcess::Click(int id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }

void TessaroProcess::PostClick(HWND button) const { PostMessageW(button, BM_CLICK, 0, 0); }

void TessaroProcess::Command(int id) const {
  SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void TessaroProcess::PostCommand(int id) const {
  PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void TessaroProcess::TrayEvent(UINT event) const {
  // What the shell sends: the callback message 512 with uID and the event.
  PostMessageW(Control(ui::win32::kIdPicture1), WM_MOUSEMOVE, 1, static_cast<LPARAM>(event));
}

bool TessaroProcess::TrayIconPresent() const {
  // Modifying nothing succeeds only for an icon that exists.
  NOTIFYICONDATAW probe{};
  probe.cbSize = NOTIFYICONDATAW_V1_SIZE;
  probe.hWnd = Control(ui::win32::kIdPicture1);
  probe.uID = 1;
  return Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

HWND TessaroProcess::WaitForWindow(const wchar_t* className, DWORD milliseconds) const {
  const ULONGLONG until = GetTickCount64() + milliseconds;
  for (;;) {
    if (HWND found = FindShownWindow(process_.dwProcessId, className)) return found;
    if (GetTickCount64() >= until || !Running()) return nullptr;
    Sleep(kPollMs);
  }
}

bool TessaroProcess::WaitUntilGone(HWND window, DWORD milliseconds) const {
  const ULONGLONG until = GetTickCount64() + milliseconds;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount64() >= until) return false;
    Sleep(kPollMs);
  }
  return true;
}

namespace {

// One text of a window's client object, read through the system's
// accessibility from outside the program; the calls go to the program's
// thread through COM.
std::wstring AccessibleText(HWND window,
                            HRESULT (STDMETHODCALLTYPE IAccessible::*read)(VARIANT, BSTR*),
                            const wchar_t* missing) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return L"<no object>";
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  const HRESULT got = (object->*read)(self, &text);
  std::wstring result = got == S_OK && text != nullptr ? std::wstring(text, SysStringLen(text))
                                                       : std::wstring(missing);
  SysFreeString(text);
  object->Release();
  return result;
}

}  // namespace

namespace {

BOOL CALLBACK CollectTooltips(HWND window, LPARAM context) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  }
  return TRUE;
}

// A tooltip's texts. The control copies them into memory of its own process,
// so the record and the text buffer are lent there for the call.
void ReadTooltipTexts(HWND tooltip, std::vector<std::wstring>& tips) {
  constexpr std::size_t kTextChars = 256;
  DWORD pid = 0;
  GetWindowThreadProcessId(tooltip, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return;
  const SIZE_T size = sizeof(TTTOOLINFOW) + kTextChars * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  if (remote != nullptr) {
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TTTOOLINFOW));
    const LRESULT count = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof(info);
      info.lpszText = remoteText;
      wchar_t text[kTextChars] = {};
      SIZE_T moved = 0;
      if (!WriteProcessMemory(process, remote, &info, sizeof(info), &moved) ||
          !WriteProcessMemory(process, remoteText, text, sizeof(text), &moved) ||
          SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(remote)) == FALSE ||
          !ReadProcessMemory(process, remoteText, text, sizeof(text), &moved)) {
        continue;
      }
      text[kTextChars - 1] = L'\0';
      if (text[0] != L'\0') tips.emplace_back(text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
}

}  // namespace

std::vector<std::wstring> ShellTrayTips() {
  std::vector<HWND> tooltips;
  EnumWindows(&CollectTooltips, reinterpret_cast<LPARAM>(&tooltips));
  std::vector<std::wstring> tips;
  for (HWND tooltip : tooltips) ReadTooltipTexts(tooltip, tips);
  return tips;
}

std::wstring AccessibleName(HWND window) {
  return AccessibleText(window, &IAccessible::get_accName, L"<no name>");
}

std::wstring AccessibleShortcut(HWND window) {
  return AccessibleText(window, &IAccessible::get_accKeyboardShortcut, L"<none>");
}

bool TessaroProcess::TypeChord(std::initializer_list<WORD> keys) const {
  SetForegroundWindow(main_);
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  const auto count = static_cast<UINT>(inputs.size());
  return SendInput(count, inputs.data(), sizeof(INPUT)) == count;
}

std::wstring TessaroProcess::MessageBoxText(HWND box) const {
  std::wstring all;
  EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&all));
  return all;
}

std::vector<std::string> TessaroProcess::RecordedLines() const {
  const std::string bytes = ReadBytes(folder_ + L"\\subst-calls.txt", nullptr);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

std::vector<std::string> TessaroProcess::RecordedLinesBeforeMarker() const {
  const std::wstring subst = folder_ + L"\\subst.exe";
  std::wstring commandLine = L"\"" + subst + L"\" e2e-marker";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION marker{};
  if (CreateProcessW(subst.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder_.c_str(), &startup, &marker)) {
    WaitForSingleObject(marker.hProcess, 10000);
    CloseHandle(marker.hProcess);
    CloseHandle(marker.hThread);
  }
  std::vector<std::string> lines = RecordedLines();
  std::erase_if(
      lines, [](const std::string& line) { return line.find("e2e-marker") != std::string::npos; });
  return lines;
}

std::vector<std::string> TessaroProcess::WaitForRecordedLines(std::size_t count,
                                                              DWORD milliseconds) const {
  const ULONGLONG until = GetTickCount64() + milliseconds;
  for (;;) {
    auto lines = RecordedLines();
    if (lines.size() >= count || GetTickCount64() >= until) return lines;
    Sleep(kPollMs);
  }
}

namespace {

// Where a run hides the prefix's subst.exe. A run that crashed left it there:
// the next one puts it back before anything else.
std::wstring SystemSubstPath() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\subst.exe";
}

std::wstring HiddenSubstPath() { return SystemSubstPath() + L".e2e-hidden"; }

bool RestoreHiddenSubst() {
  return MoveFileExW(HiddenSubstPath().c_str(), SystemSubstPath().c_str(), 0) != FALSE;
}

// A crash in the driver ends it without destructors: subst.exe goes back
// before the process dies.
LONG WINAPI RestoreOnCrash(EXCEPTION_POINTERS* /*exception*/) {
  RestoreHiddenSubst();
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

SystemSubstHidden::SystemSubstHidden() {
  if (GetFileAttributesW(SystemSubstPath().c_str()) == INVALID_FILE_ATTRIBUTES) {
    RestoreHiddenSubst();
  }
  moved_ = MoveFileExW(SystemSubstPath().c_str(), HiddenSubstPath().c_str(),
                       MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (moved_) previousFilter_ = SetUnhandledExceptionFilter(&RestoreOnCrash);
}

SystemSubstHidden::~SystemSubstHidden() {
  if (!moved_) return;
  SetUnhandledExceptionFilter(previousFilter_);
  RestoreHiddenSubst();
}

}  // namespace tessaro::e2e
