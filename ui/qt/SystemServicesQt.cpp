#include "ui/qt/SystemServicesQt.h"

#include <QDate>

#include <cstdio>
#include <cstdlib>

#include "core/Version.h"

namespace tessaro::ui::qt {

std::int32_t SystemClock::CurrentYear() { return QDate::currentDate().year(); }

void ImmediateExit::EndNow() {
  std::fflush(nullptr);
  std::_Exit(0);
}

ProgramVersion BuildVersion::Version() {
  return {build::kVersionMajor, build::kVersionMinor, build::kVersionRevision};
}

}  // namespace tessaro::ui::qt
