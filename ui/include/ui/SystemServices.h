#pragma once

#include "ui/Services.h"

// The services that need nothing of the platform beyond the C++ library,
// the same in both front ends.
namespace tessaro::ui {

// The year of the local calendar.
class SystemClock final : public IClock {
 public:
  std::int32_t CurrentYear() override;
};

// "Tessaro beenden": gone at once, no window closes, nothing is saved.
class ImmediateExit final : public IProcessExit {
 public:
  void EndNow() override;
};

// The version CMake generated from the project's one version number; the
// Win32 version resource, which Explorer shows in the file's properties, is
// generated from the same numbers.
class BuildVersion final : public IVersionSource {
 public:
  ProgramVersion Version() override;
};

}  // namespace tessaro::ui
