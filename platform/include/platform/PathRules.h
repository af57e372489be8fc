#pragma once

#include <string_view>

namespace tessaro::platform {

// How the system writes paths.
struct PathStyle {
  wchar_t separator = L'/';
};

// How a service's paths are written and compared: by the system's own rules
// for the system's services, by made-up ones in tests.
class IPathRules {
 public:
  virtual ~IPathRules() = default;
  virtual PathStyle Style() const = 0;
  // Whether two paths name the same folder by the system's rule
  // (platform::SamePath for the system's own services).
  virtual bool SamePath(std::wstring_view a, std::wstring_view b) const = 0;
};

}  // namespace tessaro::platform
