#pragma once

// Child-window ids and window classes of tessaro.exe, also known to the
// end-to-end driver. Buttons carry their command id from ui/Commands.h. Ids 1
// and 2 stay unused: the dialog manager sends IDOK and IDCANCEL for Enter and
// Escape, and nothing may answer them.
#include "platform/ProgramNames.h"

namespace tessaro::ui::win32 {

enum ControlId : int {
  kIdLblDrive = 101,
  kIdCboDrive,
  kIdLabel1,
  kIdCboLocRes,
  kIdPicture1,
  kIdImage1,

  kIdOKButton = 201,
  kIdCancelButton,
  kIdDrive1,
  kIdDir1,
  kIdFile1,
};

inline constexpr const wchar_t* kMainWindowClass = names::kMainWindowClass;
inline constexpr const wchar_t* kPicture1Class = L"TessaroPicture1";
inline constexpr const wchar_t* kOpenPathClass = L"TessaroOpenPath";

}  // namespace tessaro::ui::win32
