#include "ui/win32/MainControls.h"

#include <string>

#include "ui/AccessKeys.h"
#include "ui/Commands.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/Dpi.h"

namespace tessaro::ui::win32 {
namespace {

// How far the combo boxes' lists drop down.
constexpr int kDropDownTwips = 2400;

// The child-window id of each control of the layout, in its order. A name
// without an id stops the build instead of giving a control id 0.
constexpr int ControlIdFor(std::string_view name) {
  if (name == "lblDrive") return kIdLblDrive;
  if (name == "cboDrive") return kIdCboDrive;
  if (name == "Label1") return kIdLabel1;
  if (name == "cboLocRes") return kIdCboLocRes;
  if (name == "Picture1") return kIdPicture1;
  if (name == "Image1") return kIdImage1;
  if (name == "cmdSubst") return static_cast<int>(CommandId::cmdSubst);
  if (name == "cmdDelRes") return static_cast<int>(CommandId::cmdDelRes);
  if (name == "cmdOpenPath") return static_cast<int>(CommandId::cmdOpenPath);
  if (name == "cmdOpenDrive") return static_cast<int>(CommandId::cmdOpenDrive);
  throw "no child-window id for that control";
}

constexpr auto kControlIds = [] {
  std::array<int, layout::kMainControls.size()> ids{};
  for (std::size_t i = 0; i < ids.size(); ++i) ids[i] = ControlIdFor(layout::kMainControls[i].name);
  return ids;
}();

}  // namespace

RECT MainControlRect(const layout::Control& control, UINT dpi) {
  const auto& t = control.twips;
  int height = Px(t.height, dpi);
  if (control.kind == layout::Kind::kComboBox) height += Px(kDropDownTwips, dpi);
  const int left = Px(t.left, dpi);
  const int top = Px(t.top, dpi);
  return RECT{left, top, left + Px(t.width, dpi), top + height};
}

// A combo box's own height is that of its edit field, which follows the
// font; the item height of the field (-1) sets it to the layout's height.
void FitComboFieldHeight(HWND combo, int height) {
  RECT rect{};
  GetWindowRect(combo, &rect);
  const int current = rect.bottom - rect.top;
  const LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  if (item == CB_ERR) return;
  const LRESULT wanted = item + (height - current);
  if (wanted > 0 && wanted != item) {
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
  }
}

MainControlHandles CreateMainControls(HWND parent, HINSTANCE instance, UINT dpi, HFONT font,
                                      MakePicture makePicture, void* context) {
  // Made in their place and with their font at once: a second pass that moves
  // and re-fonts every control costs noticeable start-up time.
  MainControlHandles controls{};
  for (std::size_t i = 0; i < layout::kMainControls.size(); ++i) {
    const auto& c = layout::kMainControls[i];
    const RECT rect = MainControlRect(c, dpi);
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlIds[i]));
    const wchar_t* className = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    const int key = keys::KeyOf(keys::kMainWindowKeys, c.name);
    std::wstring text = c.caption;
    switch (c.kind) {
      case layout::Kind::kLabel:
        // SS_NOTIFY: the label takes its own clicks, so a right click on it
        // never reaches the window's background.
        style |= SS_LEFT | SS_NOTIFY;
        text = keys::Marked(c.caption, key);
        break;
      case layout::Kind::kComboBox:
        className = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
        break;
      case layout::Kind::kButton:
        className = L"BUTTON";
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        text = keys::Marked(c.caption, key);
        break;
      case layout::Kind::kImage:
        style |= SS_OWNERDRAW | SS_NOTIFY | WS_BORDER;
        break;
      case layout::Kind::kPicture:
        controls[i] = makePicture(context, parent, rect);
        continue;
    }
    controls[i] = CreateWindowExW(0, className, text.c_str(), style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, id,
                                  instance, nullptr);
    SendMessageW(controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == layout::Kind::kComboBox) {
      // The list's drop height follows the field height of the font the box
      // had when last sized: sized once more now that it has its own font.
      SetWindowPos(controls[i], nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      FitComboFieldHeight(controls[i], Px(c.twips.height, dpi));
    }
  }
  return controls;
}

}  // namespace tessaro::ui::win32
