#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileIo.h"

// What both FileIo implementations share: the names of a save's temporary
// files and the reading of a whole file. Private to the platform library.
namespace tessaro::platform {

// Far beyond any settings file; a bigger one is not ours to load into memory.
inline constexpr std::uint64_t kMaxFileSize = std::uint64_t{64} * 1024 * 1024;

// What stands between a file's name and its temporary file's suffix.
inline constexpr std::string_view kTempMarker = ".tmp-";

// ".tmp-" and six lower-case letters or digits, new at every call: the
// process id, the clock and a counter mixed. Lower case only, so that a
// case-insensitive file system cannot take two names for one.
std::string TempFileSuffix(std::uint64_t processId);

// The temporary file beside path for one attempt of a save.
template <class Char>
std::basic_string<Char> TempFileName(const std::basic_string<Char>& path, std::uint64_t processId) {
  const std::string suffix = TempFileSuffix(processId);
  return path + std::basic_string<Char>(suffix.begin(), suffix.end());
}

// Whether a folder entry is a temporary file of a save to target (its name
// without folder); sameName compares the two names by the file system's rule.
// Upper-case suffixes count too: older saves made them.
template <class Char, class SameName>
bool IsTempFileName(std::basic_string_view<Char> entry, std::basic_string_view<Char> target,
                    SameName sameName) {
  constexpr std::size_t kSuffixLength = 6;
  if (entry.size() != target.size() + kTempMarker.size() + kSuffixLength) return false;
  if (!sameName(entry.substr(0, target.size()), target)) return false;
  for (std::size_t i = 0; i < kTempMarker.size(); ++i) {
    if (entry[target.size() + i] != static_cast<Char>(kTempMarker[i])) return false;
  }
  for (const Char c : entry.substr(target.size() + kTempMarker.size())) {
    const bool alnum = (c >= Char('a') && c <= Char('z')) || (c >= Char('A') && c <= Char('Z')) ||
                       (c >= Char('0') && c <= Char('9'));
    if (!alnum) return false;
  }
  return true;
}

// Reads an open file to its end. size is what the system says the file
// holds; read fills the buffer and returns the bytes it got, 0 at the end, or
// nullopt on an error (retrying interruptions itself); reason gives the
// system's words for the error just met, and tooBig those for a file beyond
// kMaxFileSize.
FileContent ReadToEnd(std::uint64_t size,
                      const std::function<std::optional<std::size_t>(char*, std::size_t)>& read,
                      const std::function<std::wstring()>& reason,
                      const std::function<std::wstring()>& tooBig);

}  // namespace tessaro::platform
