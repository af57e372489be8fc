#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Conventions.h"

namespace tessaro::profile {

// Line end of a file the engine creates; an existing file keeps its own. The
// platform's choice for new files: CRLF on Windows, LF elsewhere.
using platform::LineEnd;
using platform::NativeLineEnd;

// A profile (INI) document held as its lines, so that an edit changes only the
// line it must and every other byte stays as it was.
class ProfileText {
 public:
  // Never fails: whatever the bytes, the result is a document. Files that are
  // not valid UTF-8 are taken as Windows-1252; a UTF-16LE byte-order mark
  // selects UTF-16LE.
  // newFileLineEnd is used only when the bytes hold no line end to copy.
  static ProfileText Parse(std::string_view bytes, LineEnd newFileLineEnd = NativeLineEnd());

  // The value as the platform's profile functions return it (blanks around it
  // trimmed, one pair of outer quotes stripped), or nullopt when the section
  // or key is missing. Names are compared without regard to letter case.
  std::optional<std::wstring> Read(std::wstring_view section, std::wstring_view key) const;

  // Replaces or adds the key. Refuses (false, nothing changed) a value holding
  // CR, LF or NUL, and names that could not be read back as written.
  bool Write(std::wstring_view section, std::wstring_view key, std::wstring_view value);

  // The bytes to store, in the document's encoding and line-end style.
  std::string Serialize() const;

  // True once a Write changed anything.
  bool Modified() const;

 private:
  enum class Encoding { kUtf8, kWindows1252, kUtf16Le };
  enum class End : unsigned char { kNone, kCrLf, kLf, kCr };

  // A line is a slice of text_ until an edit gives it text of its own in
  // edited_; the file is never copied line by line just to be read.
  // Twelve bytes, as a hostile file may hold a million lines. Offsets fit:
  // the platform layer loads no file above 64 MiB.
  struct Line {
    std::uint32_t begin = 0;  // into text_, or the index into edited_
    std::uint32_t length = 0;
    End end = End::kNone;
    bool edited = false;
  };

  std::wstring_view TextOf(const Line& line) const;
  void SetText(std::size_t index, std::wstring text);
  void InsertLine(std::size_t position, std::wstring text);
  std::size_t FindSection(std::wstring_view section) const;

  std::string original_;  // returned as it was while nothing is modified
  std::wstring text_;
  std::vector<std::wstring> edited_;
  std::vector<Line> lines_;
  Encoding encoding_ = Encoding::kUtf8;
  bool utf8Bom_ = false;
  End style_ = End::kCrLf;
  bool modified_ = false;
};

}  // namespace tessaro::profile
