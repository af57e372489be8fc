#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/ProfileText.h"
#include "platform/FileIo.h"

// The profile document's file: loaded whole, replaced whole.
namespace tessaro::profile {

struct Assignment {
  std::wstring_view section;
  std::wstring_view key;
  std::wstring_view value;
};

// The document a file holds. A missing file gives an empty document; nullopt
// when the file exists but cannot be read, as such a file must never be
// replaced by a fresh one (then *reason, if given, says why).
std::optional<ProfileText> LoadProfile(const std::wstring& file,
                                       LineEnd newFileLineEnd = NativeLineEnd(),
                                       std::wstring* reason = nullptr);

// Replaces the file with the document, once and atomically. A document that
// no write changed leaves the file untouched. On failure nothing has changed
// and the result holds the system's reason.
platform::WriteResult StoreProfile(const std::wstring& file, const ProfileText& document);

// One value from a file; a missing or unreadable file reads as empty.
std::wstring ReadProfileString(const std::wstring& file, std::wstring_view section,
                               std::wstring_view key);

// Applies every assignment in order, in memory, then replaces the file once,
// atomically. All or nothing: false (file unchanged) when any value is refused
// or the file cannot be written. Writing what is already stored leaves the file
// untouched.
bool WriteProfileStrings(const std::wstring& file, std::span<const Assignment> assignments,
                         LineEnd newFileLineEnd = NativeLineEnd());

inline bool WriteProfileString(const std::wstring& file, std::wstring_view section,
                               std::wstring_view key, std::wstring_view value,
                               LineEnd newFileLineEnd = NativeLineEnd()) {
  const Assignment one{section, key, value};
  return WriteProfileStrings(file, std::span<const Assignment>(&one, 1), newFileLineEnd);
}

}  // namespace tessaro::profile
