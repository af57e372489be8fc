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

// The version the build was made with: the version resource, which Explorer
// shows in the file's properties, is generated from the same numbers.
class BuildVersion final : public IVersionSource {
 public:
  ProgramVersion Version() override;
};

}  // namespace tessaro::ui::win32
