#include "ui/win32/AccessibleNames.h"

#include <commctrl.h>
#include <oleacc.h>
#include <oleauto.h>

#include <new>

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

const AccessibilityApi* Api() {
  static const AccessibilityApi api = [] {
    AccessibilityApi loaded;
    // The standard objects are marshalled to the screen reader through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) return loaded;
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
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
// Only Release ever destroys it, never a delete through the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(IAccessible* standard, const wchar_t* name, const std::wstring& shortcut,
                  const AccessibilityApi& api)
      : standard_(standard), name_(name), shortcut_(shortcut), api_(api) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // IEnumVARIANT, IOleWindow and the like: the standard object's.
    return standard_->QueryInterface(riid, object);
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

 private:
  ~NamedAccessible() { standard_->Release(); }

  LONG refs_ = 1;
  IAccessible* standard_;
  std::wstring name_;
  std::wstring shortcut_;
  const AccessibilityApi& api_;
};
#pragma GCC diagnostic pop

// What a control is announced by; lives as long as the control's subclass.
struct AccessibleText {
  const wchar_t* name;
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
  const LRESULT result = api->lresultFromObject(__uuidof(IAccessible), flags, named);
  named->Release();
  return result > 0 ? result : 0;
}

constexpr UINT_PTR kNameSubclassId = 1;
// Where the texts of a named control are found again when it is named once
// more (the subclass keeps them too, but comctl32 offers no named export to
// read them back).
constexpr const wchar_t* kTextProperty = L"TessaroAccessibleText";

LRESULT CALLBACK NameSubclass(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                              DWORD_PTR data) {
  auto* text = reinterpret_cast<AccessibleText*>(data);
  if (msg == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
    if (const LRESULT answer = AnswerWithName(control, wParam, *text); answer != 0) return answer;
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &NameSubclass, kNameSubclassId);
    RemovePropW(control, kTextProperty);
    delete text;
  }
  return DefSubclassProc(control, msg, wParam, lParam);
}

void Subclass(HWND control, const wchar_t* name, const std::wstring& shortcut) {
  // A second call only replaces the texts.
  auto* text = new (std::nothrow) AccessibleText{name, shortcut};
  if (text == nullptr) return;
  if (SetWindowSubclass(control, &NameSubclass, kNameSubclassId,
                        reinterpret_cast<DWORD_PTR>(text)) == FALSE) {
    delete text;
    return;
  }
  delete static_cast<AccessibleText*>(GetPropW(control, kTextProperty));
  SetPropW(control, kTextProperty, text);
}

// The message box being shown and the text its static control is to be
// named by; one box at a time on the one user-interface thread.
struct PendingBox {
  HHOOK hook = nullptr;
  const std::wstring* text = nullptr;
  std::wstring spoken;  // the name of the box's text, alive as long as the box
};
PendingBox pending;

BOOL CALLBACK NameMatchingStatic(HWND child, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(child, className, 16);
  if (lstrcmpiW(className, L"Static") != 0) return TRUE;
  const int length = GetWindowTextLengthW(child);
  if (length != static_cast<int>(pending.text->size())) return TRUE;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(child, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  if (text != *pending.text) return TRUE;
  SetAccessibleName(child, pending.spoken.c_str());
  *reinterpret_cast<bool*>(found) = true;
  return FALSE;
}

LRESULT CALLBACK MessageBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  // The box is activated once its text stands in its static control.
  if (code == HCBT_ACTIVATE && pending.text != nullptr) {
    bool found = false;
    EnumChildWindows(reinterpret_cast<HWND>(wParam), &NameMatchingStatic,
                     reinterpret_cast<LPARAM>(&found));
    if (found) pending.text = nullptr;
  }
  return CallNextHookEx(pending.hook, code, wParam, lParam);
}

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
  pending.text = &text;
  pending.spoken = access::WithLineBreaks(text, L"\r\n");
  pending.hook = SetWindowsHookExW(WH_CBT, &MessageBoxHook, nullptr, GetCurrentThreadId());
  const int result = MessageBoxW(owner, text.c_str(), title.c_str(), style);
  if (pending.hook != nullptr) UnhookWindowsHookEx(pending.hook);
  pending = {};
  return result;
}

}  // namespace tessaro::ui::win32
