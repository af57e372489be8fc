#include "ui/win32/OpenPathWindow.h"

#include "ui/Accessibility.h"
#include "ui/Layout.h"
#include "ui/frmOpenPath.h"
#include "ui/win32/AccessibleNames.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Keyboard.h"

namespace tessaro::ui::win32 {
namespace {

// A fixed dialog frame without minimize or maximize box. Owned by the main
// window, so it has no button of its own in the task bar.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kDropDownTwips = 3000;

int ControlIdFor(layout::DialogKind kind, std::string_view name) {
  switch (kind) {
    case layout::DialogKind::kButton:
      return name == "OKButton" ? kIdOKButton : kIdCancelButton;
    case layout::DialogKind::kDriveList:
      return kIdDrive1;
    case layout::DialogKind::kDirList:
      return kIdDir1;
    case layout::DialogKind::kFileList:
      return kIdFile1;
  }
  return 0;
}

// The name of a list from the table; a list missing from it fails the build
// (the throw cannot be evaluated at compile time) instead of reading nothing.
consteval const wchar_t* OwnName(std::string_view control) {
  const access::AccessibleName* entry = access::AccessibleNameOf(control);
  if (entry == nullptr) throw "no accessible name for this control";
  return entry->name;
}

// Refills a list box in one go: storage reserved up front and no drawing
// until the end, which keeps a folder of 100,000 files quick.
template <typename Lines, typename LineText>
void FillListBox(HWND list, const Lines& lines, LineText lineText) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  std::size_t characters = 0;
  for (const auto& line : lines) characters += lineText(line).size() + 1;
  SendMessageW(list, LB_INITSTORAGE, lines.size(),
               static_cast<LPARAM>(characters * sizeof(wchar_t)));
  for (const auto& line : lines) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lineText(line).c_str()));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

bool RegisterDialogClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW dialog{};
  dialog.cbSize = sizeof(dialog);
  dialog.lpfnWndProc = procedure;
  dialog.hInstance = instance;
  // No icon: a fixed dialog frame shows none in its title bar.
  dialog.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  dialog.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  dialog.lpszClassName = kOpenPathClass;
  return RegisterClassExW(&dialog) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

OpenPathWindow::OpenPathWindow(HINSTANCE instance, frmOpenPath& logic)
    : FolderBrowserView(logic.FolderScanner()), instance_(instance), logic_(logic) {}

OpenPathWindow::~OpenPathWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool OpenPathWindow::Create(HWND owner) {
  if (!RegisterDialogClass(instance_, &WindowBase::Thunk)) return false;

  // The client area sits at the layout's screen position.
  const UINT dpi = owner != nullptr ? WindowDpi(owner) : ScreenDpi();
  const auto& client = layout::kDialogClient;
  const RECT rect =
      WindowRectForClient(Px(client.left, dpi), Px(client.top, dpi), Px(client.width, dpi),
                          Px(client.height, dpi), kStyle, kExStyle, dpi);
  if (CreateWindowExW(kExStyle, kOpenPathClass, layout::kDialogDesignCaption, kStyle, rect.left,
                      rect.top, rect.right - rect.left, rect.bottom - rect.top, owner, nullptr,
                      instance_, this) == nullptr) {
    return false;
  }
  ApplyDpi(WindowDpi(hwnd_));

  // Until the load moves them, the lists show the process's current drive
  // and directory.
  browser_.Start();
  return true;
}

void OpenPathWindow::CreateControls() {
  for (std::size_t i = 0; i < layout::kDialogControls.size(); ++i) {
    const auto& c = layout::kDialogControls[i];
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdFor(c.kind, c.name)));
    const wchar_t* className = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    DWORD exStyle = 0;
    switch (c.kind) {
      case layout::DialogKind::kButton:
        // Plain push buttons: neither is the Enter or the Escape button.
        style |= BS_PUSHBUTTON;
        break;
      case layout::DialogKind::kDriveList:
        className = L"COMBOBOX";
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        break;
      case layout::DialogKind::kDirList:
        className = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case layout::DialogKind::kFileList:
        className = L"LISTBOX";
        style |= LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    controls_[i] = CreateWindowExW(exStyle, className, c.caption, style, 0, 0, 0, 0, hwnd_, id,
                                   instance_, nullptr);
  }
  drive1_ = GetDlgItem(hwnd_, kIdDrive1);
  dir1_ = GetDlgItem(hwnd_, kIdDir1);
  file1_ = GetDlgItem(hwnd_, kIdFile1);
  SetAccessibleName(drive1_, OwnName("Drive1"));
  SetAccessibleName(dir1_, OwnName("Dir1"));
  SetAccessibleName(file1_, OwnName("File1"));
}

void OpenPathWindow::ShowDrives() {
  const auto& texts = browser_.DriveTexts();
  if (SendMessageW(drive1_, CB_GETCOUNT, 0, 0) != static_cast<LRESULT>(texts.size())) {
    SendMessageW(drive1_, CB_RESETCONTENT, 0, 0);
    for (const auto& text : texts) {
      SendMessageW(drive1_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  if (!texts.empty()) SendMessageW(drive1_, CB_SETCURSEL, browser_.CurrentDrive(), 0);
}

void OpenPathWindow::ShowDirectory() {
  // The tree drawn as text: two blanks per level.
  FillListBox(dir1_, browser_.Lines(), [](const DirLine& line) {
    return std::wstring(2 * static_cast<std::size_t>(line.depth), L' ') + line.caption;
  });
  SendMessageW(dir1_, LB_SETCURSEL, browser_.OpenLine(), 0);
}

void OpenPathWindow::ShowFiles() {
  FillListBox(file1_, browser_.Files(),
              [](const std::wstring& name) -> const std::wstring& { return name; });
}

// Before the logic is attached, it ignores the changes itself.
void OpenPathWindow::DriveChanged() { logic_.Drive1_Change(); }

void OpenPathWindow::DirectoryChanged() { logic_.Dir1_Change(); }

void OpenPathWindow::ApplyDpi(UINT dpi) {
  font_.Apply(hwnd_, dpi);
  for (std::size_t i = 0; i < layout::kDialogControls.size(); ++i) {
    const auto& c = layout::kDialogControls[i];
    const int height = Px(c.twips.height, dpi);
    const bool combo = c.kind == layout::DialogKind::kDriveList;
    SetWindowPos(controls_[i], nullptr, Px(c.twips.left, dpi), Px(c.twips.top, dpi),
                 Px(c.twips.width, dpi), combo ? height + Px(kDropDownTwips, dpi) : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void OpenPathWindow::RunModal() {
  ShowWindow(hwnd_, SW_SHOW);
  // The focus starts on OK, first in the tab order.
  SetFocus(controls_[0]);
  MSG msg{};
  while (!closed_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // Leave the quit for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (PressFocusedButtonOnEnter(hwnd_, msg) || IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void OpenPathWindow::SetCaption(const std::wstring& caption) {
  SetWindowTextW(hwnd_, caption.c_str());
}

void OpenPathWindow::Unload() { closed_ = true; }

void OpenPathWindow::OnCommand(WPARAM wParam) {
  const int id = LOWORD(wParam);
  const unsigned code = HIWORD(wParam);
  if (id == kIdOKButton && code == BN_CLICKED) {
    logic_.OKButton_Click();
  } else if (id == kIdCancelButton && code == BN_CLICKED) {
    logic_.CancelButton_Click();
  } else if (id == kIdDrive1 && code == CBN_SELCHANGE) {
    const LRESULT picked = SendMessageW(drive1_, CB_GETCURSEL, 0, 0);
    // A drive that is not ready: the list goes back to the current one.
    if (picked == CB_ERR) {
      ShowDrives();
    } else {
      browser_.PickDrive(static_cast<std::size_t>(picked));
    }
  } else if (id == kIdDir1 && code == LBN_DBLCLK) {
    const LRESULT picked = SendMessageW(dir1_, LB_GETCURSEL, 0, 0);
    // An unreadable folder leaves the list where it was.
    if (picked != LB_ERR) browser_.OpenLineAt(static_cast<std::size_t>(picked));
  }
}

LRESULT OpenPathWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case WM_CLOSE:
      // The close box takes nothing over, like Cancel.
      Unload();
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam));
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return WindowBase::HandleMessage(msg, wParam, lParam);
}

void RunOpenPathDialog(HINSTANCE instance, HWND owner, frmOpenPath& logic) {
  OpenPathWindow window(instance, logic);
  if (!window.Create(owner)) return;
  logic.Attach(window);
  logic.Form_Load();
  if (owner != nullptr) EnableWindow(owner, FALSE);
  window.RunModal();
  // The owner first, so that it gets the activation back.
  if (owner != nullptr) EnableWindow(owner, TRUE);
  logic.Detach();
  DestroyWindow(window.hwnd());
}

}  // namespace tessaro::ui::win32
