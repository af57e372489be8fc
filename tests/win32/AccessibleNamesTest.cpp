// A named control's accessible object, asked for in-process: COM identity
// holds across the interfaces a screen reader asks for.
#include <windows.h>
// After windows.h, which they need.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/win32/AccessibleNames.h"

namespace tessaro::ui::win32 {
namespace {

template <typename Interface>
Interface* Query(IUnknown* object) {
  Interface* asked = nullptr;
  if (FAILED(object->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&asked))))
    return nullptr;
  return asked;
}

std::wstring NameOf(IAccessible* object) {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object->get_accName(self, &name) != S_OK || name == nullptr) return L"<no name>";
  std::wstring result(name, SysStringLen(name));
  SysFreeString(name);
  return result;
}

TEST(AccessibleNames, OtherInterfacesAndBack_SameObjectSameName) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  HWND button = CreateWindowExW(0, L"BUTTON", L"...", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  {
    std::wstring name = L"Ordner w\u00E4hlen";
    SetAccessibleName(button, name.c_str());
    name.assign(name.size(), L'x');  // the control keeps its own copy
  }

  IAccessible* named = nullptr;
  ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(button, static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&named))));
  EXPECT_EQ(NameOf(named), L"Ordner w\u00E4hlen");
  IUnknown* identity = Query<IUnknown>(named);
  for (IUnknown* other : {static_cast<IUnknown*>(Query<IOleWindow>(named)),
                          static_cast<IUnknown*>(Query<IEnumVARIANT>(named))}) {
    ASSERT_NE(other, nullptr);
    IUnknown* otherIdentity = Query<IUnknown>(other);
    EXPECT_EQ(otherIdentity, identity);
    IAccessible* back = Query<IAccessible>(other);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back, named);
    EXPECT_EQ(NameOf(back), L"Ordner w\u00E4hlen");
    back->Release();
    otherIdentity->Release();
    other->Release();
  }
  identity->Release();
  named->Release();
  DestroyWindow(button);
  CoUninitialize();
}

// Naming puts itself in front of the control's own procedure: the control
// still answers its messages, and naming it again only changes the name.
TEST(AccessibleNames, NamedTwice_SecondNameAndControlStillWorks) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(list, nullptr);
  SetAccessibleName(list, L"Dateien");
  SetAccessibleName(list, L"Ordner");
  for (const wchar_t* line : {L"a.txt", L"b.txt"})
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);

  IAccessible* named = nullptr;
  ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(list, static_cast<DWORD>(OBJID_CLIENT),
                                                   __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&named))));
  EXPECT_EQ(NameOf(named), L"Ordner");
  named->Release();
  DestroyWindow(list);
  CoUninitialize();
}

}  // namespace
}  // namespace tessaro::ui::win32
