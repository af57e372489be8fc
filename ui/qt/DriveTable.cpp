#include "ui/qt/DriveTable.h"

#include <cwctype>

#include "text/TextCodec.h"

namespace tessaro::ui::qt {
namespace {

std::wstring WithoutTrailingSlashes(std::wstring path) {
  while (path.size() > 1 && path.back() == L'/') path.pop_back();
  return path;
}

}  // namespace

bool FolderHolds(std::wstring_view folder, std::wstring_view path) {
  if (folder.empty() || path.substr(0, folder.size()) != folder) return false;
  if (path.size() == folder.size() || folder.back() == L'/') return true;
  return path[folder.size()] == L'/';
}

DriveTable DriveTable::FromLinks(const std::vector<platform::DriveLink>& links) {
  DriveTable table;
  table.drives_.push_back({L'c', L"/", L"c:"});
  for (const auto& link : links) {
    const auto letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(link.letter)));
    std::wstring folder = WithoutTrailingSlashes(text::DecodeUtf8Lossy(link.target));
    if (letter == L'c' || folder.empty() || folder.front() != L'/') continue;
    std::wstring shown = std::wstring(1, letter) + L": [" + folder + L"]";
    table.drives_.push_back({letter, std::move(folder), std::move(shown)});
  }
  return table;
}

DriveTable DriveTable::FromSystem() {
  return FromLinks(platform::ReadDriveLinks(platform::DrivesFolder()));
}

int DriveTable::IndexForText(std::wstring_view text) const {
  if (text.empty()) return -1;
  if (text.front() == L'/') return IndexHoldingPath(text);
  const auto letter = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text.front())));
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    if (drives_[i].letter == letter) return static_cast<int>(i);
  }
  return -1;
}

int DriveTable::IndexHoldingPath(std::wstring_view path) const {
  int best = 0;
  std::size_t bestLength = 0;
  for (std::size_t i = 1; i < drives_.size(); ++i) {
    const std::wstring& folder = drives_[i].folder;
    if (folder.size() > bestLength && FolderHolds(folder, path)) {
      best = static_cast<int>(i);
      bestLength = folder.size();
    }
  }
  return best;
}

}  // namespace tessaro::ui::qt
