// Feeds arbitrary bytes to the profile engine as a settings file, then reads
// and writes the program's ten keys and the names the bytes themselves hold.
// Invariants: nothing written means the same bytes back; a value accepted by
// Write reads back exactly, in memory and after serialising and parsing again;
// a value with CR, LF or NUL is refused; serialising is stable.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ProfileFile.h"
#include "text/TextCodec.h"

namespace {

using tessaro::profile::LineEnd;
using tessaro::profile::ProfileText;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool HoldsLineBreakOrNul(std::wstring_view value) {
  return value.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos;
}

struct Name {
  std::wstring section;
  std::wstring key;
};

// Sections and keys as the input's own lines spell them, plus their values.
void Harvest(std::string_view bytes, std::vector<Name>& names, std::vector<std::wstring>& values) {
  std::wstring section = L"Startup";
  std::size_t start = 0;
  for (int lines = 0; lines < 16 && start < bytes.size(); ++lines) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::wstring line = tessaro::text::DecodeUtf8Lossy(bytes.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty() && line.front() == L'[') {
      section = line.substr(
          1, line.find(L']') == std::wstring::npos ? std::wstring::npos : line.find(L']') - 1);
      continue;
    }
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring::npos) continue;
    names.push_back({section, line.substr(0, equals)});
    values.push_back(line.substr(equals + 1));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (std::size_t{1} << 20)) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ProfileText doc = ProfileText::Parse(bytes, (size & 1U) != 0 ? LineEnd::kCrLf : LineEnd::kLf);
  Check(doc.Serialize() == bytes);

  std::vector<Name> names = {
      {L"Startup", L"target drive"}, {L"Startup", L"target path"}, {L"Startup", L"reset restart"},
      {L"Data", L"next path"},       {L"Data", L"last path 1"},    {L"Data", L"last path 6"},
  };
  std::vector<std::wstring> values = {
      L"",
      L"X:",
      L"  padded  ",
      L"\"quoted\"",
      L"'",
      L"C:\\Eigene Dateien\\",
      L"a\nb=c",
      std::wstring(L"nul\0inside", 10),
      L"\u00fc\u20ac\u0416",
      std::wstring(200, L'\u00e4'),
  };
  Harvest(bytes, names, values);

  for (const Name& name : names) {
    const auto first = doc.Read(name.section, name.key);
    Check(first == doc.Read(name.section, name.key));
  }
  Check(!doc.Modified());

  const std::size_t offset = size % values.size();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const Name& name = names[i];
    const std::wstring& value = values[(offset + i) % values.size()];
    const bool accepted = doc.Write(name.section, name.key, value);
    if (HoldsLineBreakOrNul(value)) Check(!accepted);
    if (!accepted) continue;
    Check(doc.Read(name.section, name.key) == value);
    const ProfileText again = ProfileText::Parse(doc.Serialize(), LineEnd::kLf);
    Check(again.Read(name.section, name.key) == value);
  }

  const std::string saved = doc.Serialize();
  ProfileText reloaded = ProfileText::Parse(saved, LineEnd::kLf);
  Check(reloaded.Serialize() == saved);
  // A save of what was just loaded changes nothing.
  for (const Name& name : names) {
    if (const auto value = reloaded.Read(name.section, name.key))
      Check(reloaded.Write(name.section, name.key, *value));
  }
  Check(!reloaded.Modified());
  return 0;
}
