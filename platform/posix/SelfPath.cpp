#include "SelfPath.h"

#include <unistd.h>

#include <vector>

namespace tessaro::platform {

std::string SelfPath() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    const auto used = static_cast<std::size_t>(length);
    if (used < buffer.size()) return std::string(buffer.data(), used);
    if (buffer.size() >= (1u << 16)) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace tessaro::platform
