#include "ui/FolderBrowser.h"

#include "text/LetterCase.h"
#include "text/TextCodec.h"

namespace tessaro::ui {

using text::AsciiLower;

std::wstring FormatDriveText(wchar_t letter, const std::wstring& detail) {
  std::wstring text{AsciiLower(letter), L':'};
  if (!detail.empty()) text += L" [" + detail + L']';
  return text;
}

bool IsDriveText(std::wstring_view text) {
  return text.size() >= 2 && text[1] == L':' && (text.size() == 2 || text[2] == L' ');
}

FolderBrowser::FolderBrowser(platform::IFolderScanner& scanner, IFolderBrowserObserver& observer)
    : scanner_(scanner), style_(scanner.Style()), observer_(observer) {}

void FolderBrowser::Start() {
  drives_ = scanner_.Drives();
  driveTexts_.clear();
  for (const auto& drive : drives_)
    driveTexts_.push_back(FormatDriveText(drive.letter, text::DisplayFileName(drive.detail)));

  const std::wstring cwd = scanner_.CurrentDirectory();
  auto current = DriveForText(cwd);
  if (!current) current = DriveForText(L"c");
  currentDrive_ = current.value_or(0);
  observer_.ShowDrives();

  if (!Open(cwd, false) && currentDrive_ < drives_.size())
    Open(drives_[currentDrive_].folder, false);
  if (!directory_.empty()) ListFiles(directory_);
  opened_.Drop();
}

bool FolderBrowser::PickDrive(std::size_t index) {
  if (MakeCurrent(index)) return true;
  observer_.ShowDrives();
  return false;
}

bool FolderBrowser::OpenLineAt(std::size_t index) {
  if (index >= lines_.size()) return false;
  const std::wstring path = lines_[index].path;  // Open refills lines_
  return Open(path, true);
}

std::optional<std::pair<std::wstring, std::size_t>> FolderBrowser::SplitRoot(
    const std::wstring& path) const {
  const wchar_t sep = style_.separator;
  if (sep == L'\\' && path.rfind(L"\\\\", 0) == 0) {
    // "\\server\share\" is the root of a network path.
    const std::size_t server = path.find(sep, 2);
    const std::size_t share = server == std::wstring::npos ? server : path.find(sep, server + 1);
    const std::size_t rest = share == std::wstring::npos ? path.size() : share + 1;
    std::wstring root = path.substr(0, rest);
    if (root.back() != sep) root += sep;
    return std::pair{root, rest};
  }
  if (sep == L'\\' && path.size() >= 2 && path[1] == L':') {
    if (path.size() > 2 && path[2] != sep) return std::nullopt;
    return std::pair{path.substr(0, 2) + sep, std::size_t{3}};
  }
  if (!path.empty() && path.front() == sep) return std::pair{std::wstring(1, sep), std::size_t{1}};
  return std::nullopt;
}

std::wstring FolderBrowser::Tidy(const std::wstring& path) const {
  const wchar_t sep = style_.separator;
  const auto split = SplitRoot(path);
  if (!split) return {};
  const auto& [root, first] = *split;
  std::size_t rest = first;
  std::vector<std::wstring> parts;
  while (rest < path.size()) {
    std::size_t end = path.find(sep, rest);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring part = path.substr(rest, end - rest);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    rest = end + 1;
  }
  std::wstring tidy = root;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) tidy += sep;
    tidy += parts[i];
  }
  return tidy;
}

bool FolderBrowser::SamePath(std::wstring_view a, std::wstring_view b) const {
  return scanner_.SamePath(a, b);
}

// Whole path components only: /home/anna/Daten2 is not below /home/anna/Daten.
bool FolderBrowser::Holds(std::wstring_view folder, std::wstring_view path) const {
  if (folder.empty() || path.size() < folder.size() ||
      !SamePath(folder, path.substr(0, folder.size()))) {
    return false;
  }
  const wchar_t sep = style_.separator;
  return path.size() == folder.size() || folder.back() == sep || path[folder.size()] == sep;
}

std::optional<std::size_t> FolderBrowser::DriveHolding(std::wstring_view path) const {
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    if (Holds(drives_[i].folder, path) &&
        (!best || drives_[i].folder.size() > drives_[*best].folder.size())) {
      best = i;
    }
  }
  return best;
}

// A full path belongs to the drive whose folder holds it; any other text
// names the drive of its first character.
std::optional<std::size_t> FolderBrowser::DriveForText(std::wstring_view text) const {
  if (text.empty()) return std::nullopt;
  if (text.front() == style_.separator) return DriveHolding(text);
  const wchar_t letter = AsciiLower(text.front());
  for (std::size_t i = 0; i < drives_.size(); ++i) {
    if (drives_[i].letter == letter) return i;
  }
  return std::nullopt;
}

// The directory a text names: a drive text names that drive's current
// directory, anything else a path.
std::wstring FolderBrowser::Resolve(const std::wstring& text) const {
  if (text.empty()) return {};
  if (!IsDriveText(text)) return Tidy(scanner_.FullPath(text));
  const auto drive = DriveForText(text);
  if (!drive) return {};
  std::wstring current = scanner_.FullPath(text.substr(0, 2));
  if (current.empty()) {
    const auto remembered = currentByDrive_.find(drives_[*drive].letter);
    current = remembered != currentByDrive_.end() ? remembered->second : drives_[*drive].folder;
  }
  return Tidy(current);
}

bool FolderBrowser::MakeCurrent(std::size_t index) {
  if (index >= drives_.size() || !scanner_.DriveReady(drives_[index])) return false;
  const bool changed = index != currentDrive_;
  currentDrive_ = index;
  observer_.ShowDrives();
  if (changed) observer_.DriveChanged();
  return true;
}

bool FolderBrowser::Open(const std::wstring& directory, bool notify) {
  const std::wstring tidy = Tidy(directory);
  if (tidy.empty()) return false;
  auto contents = scanner_.Scan(tidy);
  if (!contents) return false;

  Fill(tidy, contents->folders);
  if (const auto drive = DriveHolding(tidy)) currentByDrive_[drives_[*drive].letter] = tidy;
  const bool changed = !SamePath(tidy, directory_);
  directory_ = tidy;
  observer_.ShowDirectory();

  opened_.Offer(tidy, std::move(contents->files));
  if (changed && notify) observer_.DirectoryChanged();
  if (notify) opened_.Drop();
  return true;
}

void FolderBrowser::Fill(const std::wstring& directory,
                         const std::vector<std::wstring>& subfolders) {
  const wchar_t sep = style_.separator;
  const auto join = [sep](const std::wstring& folder, const std::wstring& name) {
    return folder.back() == sep ? folder + name : folder + sep + name;
  };
  const auto drive = DriveHolding(directory);
  const std::wstring root = drive ? drives_[*drive].folder : SplitRoot(directory)->first;

  lines_.clear();
  lines_.reserve(subfolders.size() + 8);
  // Captions are for people: a byte of a name that is not UTF-8 shows as
  // U+FFFD, while the line's path keeps it so that the folder opens.
  std::wstring caption = text::DisplayFileName(root);
  // Drive roots show their letter as the drive list does: "c:\".
  if (caption.size() >= 2 && caption[1] == L':') caption[0] = AsciiLower(caption[0]);
  lines_.push_back({caption, root, 0});

  int depth = 0;
  std::wstring walked = root;
  std::size_t start = root.size() + (root.back() == sep ? 0 : 1);
  while (start < directory.size()) {
    std::size_t end = directory.find(sep, start);
    if (end == std::wstring::npos) end = directory.size();
    const std::wstring name = directory.substr(start, end - start);
    walked = join(walked, name);
    lines_.push_back({text::DisplayFileName(name), walked, ++depth});
    start = end + 1;
  }
  openLine_ = lines_.size() - 1;
  for (const auto& name : subfolders)
    lines_.push_back({text::DisplayFileName(name), join(directory, name), depth + 1});
}

bool FolderBrowser::ListFiles(const std::wstring& folder) {
  // The load sets the folder the directory list has just listed: one scan
  // serves both.
  if (SamePath(folder, filesFolder_)) return true;
  if (const std::wstring* offered = opened_.OfferedFolder();
      offered != nullptr && SamePath(*offered, folder)) {
    files_ = opened_.Take();
  } else {
    auto contents = scanner_.Scan(folder);
    if (!contents) return false;
    files_ = std::move(contents->files);
  }
  filesFolder_ = folder;
  observer_.ShowFiles();
  return true;
}

std::wstring FolderBrowser::DriveSide::Drive() const {
  return b_.currentDrive_ < b_.driveTexts_.size() ? b_.driveTexts_[b_.currentDrive_]
                                                  : std::wstring();
}

bool FolderBrowser::DriveSide::SetDrive(const std::wstring& text) {
  const auto drive = b_.DriveForText(text);
  return drive && b_.MakeCurrent(*drive);
}

bool FolderBrowser::DirSide::SetPath(const std::wstring& path) {
  const std::wstring directory = b_.Resolve(path);
  return !directory.empty() && b_.Open(directory, true);
}

bool FolderBrowser::FileSide::SetPath(const std::wstring& path) {
  const std::wstring folder = b_.Resolve(path);
  return !folder.empty() && b_.ListFiles(folder);
}

}  // namespace tessaro::ui
