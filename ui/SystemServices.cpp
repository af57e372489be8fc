#include "ui/SystemServices.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/Version.h"

namespace tessaro::ui {

std::int32_t SystemClock::CurrentYear() {
  const std::time_t now = std::time(nullptr);
  // Only the window's thread asks, so the C library's one shared result will do.
  const std::tm* local = std::localtime(&now);
  return local != nullptr ? local->tm_year + 1900 : 1970;
}

void ImmediateExit::EndNow() {
  std::fflush(nullptr);
  std::_Exit(0);
}

ProgramVersion BuildVersion::Version() {
  return {build::kVersionMajor, build::kVersionMinor, build::kVersionRevision};
}

}  // namespace tessaro::ui
