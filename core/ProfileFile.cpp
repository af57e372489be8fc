#include "core/ProfileFile.h"

#include "platform/FileIo.h"

namespace tessaro::profile {

std::optional<ProfileText> LoadProfile(const std::wstring& file, LineEnd newFileLineEnd,
                                       std::wstring* reason) {
  const platform::FileContent content = platform::ReadFileBytes(file);
  if (content.status == platform::ReadStatus::kError) {
    if (reason != nullptr) *reason = content.reason;
    return std::nullopt;
  }
  return ProfileText::Parse(content.bytes, newFileLineEnd);
}

platform::WriteResult StoreProfile(const std::wstring& file, const ProfileText& document) {
  if (!document.Modified()) return {};
  return platform::ReplaceFileAtomically(file, document.Serialize());
}

std::wstring ReadProfileString(const std::wstring& file, std::wstring_view section,
                               std::wstring_view key) {
  const auto document = LoadProfile(file);
  if (!document) return {};
  return document->Read(section, key).value_or(std::wstring());
}

bool WriteProfileStrings(const std::wstring& file, std::span<const Assignment> assignments,
                         LineEnd newFileLineEnd) {
  auto document = LoadProfile(file, newFileLineEnd);
  if (!document) return false;
  for (const Assignment& assignment : assignments) {
    if (!document->Write(assignment.section, assignment.key, assignment.value)) return false;
  }
  return StoreProfile(file, *document).ok;
}

}  // namespace tessaro::profile
