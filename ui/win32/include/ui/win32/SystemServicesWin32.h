#pragma once

#include "ui/Services.h"

namespace tessaro::ui::win32 {

class ClockWin32 final : public IClock {
 public:
  std::int32_t CurrentYear() override;
};

class ProcessExitWin32 final : public IProcessExit {
 public:
  void EndNow() override;
};

// Reads the version from the exe's own version resource, so the About message
// can never disagree with what Explorer shows in the file's properties.
class VersionResourceWin32 final : public IVersionSource {
 public:
  ProgramVersion Version() override;
};

}  // namespace tessaro::ui::win32
