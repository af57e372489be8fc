#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Where every control sits, in twips (1/1440 inch), for both front ends. A
// front end converts with TwipsToPixels at the window's own DPI.
namespace tessaro::ui::layout {

struct Rect {
  int left;
  int top;
  int width;
  int height;
};

constexpr int TwipsToPixels(int twips, int dpi) {
  // Rounded to the nearest pixel; 15 twips are one pixel at 96 DPI.
  return (twips * dpi + 720) / 1440;
}

enum class Kind { kLabel, kComboBox, kButton, kPicture, kImage };

struct Control {
  std::string_view name;
  Kind kind;
  const wchar_t* caption;  // design-time caption or text
  Rect twips;
};

inline constexpr const wchar_t* kMainCaption = L"Tessaro";
inline constexpr int kMainClientWidth = 5175;
inline constexpr int kMainClientHeight = 3030;

// In tab order. Labels, the image and the invisible Picture1 take no focus,
// so the keyboard cycles cboDrive, cmdSubst, cmdDelRes, cmdOpenPath,
// cboLocRes, cmdOpenDrive.
inline constexpr std::array<Control, 10> kMainControls{{
    {"lblDrive", Kind::kLabel, L"Laufwerk auswählen", {120, 240, 2055, 255}},
    {"cboDrive", Kind::kComboBox, L"cboDrive", {120, 600, 855, 315}},
    {"Label1", Kind::kLabel, L"Lokale Ressource hinzufügen...", {120, 1080, 4455, 375}},
    {"cmdSubst", Kind::kButton, L"Map", {360, 2400, 1695, 375}},
    {"cmdDelRes", Kind::kButton, L"Delete", {3120, 2400, 1695, 375}},
    {"cmdOpenPath", Kind::kButton, L"...", {4560, 1420, 495, 315}},
    {"cboLocRes", Kind::kComboBox, L"cboLocRes", {120, 1440, 4335, 315}},
    {"Picture1", Kind::kPicture, L"", {3000, 120, 615, 615}},
    {"cmdOpenDrive", Kind::kButton, L"...", {1080, 600, 495, 315}},
    {"Image1", Kind::kImage, L"", {4080, 120, 990, 990}},
}};

inline constexpr const wchar_t* kDialogDesignCaption = L"Name des Dialogfeldes";
inline constexpr const wchar_t* kDialogCaption = L"Tessaro - Ordner auswählen";
// The dialog's client area; left and top are screen coordinates.
inline constexpr Rect kDialogClient{2760, 3750, 6630, 3495};

enum class DialogKind { kButton, kDriveList, kDirList, kFileList };

struct DialogControl {
  std::string_view name;
  DialogKind kind;
  const wchar_t* caption;
  Rect twips;
};

inline constexpr std::array<DialogControl, 5> kDialogControls{{
    {"OKButton", DialogKind::kButton, L"OK", {5280, 120, 1215, 375}},
    {"CancelButton", DialogKind::kButton, L"Abbrechen", {5280, 600, 1215, 375}},
    {"Drive1", DialogKind::kDriveList, L"", {120, 120, 4960, 315}},
    {"Dir1", DialogKind::kDirList, L"", {120, 480, 2535, 2790}},
    {"File1", DialogKind::kFileList, L"", {2760, 480, 2295, 2820}},
}};

// A control's name, checked when the program is compiled: a name that is not
// in the table does not compile, so a lookup can never fall back on another
// control.
template <const auto& Table>
class ControlName {
 public:
  // Implicit, so that a call site passes the name as a plain literal.
  consteval ControlName(const char* name) : index_(IndexOf(name)) {}
  constexpr std::size_t index() const { return index_; }

 private:
  static consteval std::size_t IndexOf(std::string_view name) {
    for (std::size_t i = 0; i < Table.size(); ++i) {
      if (Table[i].name == name) return i;
    }
    throw "no control of that name";
  }
  std::size_t index_;
};

using MainControlName = ControlName<kMainControls>;
using DialogControlName = ControlName<kDialogControls>;

constexpr const Control& MainControl(MainControlName name) { return kMainControls[name.index()]; }

constexpr const DialogControl& DialogControlNamed(DialogControlName name) {
  return kDialogControls[name.index()];
}

}  // namespace tessaro::ui::layout
