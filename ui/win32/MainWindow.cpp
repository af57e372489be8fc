#include "ui/win32/MainWindow.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "ui/AccessKeys.h"
#include "ui/Accessibility.h"
#include "ui/Layout.h"
#include "ui/frmMain.h"
#include "ui/win32/AccessibleNames.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/Keyboard.h"
#include "ui/win32/MainControls.h"
#include "ui/win32/OpenPathWindow.h"
#include "ui/win32/ResourceIds.h"
#include "ui/win32/SingleInstance.h"

namespace tessaro::ui::win32 {
namespace {

constexpr DWORD kStyle = kMainWindowStyle;
constexpr DWORD kExStyle = kMainWindowExStyle;

constexpr std::size_t kCboDrive = layout::MainControlName("cboDrive").index();
constexpr std::size_t kCboLocRes = layout::MainControlName("cboLocRes").index();

// Where a control of the layout sits in it; every name the accessibility
// table uses is checked below, so the lookup always finds one.
constexpr std::size_t IndexOf(std::string_view name) {
  for (std::size_t i = 0; i < layout::kMainControls.size(); ++i) {
    if (layout::kMainControls[i].name == name) return i;
  }
  return layout::kMainControls.size();
}

static_assert(
    [] {
      for (const auto& entry : access::kAccessibleNames) {
        if (!entry.label.empty() && IndexOf(entry.label) == layout::kMainControls.size() &&
            IndexOf(entry.control) != layout::kMainControls.size()) {
          return false;
        }
      }
      return true;
    }(),
    "a main-window control is named by a label that is not in the layout");

HICON LoadIconSized(HINSTANCE instance, int id, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// A task from another thread, in lParam (owned by the message).
constexpr UINT kWmRunTask = WM_APP + 1;

// The submenu of a popup menu that holds the given command.
HMENU SubmenuHolding(HMENU menu, CommandId id) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU submenu = GetSubMenu(menu, i);
    if (submenu != nullptr &&
        GetMenuState(submenu, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1)) {
      return submenu;
    }
  }
  return nullptr;
}

}  // namespace

bool Picture1Window::Create(HINSTANCE instance, HWND parent, const RECT& rect) {
  // Never visible: no WS_VISIBLE, and nothing ever shows it.
  return CreateWindowExW(0, kPicture1Class, L"", WS_CHILD, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPicture1)), instance,
                         this) != nullptr;
}

LRESULT Picture1Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The tray's callback message is WM_MOUSEMOVE with the event in lParam.
  if (msg == WM_MOUSEMOVE) {
    owner_.OnTrayCallback(lParam);
    return 0;
  }
  return WindowBase::HandleMessage(msg, wParam, lParam);
}

MainWindow::MainWindow(HINSTANCE instance, TrayIconWin32& tray)
    : instance_(instance),
      tray_(tray),
      picture1_(*this),
      mnuRemoveItem_(fileMenu_, CommandId::mnuRemoveItem) {}

MainWindow::~MainWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  if (fileMenu_ != nullptr) DestroyMenu(fileMenu_);
  if (trayMenu_ != nullptr) DestroyMenu(trayMenu_);
  if (image1_ != nullptr) DestroyIcon(image1_);
}

bool MainWindow::Create() {
  WNDCLASSEXW main{};
  main.cbSize = sizeof(main);
  main.lpfnWndProc = &WindowBase::Thunk;
  main.hInstance = instance_;
  main.hIcon = LoadIconSized(instance_, IDI_WINDOW, GetSystemMetrics(SM_CXICON));
  main.hIconSm = LoadIconSized(instance_, IDI_WINDOW, GetSystemMetrics(SM_CXSMICON));
  main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  main.lpszClassName = kMainWindowClass;
  if (RegisterClassExW(&main) == 0) return false;

  WNDCLASSEXW picture{};
  picture.cbSize = sizeof(picture);
  picture.lpfnWndProc = &WindowBase::Thunk;
  picture.hInstance = instance_;
  picture.lpszClassName = kPicture1Class;
  if (RegisterClassExW(&picture) == 0) return false;

  fileMenu_ = BuildPopupMenu(kFileMenu);
  trayMenu_ = BuildPopupMenu(kTrayMenu);
  fileMappings_ = SubmenuHolding(fileMenu_, CommandId::mnuDrivesMap);
  trayMappings_ = SubmenuHolding(trayMenu_, CommandId::mnuDrivesMap);
  image1_ = LoadIconSized(instance_, IDI_IMAGE1, 64);
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  startedAgain_ = StartedAgainMessage();

  const UINT dpi = ScreenDpi();
  const RECT rect = WindowRectForClient(0, 0, Px(layout::kMainClientWidth, dpi),
                                        Px(layout::kMainClientHeight, dpi), kStyle, kExStyle, dpi);
  if (CreateWindowExW(kExStyle, kMainWindowClass, layout::kMainCaption, kStyle, CW_USEDEFAULT, 0,
                      rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance_,
                      this) == nullptr) {
    return false;
  }
  // The controls were made for the window's own DPI; only a window that
  // opened on a screen of another DPI still needs its size adjusted.
  if (dpi_ != dpi) ApplyDpi(dpi_, nullptr);
  tray_.Attach(picture1_.hwnd(), instance_, IDI_TRAY);
  return true;
}

void MainWindow::CreateControls() {
  dpi_ = WindowDpi(hwnd_);
  controls_ = CreateMainControls(
      hwnd_, instance_, dpi_, font_.Create(dpi_),
      [](void* self, HWND parent, const RECT& rect) -> HWND {
        auto& window = *static_cast<MainWindow*>(self);
        window.picture1_.Create(window.instance_, parent, rect);
        return window.picture1_.hwnd();
      },
      this);
  cboDrive_.Bind(controls_[kCboDrive]);
  cboLocRes_.Bind(controls_[kCboLocRes]);

  for (std::size_t i = 0; i < layout::kMainControls.size(); ++i) {
    const auto* entry = access::AccessibleNameOf(layout::kMainControls[i].name);
    if (entry == nullptr) continue;
    if (entry->label.empty()) {
      SetAccessibleName(controls_[i], entry->name);
      continue;
    }
    // Windows finds a box's label (and with it the label's access key) in
    // the control just before it; the key is also announced with the box.
    const std::size_t label = IndexOf(entry->label);
    SetAccessibleName(controls_[i], entry->name,
                      keys::Shortcut(layout::kMainControls[label].caption,
                                     keys::KeyOf(keys::kMainWindowKeys, entry->label)));
    PlaceLabelBefore(controls_[label], controls_[i]);
  }
}

void MainWindow::ApplyDpi(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  font_.Apply(hwnd_, dpi);

  for (std::size_t i = 0; i < layout::kMainControls.size(); ++i) {
    const auto& c = layout::kMainControls[i];
    const RECT rect = MainControlRect(c, dpi);
    SetWindowPos(controls_[i], nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (c.kind == layout::Kind::kComboBox)
      FitComboFieldHeight(controls_[i], Px(c.twips.height, dpi));
  }

  RECT current{};
  GetWindowRect(hwnd_, &current);
  const int left = suggested != nullptr ? suggested->left : current.left;
  const int top = suggested != nullptr ? suggested->top : current.top;
  const RECT rect = WindowRectForClient(0, 0, Px(layout::kMainClientWidth, dpi),
                                        Px(layout::kMainClientHeight, dpi), kStyle, kExStyle, dpi);
  SetWindowPos(hwnd_, nullptr, left, top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void MainWindow::ShowFirstTime(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  lastFocus_ = controls_[kCboDrive];
  SetFocus(lastFocus_);
}

bool MainWindow::TranslateDialogKeys(MSG& msg) {
  if (hwnd_ == nullptr) return false;
  if (RequestContextMenuByKey(hwnd_, msg) || PressFocusedButtonOnEnter(hwnd_, msg)) return true;
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void MainWindow::OnTrayCallback(LPARAM lParam) {
  if (logic_ == nullptr) return;
  if (const auto event = TrayEventFromCallback(lParam)) logic_->TrayIcon_Event(*event);
}

platform::UiPost MainWindow::Poster() const {
  HWND window = hwnd_;
  return [window](std::function<void()> task) {
    auto owned = std::make_unique<std::function<void()>>(std::move(task));
    if (PostMessageW(window, kWmRunTask, 0, reinterpret_cast<LPARAM>(owned.get()))) {
      owned.release();
    }
  };
}

// Read each time the submenu opens: the mappings change behind our back.
void MainWindow::FillMappings(HMENU submenu, unsigned firstId) {
  // "Map" and "Delete" stay; everything after them is the last list.
  for (int i = GetMenuItemCount(submenu) - 1; i >= 2; --i) {
    DeleteMenu(submenu, static_cast<UINT>(i), MF_BYPOSITION);
  }
  if (logic_ == nullptr) return;
  AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
  const auto& items = logic_->mnuMappings_Open();
  for (std::size_t i = 0; i < items.size() && i < kMaxMappingItems; ++i) {
    AppendMenuW(submenu, MF_STRING | (items[i].enabled ? 0U : static_cast<UINT>(MF_GRAYED)),
                firstId + i, items[i].caption.c_str());
  }
}

bool MainWindow::OnMappingCommand(unsigned id) {
  for (const unsigned first : {kIdFileMappingFirst, kIdTrayMappingFirst}) {
    if (id < first || id >= first + kMaxMappingItems) continue;
    if (logic_ != nullptr) logic_->mnuMapping_Click(id - first, first == kIdTrayMappingFirst);
    return true;
  }
  return false;
}

void MainWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void MainWindow::Show() { ShowWindow(hwnd_, SW_SHOW); }

void MainWindow::PopupMenu(PopupMenuId menu) {
  if (menu == PopupMenuId::mnuBar) {
    // Foreground first, or the menu would not close on a click elsewhere.
    SetForegroundWindow(hwnd_);
    // The choice comes back here and goes on as the menu would have sent it.
    const UINT chosen = PopupMenuAtCursor(trayMenu_, TPM_RETURNCMD);
    if (chosen != 0) {
      PostMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    } else {
      tray_.ReturnFocus();
    }
    return;
  }
  if (!keyboardMenuAt_) {
    PopupMenuAtCursor(fileMenu_);
    return;
  }
  const POINT at = *keyboardMenuAt_;
  keyboardMenuAt_.reset();
  TrackPopupMenu(fileMenu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_,
                 nullptr);
}

void MainWindow::OpenFileMenuFromKeyboard() {
  if (logic_ == nullptr) return;
  // At the middle of the focused control, as the keyboard has no pointer.
  HWND control = GetFocus();
  while (control != nullptr && GetParent(control) != hwnd_) control = GetParent(control);
  RECT rect{};
  if (control != nullptr) {
    GetWindowRect(control, &rect);
  } else {
    GetClientRect(hwnd_, &rect);
    MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  }
  keyboardMenuAt_ = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  logic_->Form_MenuKey();
  keyboardMenuAt_.reset();
}

UINT MainWindow::PopupMenuAtCursor(HMENU menu, UINT flags) {
  POINT at{};
  GetCursorPos(&at);
  const BOOL chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | flags,
                                     at.x, at.y, 0, hwnd_, nullptr);
  // Lets the menu close properly when it was opened from the tray.
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  return static_cast<UINT>(chosen);
}

void MainWindow::ShowOpenPathDialog(frmOpenPath& dialog) {
  RunOpenPathDialog(instance_, hwnd_, dialog);
}

void MainWindow::ShowMessage(const std::wstring& text, MessageKind kind,
                             const std::wstring& title) {
  UINT icon = MB_ICONINFORMATION;
  if (kind == MessageKind::kWarning) icon = MB_ICONWARNING;
  if (kind == MessageKind::kCritical) icon = MB_ICONERROR;
  MessageBoxForReaders(hwnd_, text, title, MB_OK | icon);
}

void MainWindow::Unload(UnloadMode mode) {
  if (unloaded_) return;
  unloaded_ = true;
  if (logic_ != nullptr) logic_->Form_Unload(mode);
}

void MainWindow::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
  const unsigned id = LOWORD(wParam);
  const unsigned code = HIWORD(wParam);
  // Buttons send BN_CLICKED and menus 0; the boxes' notifications carry
  // other codes and ids and are not handled.
  if (code != BN_CLICKED || logic_ == nullptr || OnMappingCommand(id) || !IsCommandId(id)) return;
  logic_->Dispatch(static_cast<CommandId>(id));
}

void MainWindow::OnMouseUp(MouseButton button) {
  if (logic_ != nullptr) logic_->Form_MouseUp(button);
}

void MainWindow::OnStartedAgain() {
  if (logic_ == nullptr) return;
  if (IsIconic(hwnd_) != FALSE) ShowWindow(hwnd_, SW_RESTORE);
  logic_->Form_StartedAgain();
  SetForegroundWindow(hwnd_);
  // An open dialog or message box comes first: the window waits for it.
  if (HWND popup = GetLastActivePopup(hwnd_); popup != hwnd_) SetForegroundWindow(popup);
}

void MainWindow::OnNextDialogControl(WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  if (LOWORD(lParam) != 0) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND from = tabAnchor_ != nullptr ? tabAnchor_ : GetFocus();
    while (from != nullptr && GetParent(from) != hwnd_) from = GetParent(from);
    target = GetNextDlgTabItem(hwnd_, from, wParam != 0 ? TRUE : FALSE);
  }
  tabAnchor_ = nullptr;
  if (target == nullptr || GetParent(target) != hwnd_) return;
  // A label only marks where the move starts: focusing it would have a
  // screen reader announce it on the way.
  if ((GetWindowLongPtrW(target, GWL_STYLE) & WS_TABSTOP) == 0) {
    tabAnchor_ = target;
    return;
  }
  SetFocus(target);
  if ((SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
    SendMessageW(target, EM_SETSEL, 0, -1);
  }
}

void MainWindow::OnDrawImage(const DRAWITEMSTRUCT& item) {
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  if (image1_ == nullptr) return;
  // Inside the one-pixel frame: the picture's natural 64 x 64 at 96 DPI,
  // scaled along with the layout at other DPIs.
  const int size =
      std::min(item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top);
  const int left = (item.rcItem.left + item.rcItem.right - size) / 2;
  const int top = (item.rcItem.top + item.rcItem.bottom - size) / 2;
  DrawIconEx(item.hDC, left, top, image1_, size, size, 0, nullptr, DI_NORMAL);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
    tray_.OnTaskbarCreated();
    return 0;
  }
  if (msg == startedAgain_ && startedAgain_ != 0) {
    OnStartedAgain();
    return 0;
  }
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return 0;
    case kWmRunTask: {
      const std::unique_ptr<std::function<void()>> task(
          reinterpret_cast<std::function<void()>*>(lParam));
      if (task && *task) (*task)();
      return 0;
    }
    case WM_INITMENUPOPUP: {
      HMENU opened = reinterpret_cast<HMENU>(wParam);
      if (opened != nullptr && opened == fileMappings_) FillMappings(opened, kIdFileMappingFirst);
      if (opened != nullptr && opened == trayMappings_) FillMappings(opened, kIdTrayMappingFirst);
      return 0;
    }
    case WM_LBUTTONUP:
      OnMouseUp(MouseButton::kLeft);
      return 0;
    case WM_RBUTTONUP:
      // Only releases over the bare background arrive here: every control
      // takes its own clicks.
      OnMouseUp(MouseButton::kRight);
      return 0;
    case WM_MBUTTONUP:
      OnMouseUp(MouseButton::kMiddle);
      return 0;
    case WM_CONTEXTMENU:
      // The keyboard's request; a mouse's goes on as before (WM_RBUTTONUP is
      // the right click's road).
      if (IsKeyboardContextMenu(lParam)) {
        OpenFileMenuFromKeyboard();
        return 0;
      }
      break;
    case WM_NEXTDLGCTL:
      // The dialog manager's answer to a label's access key: the label
      // first, then the control after it.
      OnNextDialogControl(wParam, lParam);
      return 0;
    case WM_DRAWITEM:
      if (wParam == static_cast<WPARAM>(kIdImage1)) {
        OnDrawImage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
      }
      return 0;
    case WM_SETFOCUS:
      if (lastFocus_ != nullptr && IsWindow(lastFocus_)) SetFocus(lastFocus_);
      return 0;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      Unload(UnloadMode::kUser);
      DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The system closing the window counts as closing it.
      // No message then: a box would hold up the logout.
      if (wParam != FALSE) Unload(UnloadMode::kSessionEnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return WindowBase::HandleMessage(msg, wParam, lParam);
}

}  // namespace tessaro::ui::win32
