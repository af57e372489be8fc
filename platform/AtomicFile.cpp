#include "AtomicFile.h"

#include <atomic>
#include <chrono>

namespace tessaro::platform {

std::string TempFileSuffix(std::uint64_t processId) {
  static std::atomic<std::uint64_t> counter{0};
  constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::uint64_t seed = (processId << 32U) ^ now ^ (++counter * 0x9E3779B97F4A7C15ULL);
  std::string suffix(kTempMarker);
  for (int i = 0; i < 6; ++i) {
    seed ^= seed >> 29U;
    seed *= 0xBF58476D1CE4E5B9ULL;
    suffix += kAlphabet[static_cast<std::size_t>(seed >> 58U) % kAlphabet.size()];
  }
  return suffix;
}

FileContent ReadToEnd(std::uint64_t size,
                      const std::function<std::optional<std::size_t>(char*, std::size_t)>& read,
                      const std::function<std::wstring()>& reason,
                      const std::function<std::wstring()>& tooBig) {
  FileContent content;
  content.status = ReadStatus::kError;
  if (size > kMaxFileSize) {
    content.reason = tooBig();
    return content;
  }
  content.bytes.reserve(static_cast<std::size_t>(size));
  char buffer[65536];
  for (;;) {
    const std::optional<std::size_t> got = read(buffer, sizeof buffer);
    if (!got) {
      content.reason = reason();
      content.bytes.clear();
      return content;
    }
    if (*got == 0) break;
    content.bytes.append(buffer, *got);
    // The file grew while it was read.
    if (content.bytes.size() > kMaxFileSize) {
      content.reason = tooBig();
      content.bytes.clear();
      return content;
    }
  }
  content.status = ReadStatus::kOk;
  return content;
}

}  // namespace tessaro::platform
