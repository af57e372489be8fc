#include "ui/MappingsMenu.h"

namespace tessaro::ui {
namespace {

constexpr std::wstring_view kEllipsis = L"...";

bool IsLowSurrogate(wchar_t c) {
  const auto code = static_cast<unsigned>(c);
  return code >= 0xdc00 && code <= 0xdfff;
}

// A menu takes "&" as an access-key mark; "&&" shows one.
std::wstring LiteralAmpersands(const std::wstring& text) {
  std::wstring escaped;
  escaped.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == L'&') escaped += L'&';
    escaped += c;
  }
  return escaped;
}

}  // namespace

std::wstring ShortenMiddle(const std::wstring& folder) {
  if (folder.size() <= kMaxShownFolder) return folder;
  const std::size_t kept = kMaxShownFolder - kEllipsis.size();
  std::size_t head = kept - kept / 2;
  std::size_t tail = folder.size() - kept / 2;
  // Never half a character on either side of the cut.
  if (IsLowSurrogate(folder[head])) --head;
  if (IsLowSurrogate(folder[tail])) ++tail;
  return folder.substr(0, head) + std::wstring(kEllipsis) + folder.substr(tail);
}

std::vector<MappingItem> ReadMappingItems(platform::IDriveTable& drives) {
  std::vector<MappingItem> items;
  for (const platform::DriveMapping& mapping : drives.Mappings()) {
    const std::wstring drive{mapping.letter, L':'};
    std::wstring caption = drive + L"  " + LiteralAmpersands(ShortenMiddle(mapping.folder));
    if (!drives.FolderExists(mapping.folder)) caption += kFolderMissing;
    items.push_back({std::move(caption), drive, mapping.folder, true});
  }
  if (items.empty()) items.push_back({kNoMappings, {}, {}, false});
  return items;
}

}  // namespace tessaro::ui
