#pragma once

#include "ui/Services.h"

namespace tessaro::ui::qt {

class SystemClock final : public IClock {
 public:
  std::int32_t CurrentYear() override;
};

// "Tessaro beenden": gone at once, no window closes, nothing is saved.
class ImmediateExit final : public IProcessExit {
 public:
  void EndNow() override;
};

// The version CMake generated from the project's one version number.
class BuildVersion final : public IVersionSource {
 public:
  ProgramVersion Version() override;
};

}  // namespace tessaro::ui::qt
