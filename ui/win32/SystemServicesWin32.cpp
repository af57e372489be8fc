#include "ui/win32/SystemServicesWin32.h"

#include <windows.h>

#include "core/Version.h"

namespace tessaro::ui::win32 {

std::int32_t ClockWin32::CurrentYear() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wYear;
}

void ProcessExitWin32::EndNow() { ExitProcess(0); }

ProgramVersion BuildVersion::Version() {
  return {build::kVersionMajor, build::kVersionMinor, build::kVersionRevision};
}

}  // namespace tessaro::ui::win32
