#pragma once

#include <string_view>

#include "platform/Conventions.h"
#include "platform/PathRules.h"

namespace tessaro::platform {

// The system's own path rules, for the system's implementation of a service
// interface that has them.
template <class Interface>
class SystemPathRules : public Interface {
 public:
  PathStyle Style() const final { return {PathSeparator()}; }
  bool SamePath(std::wstring_view a, std::wstring_view b) const final {
    return platform::SamePath(a, b);
  }
};

}  // namespace tessaro::platform
