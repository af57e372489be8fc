#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/ProfileText.h"
#include "text/LetterCase.h"
#include "text/TextCodec.h"

namespace tessaro::profile {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trim(std::wstring_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  std::size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

bool NamesEqual(std::wstring_view a, std::wstring_view b) {
  return text::EqualsProfileNameNoCase(a, b);
}

enum class Kind { kOther, kSection, kKey };

// What a line means to a reader. The line is taken up to its first NUL, as a
// C string would be; the bytes after it stay in the file all the same.
struct LineMeaning {
  Kind kind = Kind::kOther;
  std::wstring_view name;
  std::wstring_view value;     // raw text after the first '='
  std::size_t valueStart = 0;  // index just after that '='
};

LineMeaning Interpret(std::wstring_view line) {
  LineMeaning meaning;
  line = line.substr(0, line.find(L'\0'));
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start == line.size() || line[start] == L';') return meaning;
  if (line[start] == L'[') {
    // A header without ']' names the rest of the line, as Windows reads it.
    const std::size_t close = line.find(L']', start + 1);
    const std::size_t count =
        close == std::wstring_view::npos ? std::wstring_view::npos : close - start - 1;
    meaning.kind = Kind::kSection;
    meaning.name = Trim(line.substr(start + 1, count));
    return meaning;
  }
  const std::size_t equals = line.find(L'=', start);
  // A line with no name before '=' is no key: no write could make one.
  const std::wstring_view name = Trim(line.substr(start, equals - start));
  if (equals == std::wstring_view::npos || name.empty()) return meaning;
  meaning.kind = Kind::kKey;
  meaning.name = name;
  meaning.valueStart = equals + 1;
  meaning.value = line.substr(equals + 1);
  return meaning;
}

bool IsQuote(wchar_t c) { return c == L'"' || c == L'\''; }

std::wstring_view StoredToValue(std::wstring_view raw) {
  raw = Trim(raw);
  if (raw.size() >= 2 && IsQuote(raw.front()) && raw.front() == raw.back()) {
    raw = raw.substr(1, raw.size() - 2);
  }
  return raw;
}

// Quotes exactly when the reader would otherwise trim or strip something.
std::wstring ValueToStored(std::wstring_view value) {
  const bool quote =
      !value.empty() &&
      (IsBlank(value.front()) || IsBlank(value.back()) ||
       (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back()));
  if (!quote) return std::wstring(value);
  std::wstring stored;
  stored.reserve(value.size() + 2);
  stored += L'"';
  stored += value;
  stored += L'"';
  return stored;
}

bool HoldsLineBreakOrNul(std::wstring_view text) {
  return text.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos;
}

bool IsWritableSection(std::wstring_view section) {
  return !HoldsLineBreakOrNul(section) && section.find(L']') == std::wstring_view::npos;
}

bool IsWritableKey(std::wstring_view key) {
  return !key.empty() && !HoldsLineBreakOrNul(key) && key.find(L'=') == std::wstring_view::npos &&
         key.front() != L';' && key.front() != L'[';
}

}  // namespace

ProfileText ProfileText::Parse(std::string_view bytes, LineEnd newFileLineEnd) {
  ProfileText doc;
  doc.original_.assign(bytes);
  if (bytes.starts_with(kUtf16LeBom)) {
    doc.encoding_ = Encoding::kUtf16Le;
    doc.text_ = text::DecodeUtf16Le(bytes.substr(kUtf16LeBom.size()));
  } else {
    if (bytes.starts_with(kUtf8Bom)) {
      doc.utf8Bom_ = true;
      bytes.remove_prefix(kUtf8Bom.size());
    }
    if (auto decoded = text::DecodeUtf8(bytes)) {
      doc.text_ = std::move(*decoded);
    } else {
      doc.encoding_ = Encoding::kWindows1252;
      doc.text_ = text::DecodeWindows1252(bytes);
    }
  }

  // Far beyond any text the platform layer loads; the offsets are 32 bits.
  if (doc.text_.size() >= 0xFFFFFFFFU) doc.text_.resize(0xFFFFFFFEU);
  const std::wstring_view text = doc.text_;
  std::size_t breaks = 1;
  for (const wchar_t c : text) breaks += (c == L'\n' || c == L'\r') ? 1U : 0U;
  doc.lines_.reserve(breaks + 16);  // room for a save's new lines
  const auto slice = [](std::size_t begin, std::size_t length, End end) {
    return Line{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(length), end, false};
  };
  bool styleSeen = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t brk = start;
    while (brk < text.size() && text[brk] != L'\n' && text[brk] != L'\r') ++brk;
    if (brk == text.size()) {
      doc.lines_.push_back(slice(start, text.size() - start, End::kNone));
      break;
    }
    End end = End::kLf;
    std::size_t next = brk + 1;
    if (text[brk] == L'\r') {
      end = End::kCr;
      if (next < text.size() && text[next] == L'\n') {
        end = End::kCrLf;
        ++next;
      }
    }
    doc.lines_.push_back(slice(start, brk - start, end));
    if (!styleSeen) {
      doc.style_ = end;
      styleSeen = true;
    }
    start = next;
  }
  if (!styleSeen) doc.style_ = newFileLineEnd == LineEnd::kCrLf ? End::kCrLf : End::kLf;
  return doc;
}

std::wstring_view ProfileText::TextOf(const Line& line) const {
  if (line.edited) return edited_[line.begin];
  return std::wstring_view(text_).substr(line.begin, line.length);
}

void ProfileText::SetText(std::size_t index, std::wstring text) {
  Line& line = lines_[index];
  if (line.edited) {
    edited_[line.begin] = std::move(text);
  } else {
    line.edited = true;
    line.begin = static_cast<std::uint32_t>(edited_.size());
    edited_.push_back(std::move(text));
  }
  modified_ = true;
}

void ProfileText::InsertLine(std::size_t position, std::wstring text) {
  // The line before may be the file's last, without a line end of its own.
  if (position > 0 && lines_[position - 1].end == End::kNone) lines_[position - 1].end = style_;
  Line line;
  line.edited = true;
  line.begin = static_cast<std::uint32_t>(edited_.size());
  line.end = style_;
  edited_.push_back(std::move(text));
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), line);
  modified_ = true;
}

// Only the first section of a name counts, for reading and for writing alike.
std::size_t ProfileText::FindSection(std::wstring_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineMeaning meaning = Interpret(TextOf(lines_[i]));
    if (meaning.kind == Kind::kSection && NamesEqual(meaning.name, section)) return i;
  }
  return lines_.size();
}

std::optional<std::wstring> ProfileText::Read(std::wstring_view section,
                                              std::wstring_view key) const {
  key = Trim(key);
  for (std::size_t i = FindSection(Trim(section)) + 1; i < lines_.size(); ++i) {
    const LineMeaning meaning = Interpret(TextOf(lines_[i]));
    if (meaning.kind == Kind::kSection) break;
    if (meaning.kind == Kind::kKey && NamesEqual(meaning.name, key)) {
      return std::wstring(StoredToValue(meaning.value));
    }
  }
  return std::nullopt;
}

bool ProfileText::Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  section = Trim(section);
  key = Trim(key);
  if (!IsWritableSection(section) || !IsWritableKey(key) || HoldsLineBreakOrNul(value))
    return false;

  std::wstring keyLine(key);
  keyLine += L'=';
  keyLine += ValueToStored(value);

  const std::size_t header = FindSection(section);
  if (header == lines_.size()) {
    std::wstring headerLine = L"[";
    headerLine += section;
    headerLine += L']';
    InsertLine(lines_.size(), std::move(headerLine));
    InsertLine(lines_.size(), std::move(keyLine));
    return true;
  }

  std::size_t lastKey = header;
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    const std::wstring_view line = TextOf(lines_[i]);
    const LineMeaning meaning = Interpret(line);
    if (meaning.kind == Kind::kSection) break;
    if (meaning.kind != Kind::kKey) continue;
    if (!NamesEqual(meaning.name, key)) {
      lastKey = i;
      continue;
    }
    if (StoredToValue(meaning.value) == value) return true;  // already stored: no change at all
    // Everything up to and including '=' stays as the file has it.
    std::wstring replaced(line.substr(0, meaning.valueStart));
    replaced += ValueToStored(value);
    SetText(i, std::move(replaced));
    return true;
  }
  InsertLine(lastKey + 1, std::move(keyLine));
  return true;
}

std::string ProfileText::Serialize() const {
  if (!modified_) return original_;
  std::wstring whole;
  whole.reserve(text_.size() + 64);
  for (const Line& line : lines_) {
    whole += TextOf(line);
    switch (line.end) {
      case End::kNone:
        break;
      case End::kCrLf:
        whole += L"\r\n";
        break;
      case End::kLf:
        whole += L'\n';
        break;
      case End::kCr:
        whole += L'\r';
        break;
    }
  }
  if (encoding_ == Encoding::kUtf16Le) return std::string(kUtf16LeBom) + text::EncodeUtf16Le(whole);
  // A Windows-1252 file becomes UTF-8 here, as a whole.
  std::string bytes = utf8Bom_ ? std::string(kUtf8Bom) : std::string();
  bytes += text::EncodeUtf8(whole);
  return bytes;
}

bool ProfileText::Modified() const { return modified_; }

}  // namespace tessaro::profile
