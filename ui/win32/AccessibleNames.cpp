#include "ui/win32/AccessibleNames.h"

#include <oleacc.h>
#include <oleauto.h>

#include <map>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "ui/Accessibility.h"

namespace tessaro::ui::win32 {
namespace {

// oleacc and oleaut32 are loaded when a screen reader first asks, so a start
// without one pays nothing for them.
struct AccessibilityApi {
  decltype(&::CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&::LresultFromObject) lresultFromObject = nullptr;
  decltype(&::SysAllocString) sysAllocString = nullptr;
};

template <typename Function>
Function Load(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// From System32 only: the program's own folder (a Downloads folder, say) may
// hold a planted DLL of the same name. Windows 7 without the update that
// brought the search flags refuses them; the full path does the same there.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// COM is initialised once by the program (wWinMain) before any window exists:
// the standard objects are marshalled to the screen reader through it.
const AccessibilityApi* Api() {
  static const AccessibilityApi api = [] {
    AccessibilityApi loaded;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
    if (oleacc == nullptr || oleaut == nullptr) return loaded;
    loaded.createStdAccessibleObject =
        Load<decltype(loaded.createStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    loaded.lresultFromObject =
        Load<decltype(loaded.lresultFromObject)>(oleacc, "LresultFromObject");
    loaded.sysAllocString = Load<decltype(loaded.sysAllocString)>(oleaut, "SysAllocString");
    return loaded;
  }();
  const bool complete = api.createStdAccessibleObject != nullptr &&
                        api.lresultFromObject != nullptr && api.sysAllocString != nullptr;
  return complete ? &api : nullptr;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's own object for the control, under another name. Everything
// else (role, state, value, children, location, actions) is the system's.
// The interfaces a screen reader asks the standard object for are answered by
// this one object, so COM identity holds: IUnknown from any of them is the same
// pointer, and asking back for IAccessible yields the named object again.
// Only Release ever destroys it, never a delete through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class NamedAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
 public:
  NamedAccessible(IAccessible* standard, std::wstring name, std::wstring shortcut,
                  const AccessibilityApi& api)
      : standard_(standard), name_(std::move(name)), shortcut_(std::move(shortcut)), api_(api) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
    } else if (riid == __uuidof(IEnumVARIANT) && Standard(riid, &enum_)) {
      *object = static_cast<IEnumVARIANT*>(this);
    } else if (riid == __uuidof(IOleWindow) && Standard(riid, &window_)) {
      *object = static_cast<IOleWindow*>(this);
    } else {
      // Handing out another object's interface would break identity.
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override {
    return standard_->Invoke(id, riid, lcid, flags, params, result, exception, argError);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    if (name == nullptr) return E_POINTER;
    *name = api_.sysAllocString(name_.c_str());
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    if (!IsSelf(child) || shortcut_.empty()) {
      return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    if (shortcut == nullptr) return E_POINTER;
    *shortcut = api_.sysAllocString(shortcut_.c_str());
    return *shortcut != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

  // IEnumVARIANT: the standard object's children.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
    return enum_->Next(count, children, fetched);
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return enum_->Skip(count); }
  HRESULT STDMETHODCALLTYPE Reset() override { return enum_->Reset(); }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override { return enum_->Clone(copy); }

  // IOleWindow: the control's window.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override { return window_->GetWindow(window); }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override {
    return window_->ContextSensitiveHelp(enter);
  }

 private:
  ~NamedAccessible() {
    if (enum_ != nullptr) enum_->Release();
    if (window_ != nullptr) window_->Release();
    standard_->Release();
  }

  // The standard object's interface, asked for once and kept.
  template <typename Interface>
  bool Standard(REFIID riid, Interface** kept) {
    if (*kept != nullptr) return true;
    return SUCCEEDED(standard_->QueryInterface(riid, reinterpret_cast<void**>(kept))) &&
           *kept != nullptr;
  }

  LONG refs_ = 1;
  IAccessible* standard_;
  IEnumVARIANT* enum_ = nullptr;
  IOleWindow* window_ = nullptr;
  std::wstring name_;
  std::wstring shortcut_;
  const AccessibilityApi& api_;
};
#pragma GCC diagnostic pop

// What a control is announced by: its name and, where it has one, its
// label's access key ("Alt+L").
struct AccessibleText {
  std::wstring name;
  std::wstring shortcut;
};

LRESULT AnswerWithName(HWND control, WPARAM flags, const AccessibleText& text) {
  const AccessibilityApi* api = Api();
  if (api == nullptr) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(api->createStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* named = new (std::nothrow) NamedAccessible(standard, text.name, text.shortcut, *api);
  if (named == nullptr) {
    standard->Release();
    return 0;
  }
  const LRESULT result =
      api->lresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(named));
  named->Release();
  return result > 0 ? result : 0;
}

// Each named control's texts and the procedure it had before. Kept here
// rather than by comctl32's subclassing, which looks its chain up in a
// window property on every message: a round trip to the server under Wine,
// seconds for a list box filled with 100,000 lines.
struct NamedControl {
  WNDPROC previous = nullptr;
  AccessibleText text;
};

// Windows of any thread may be named (a message box's static); the lock is
// never held while a window procedure runs, as those may send messages.
class NamedControls {
 public:
  WNDPROC Previous(HWND control) {
    const Lock lock(lock_);
    const auto found = controls_.find(control);
    return found != controls_.end() ? found->second.previous : nullptr;
  }
  std::optional<AccessibleText> Text(HWND control) {
    const Lock lock(lock_);
    const auto found = controls_.find(control);
    if (found == controls_.end()) return std::nullopt;
    return found->second.text;
  }
  // False when the control is named already: it then only takes the texts.
  bool Add(HWND control, AccessibleText text, WNDPROC previous) {
    const Lock lock(lock_);
    const auto [entry, added] = controls_.try_emplace(control, NamedControl{previous, {}});
    entry->second.text = std::move(text);
    return added;
  }
  void Remove(HWND control) {
    const Lock lock(lock_);
    controls_.erase(control);
  }

 private:
  class Lock {
   public:
    explicit Lock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~Lock() { ReleaseSRWLockExclusive(&lock_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    SRWLOCK& lock_;
  };

  SRWLOCK lock_ = SRWLOCK_INIT;
  std::map<HWND, NamedControl> controls_;
};

NamedControls& Named() {
  static NamedControls named;
  return named;
}

LRESULT CALLBACK NameProc(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = Named().Previous(control);
  if (msg == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
    if (const auto text = Named().Text(control)) {
      if (const LRESULT answer = AnswerWithName(control, wParam, *text); answer != 0) return answer;
    }
  }
  const LRESULT result = previous != nullptr
                             ? CallWindowProcW(previous, control, msg, wParam, lParam)
                             : DefWindowProcW(control, msg, wParam, lParam);
  // The window is gone; its procedure is not put back.
  if (msg == WM_NCDESTROY) Named().Remove(control);
  return result;
}

void Subclass(HWND control, const wchar_t* name, const std::wstring& shortcut) {
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
  if (previous == nullptr) return;
  // A second call only replaces the texts.
  if (!Named().Add(control, AccessibleText{name, shortcut}, previous)) return;
  if (SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NameProc)) == 0)
    Named().Remove(control);
}

// The message box being shown and the text its static control is to be named
// by. Each box keeps its own on its caller's stack: a box opened from inside
// another box's loop (the tray's About while a message is up) has its own,
// and the outer one's comes back when it ends.
struct PendingBox {
  const std::wstring* text = nullptr;
  std::wstring spoken;
  PendingBox* outer = nullptr;
};
thread_local PendingBox* current = nullptr;

BOOL CALLBACK NameMatchingStatic(HWND child, LPARAM found) {
  const PendingBox& box = *current;
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  const int length = GetWindowTextLengthW(child);
  if (length != static_cast<int>(box.text->size())) return TRUE;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  if (text != *box.text) return TRUE;
  SetAccessibleName(child, box.spoken.c_str());
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  // The box is activated once its text stands in its static control.
  if (code == HCBT_ACTIVATE && current != nullptr && current->text != nullptr) {
    bool found = false;
    EnumChildWindows(reinterpret_cast<HWND>(wParam), &NameMatchingStatic,
                     reinterpret_cast<LPARAM>(&found));
    if (found) current->text = nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// One hook per box, removed when its box has ended, however deep the nesting.
class BoxHook {
 public:
  BoxHook() : hook_(SetWindowsHookExW(WH_CBT, &MessageBoxHook, nullptr, GetCurrentThreadId())) {}
  ~BoxHook() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  }
  BoxHook(const BoxHook&) = delete;
  BoxHook& operator=(const BoxHook&) = delete;

 private:
  HHOOK hook_;
};

}  // namespace

void SetAccessibleName(HWND control, const wchar_t* name, const std::wstring& shortcut) {
  if (control == nullptr) return;
  Subclass(control, name, shortcut);
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof(combo);
  wchar_t className[16] = {};
  GetClassNameW(control, className, 16);
  if (lstrcmpiW(className, L"ComboBox") == 0 && GetComboBoxInfo(control, &combo) &&
      combo.hwndItem != nullptr && combo.hwndItem != control) {
    Subclass(combo.hwndItem, name, shortcut);
  }
}

void PlaceLabelBefore(HWND label, HWND control) {
  if (label == nullptr || control == nullptr) return;
  HWND before = GetWindow(control, GW_HWNDPREV);
  if (before == label) return;
  SetWindowPos(label, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

int MessageBoxForReaders(HWND owner, const std::wstring& text, const std::wstring& title,
                         UINT style) {
  PendingBox box{&text, access::WithLineBreaks(text, L"\r\n"), current};
  current = &box;
  int result = 0;
  {
    const BoxHook hook;
    result = MessageBoxW(owner, text.c_str(), title.c_str(), style);
  }
  current = box.outer;
  return result;
}

}  // namespace tessaro::ui::win32
