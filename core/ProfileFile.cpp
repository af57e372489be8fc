#include "core/ProfileFile.h"

#include "platform/FileIo.h"

namespace tessaro::profile {

LineEnd NativeLineEnd() {
#ifdef _WIN32
  return LineEnd::kCrLf;
#else
  return LineEnd::kLf;
#endif
}

std::wstring ReadProfileString(const std::wstring& file, std::wstring_view section,
                               std::wstring_view key) {
  const platform::FileContent content = platform::ReadFileBytes(file);
  if (content.status != platform::ReadStatus::kOk) return {};
  return ProfileText::Parse(content.bytes).Read(section, key).value_or(std::wstring());
}

bool WriteProfileStrings(const std::wstring& file, std::span<const Assignment> assignments,
                         LineEnd newFileLineEnd) {
  const platform::FileContent content = platform::ReadFileBytes(file);
  // A file that exists but cannot be read must not be replaced by a fresh one.
  if (content.status == platform::ReadStatus::kError) return false;
  ProfileText doc = ProfileText::Parse(content.bytes, newFileLineEnd);
  for (const Assignment& assignment : assignments) {
    if (!doc.Write(assignment.section, assignment.key, assignment.value)) return false;
  }
  if (!doc.Modified()) return true;
  return platform::ReplaceFileAtomically(file, doc.Serialize());
}

}  // namespace tessaro::profile
