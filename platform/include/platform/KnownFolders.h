#pragma once

#include <memory>
#include <string>

namespace tessaro::platform {

// The folders the program asks the system for.
enum class KnownFolder {
  kDocuments,  // the user's documents
  kAppData,    // per-user application data
};

class IKnownFolders {
 public:
  virtual ~IKnownFolders() = default;
  // The folder's full path, or the empty text when it cannot be found.
  virtual std::wstring Path(KnownFolder folder) = 0;
};

std::unique_ptr<IKnownFolders> MakeSystemKnownFolders();

}  // namespace tessaro::platform
