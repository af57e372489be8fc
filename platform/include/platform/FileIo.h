#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace tessaro::platform {

enum class ReadStatus { kOk, kMissing, kError };

struct FileContent {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;
  std::wstring reason;  // for kError: the system's words for what went wrong
};

// What a write came to: done, or not done for the reason the system gives.
struct WriteResult {
  bool ok = true;
  std::wstring reason;  // empty when ok

  static WriteResult Failed(std::wstring why) { return {false, std::move(why)}; }
  explicit operator bool() const { return ok; }
};

// Reads a whole file. A missing file (or missing folder) is kMissing, not an
// error: a first run has no settings file yet.
FileContent ReadFileBytes(const std::wstring& path);

// Replaces the file's whole content so that a crash at any moment leaves the
// old or the new content, never a mix: a temporary file in the same folder,
// flushed to disk, then renamed over the target. A symbolic link is followed
// (the link stays, its target is replaced); a read-only file is respected.
// New files get owner-only permissions on POSIX. On any failure the file is
// as it was and the result holds the system's reason.
WriteResult ReplaceFileAtomically(const std::wstring& path, std::string_view bytes);

}  // namespace tessaro::platform
