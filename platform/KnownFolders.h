#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tessaro::platform {

// The folder numbers the program asks for, by their Windows meaning.
inline constexpr std::int32_t kCsidlPersonal = 5;  // the user's documents
inline constexpr std::int32_t kCsidlAppData = 26;  // per-user application data

class IKnownFolders {
 public:
  virtual ~IKnownFolders() = default;
  // The folder's full path, or the empty text when it cannot be found.
  virtual std::wstring Path(std::int32_t csidl) = 0;
};

std::unique_ptr<IKnownFolders> MakeSystemKnownFolders();

}  // namespace tessaro::platform
