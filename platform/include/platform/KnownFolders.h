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

// Whether asking for kAppData makes the folder when it is missing, as a first
// run's save needs on Linux. The command-line modes change nothing on disk
// and only look. Windows's folders exist already; there it changes nothing.
enum class AppDataCreation { kCreateMissing, kLookUpOnly };

std::unique_ptr<IKnownFolders> MakeSystemKnownFolders(
    AppDataCreation creation = AppDataCreation::kCreateMissing);

}  // namespace tessaro::platform
