#include "platform/posix/SidebarBookmarks.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>

#include <pugixml.hpp>

#include "platform/posix/DrivesFolder.h"
#include "platform/posix/Handles.h"

namespace tessaro::platform {
namespace {

// Marks the places entries that we made, so that removing a drive never
// takes a bookmark the user made for the same link.
constexpr const char* kOwner = "urn:x-tessaro:subst";
constexpr const char* kFreedesktopOwner = "http://freedesktop.org";
constexpr const char* kBookmarkNamespace = "http://www.freedesktop.org/standards/desktop-bookmarks";
constexpr const char* kIcon = "drive-harddisk";
// Far beyond any real bookmarks file; a bigger one is not ours to rewrite.
constexpr off_t kMaxFileSize = off_t{16} * 1024 * 1024;
constexpr mode_t kPrivateFile = 0600;
constexpr mode_t kPrivateFolder = 0700;

// ---- text ------------------------------------------------------------------

// Length of the well-formed UTF-8 sequence at text[i] that XML allows, or 0.
std::size_t CharLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  std::uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1FU;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0FU;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07U;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0U) != 0x80U) return 0;
    code = (code << 6U) | (next & 0x3FU);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  const bool nonCharacter = code == 0xFFFE || code == 0xFFFF;
  if (overlong || surrogate || nonCharacter || code > 0x10FFFF) return 0;
  return length;
}

// GTK drops a bookmark line that is not valid UTF-8, and an XML parser
// rejects the whole file for one bad byte: a folder name may hold either.
std::string SafeText(std::string_view text) {
  std::string safe;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      safe += (byte < 0x20 || byte == 0x7F) ? ' ' : text[i];
      ++i;
    } else if (const std::size_t length = CharLength(text, i); length > 0) {
      safe.append(text.substr(i, length));
      i += length;
    } else {
      safe += "\xEF\xBF\xBD";  // U+FFFD
      ++i;
    }
  }
  return safe;
}

// ---- the GTK bookmarks file: one "URI[ label]" per line --------------------

struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;  // before the line break
  bool terminated = false;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t lf = text.find('\n', pos);
    if (lf == std::string_view::npos) {
      lines.push_back({pos, text.size(), false});
      break;
    }
    lines.push_back({pos, lf, true});
    pos = lf + 1;
  }
  return lines;
}

// GTK's own rule: the URI runs up to the first blank.
std::vector<Line> LinesWithUri(std::string_view text, std::string_view uri) {
  std::vector<Line> found;
  for (const Line& line : SplitLines(text)) {
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    if (content.substr(0, content.find(' ')) == uri) found.push_back(line);
  }
  return found;
}

// A line goes with its line break; the last line, which has none, with the
// break before it, so that appending and removing give back the same bytes.
void EraseLine(std::string& text, const Line& line) {
  if (line.terminated) {
    text.erase(line.begin, line.end + 1 - line.begin);
  } else if (line.begin > 0) {
    text.erase(line.begin - 1, line.end - line.begin + 1);
  } else {
    text.erase(line.begin, line.end - line.begin);
  }
}

// ---- the XBEL places file --------------------------------------------------

// The places file is edited by splicing its bytes at the positions the parser
// reports, never by writing the parsed tree back: a parser normalises line
// ends, quotes and entities, and all of those are the user's.
class Places {
 public:
  static bool Owned(pugi::xml_node bookmark) {
    for (const pugi::xml_node info : bookmark.children("info")) {
      for (const pugi::xml_node metadata : info.children("metadata")) {
        if (std::string_view(metadata.attribute("owner").value()) == kOwner) return true;
      }
    }
    return false;
  }

  explicit Places(std::string_view text) : text_(text) {}

  bool Parse(std::string* error) {
    const pugi::xml_parse_result result = doc_.load_buffer(
        text_.data(), text_.size(), pugi::parse_full | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!result) {
      *error = std::string("not well-formed XML (") + result.description() + " at byte " +
               std::to_string(result.offset) + ")";
      return false;
    }
    root_ = doc_.document_element();
    if (std::string_view(root_.name()) != "xbel") {
      *error = "not an XBEL file";
      return false;
    }
    return true;
  }

  std::vector<pugi::xml_node> Ours(std::string_view uri) const {
    std::vector<pugi::xml_node> ours;
    for (const pugi::xml_node bookmark : root_.children("bookmark")) {
      if (bookmark.attribute("href").value() != uri) continue;
      if (Owned(bookmark)) ours.push_back(bookmark);
    }
    return ours;
  }

  // Where a node's markup starts: the parser reports the position of an
  // element's name or of a comment's, declaration's or text's value.
  std::optional<std::size_t> Start(pugi::xml_node node) const {
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0 || static_cast<std::size_t>(offset) > text_.size()) return std::nullopt;
    const auto at = static_cast<std::size_t>(offset);
    if (node.type() == pugi::node_pcdata) return at;
    const std::size_t lt = at == 0 ? std::string_view::npos : text_.rfind('<', at - 1);
    if (lt == std::string_view::npos) return std::nullopt;
    return lt;
  }

  // Where it ends: inside an element the next node (white space is a node
  // too) or the parent's end tag starts; at the top, after the last '>'.
  std::optional<std::size_t> End(pugi::xml_node node) const {
    const pugi::xml_node next = node.next_sibling();
    const pugi::xml_node parent = node.parent();
    if (parent.type() == pugi::node_document) {
      std::optional<std::size_t> limit = text_.size();
      if (next) limit = Start(next);
      if (!limit || *limit == 0) return std::nullopt;
      const std::size_t gt = text_.rfind('>', *limit - 1);
      if (gt == std::string_view::npos) return std::nullopt;
      return gt + 1;
    }
    if (next) return Start(next);
    const std::optional<std::size_t> parentEnd = End(parent);
    if (!parentEnd || *parentEnd < 2) return std::nullopt;
    const std::size_t close = text_.rfind("</", *parentEnd - 2);
    if (close == std::string_view::npos) return std::nullopt;
    return close;
  }

  pugi::xml_node root() const { return root_; }
  std::string_view text() const { return text_; }

 private:
  std::string_view text_;
  pugi::xml_document doc_;
  pugi::xml_node root_;
};

struct Splice {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string bytes;
};

// Our bookmark as one indented block of lines, each ending in eol.
std::string BookmarkBlock(std::string_view uri, std::string_view label, bool declareNamespace,
                          std::string_view eol) {
  pugi::xml_document doc;
  pugi::xml_node bookmark = doc.append_child("bookmark");
  bookmark.append_attribute("href") = std::string(uri).c_str();
  bookmark.append_child("title").text() = std::string(label).c_str();
  pugi::xml_node info = bookmark.append_child("info");
  pugi::xml_node common = info.append_child("metadata");
  common.append_attribute("owner") = kFreedesktopOwner;
  pugi::xml_node icon = common.append_child("bookmark:icon");
  // A file that never declared the prefix still stays namespace-correct.
  if (declareNamespace) icon.append_attribute("xmlns:bookmark") = kBookmarkNamespace;
  icon.append_attribute("name") = kIcon;
  info.append_child("metadata").append_attribute("owner") = kOwner;
  std::ostringstream out;
  bookmark.print(out, " ", pugi::format_indent, pugi::encoding_utf8, 1);
  std::string block;
  for (const char c : out.str()) {
    if (c == '\n') {
      block += eol;
    } else {
      block += c;
    }
  }
  return block;
}

std::string_view LineEndBefore(std::string_view text, std::size_t at) {
  if (at >= 2 && text.substr(at - 2, 2) == "\r\n") return "\r\n";
  return "\n";
}

// Removing an element that has a line of its own takes the whole line, as
// inserting it made it.
Splice Removal(std::string_view text, std::size_t begin, std::size_t end) {
  std::size_t left = begin;
  while (left > 0 && (text[left - 1] == ' ' || text[left - 1] == '\t')) --left;
  if (left > 0 && text[left - 1] != '\n') return {begin, end, {}};
  if (text.substr(end, 2) == "\r\n") return {left, end + 2, {}};
  if (text.substr(end, 1) == "\n") return {left, end + 1, {}};
  if (left == 0) return {left, end, {}};
  const std::size_t lineBreak = LineEndBefore(text, left).size();
  return {left - lineBreak, end, {}};
}

std::optional<Splice> Insertion(const Places& places, std::string_view uri, std::string_view label,
                                std::string* error) {
  const std::string_view text = places.text();
  const pugi::xml_node root = places.root();
  const bool declare = !root.attribute("xmlns:bookmark");
  const std::optional<std::size_t> rootEnd = places.End(root);
  if (!rootEnd || *rootEnd < 2) {
    *error = "cannot locate the end of <xbel>";
    return std::nullopt;
  }
  if (!root.first_child() && text.substr(*rootEnd - 2, 2) == "/>") {
    return Splice{*rootEnd - 2, *rootEnd,
                  ">\n" + BookmarkBlock(uri, label, declare, "\n") + "</xbel>"};
  }
  const std::size_t close = text.rfind("</", *rootEnd - 2);
  if (close == std::string_view::npos) {
    *error = "cannot locate the end of <xbel>";
    return std::nullopt;
  }
  const std::string_view eol = LineEndBefore(text, close);
  std::string block = BookmarkBlock(uri, label, declare, eol);
  if (close == 0 || text[close - 1] != '\n')
    block = std::string(eol) + block.substr(0, block.size() - eol.size());
  return Splice{close, close, std::move(block)};
}

// Applies the splices, which must not overlap, from the back.
std::string Apply(std::string_view text, std::vector<Splice> splices) {
  std::sort(splices.begin(), splices.end(),
            [](const Splice& a, const Splice& b) { return a.begin > b.begin; });
  std::string result(text);
  for (const Splice& splice : splices) {
    result.replace(splice.begin, splice.end - splice.begin, splice.bytes);
  }
  return result;
}

// The edited file is parsed again before anything is written: it must still
// be XBEL and hold our entry exactly as often as intended.
bool Holds(std::string_view text, std::string_view uri, std::size_t count) {
  std::string ignored;
  Places check(text);
  return check.Parse(&ignored) && check.Ours(uri).size() == count;
}

std::optional<std::string> EditPlaces(std::string_view xbel, std::string_view uri,
                                      const std::string* label, std::string* error) {
  Places places(xbel);
  if (!places.Parse(error)) return std::nullopt;
  const std::vector<pugi::xml_node> ours = places.Ours(uri);
  std::vector<Splice> splices;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    const std::optional<std::size_t> begin = places.Start(ours[i]);
    const std::optional<std::size_t> end = places.End(ours[i]);
    if (!begin || !end || *begin >= *end) {
      *error = "cannot locate our entry";
      return std::nullopt;
    }
    if (i == 0 && label != nullptr) {
      // Rewritten where it stands, on its own line or not.
      const std::string_view eol = LineEndBefore(xbel, *begin);
      std::string block =
          BookmarkBlock(uri, *label, !places.root().attribute("xmlns:bookmark"), eol);
      block.erase(0, block.find('<'));
      block.resize(block.size() - eol.size());
      splices.push_back({*begin, *end, std::move(block)});
    } else {
      splices.push_back(Removal(xbel, *begin, *end));
    }
  }
  if (ours.empty() && label != nullptr) {
    std::optional<Splice> insertion = Insertion(places, uri, *label, error);
    if (!insertion) return std::nullopt;
    splices.push_back(std::move(*insertion));
  }
  std::string result = Apply(xbel, std::move(splices));
  if (!Holds(result, uri, label != nullptr ? 1 : 0)) {
    *error = "cannot place our entry without disturbing the file";
    return std::nullopt;
  }
  return result;
}

// ---- files -----------------------------------------------------------------

std::string AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  // A relative value is to be ignored, as the base directory rules say.
  if (value != nullptr && value[0] == '/') return value;
  return {};
}

std::string Home() {
  std::string home = AbsoluteEnv("HOME");
  if (!home.empty()) return home;
  const passwd* user = ::getpwuid(::getuid());
  if (user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/') return user->pw_dir;
  return {};
}

std::string BaseFolder(const char* variable, const char* fallback) {
  std::string base = AbsoluteEnv(variable);
  if (!base.empty()) return base;
  const std::string home = Home();
  return home.empty() ? std::string() : home + fallback;
}

bool MakeFolders(const std::string& path, std::string* error) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
      *error = part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) return true;
  }
}

enum class Read { kOk, kMissing, kFailed };

Read ReadFile(const std::string& path, std::string* bytes, std::string* error) {
  // Non-blocking, so that a FIFO in the file's place cannot hang subst.
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) {
    if (errno == ENOENT) return Read::kMissing;
    *error = path + ": " + std::strerror(errno);
    return Read::kFailed;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize) {
    *error = path + ": not a regular file of a sensible size";
    return Read::kFailed;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *error = path + ": " + std::strerror(errno);
      return Read::kFailed;
    }
    if (got == 0) return Read::kOk;
    bytes->append(buffer, static_cast<std::size_t>(got));
  }
}

// A temporary file beside the target with the target's mode, renamed over it:
// the desktop reading the file sees the old or the new one, never a part.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  std::string target = path;
  struct stat st {};
  // A bookmarks file kept elsewhere through a link stays linked.
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (real == nullptr) {
      *error = path + ": " + std::strerror(errno);
      return false;
    }
    target = real.get();
  }
  mode_t mode = kPrivateFile;
  if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
  std::string temp = target + ".tmp-XXXXXX";
  const UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (!fd.valid()) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool ok = WriteAll(fd.get(), bytes) && ::fchmod(fd.get(), mode) == 0 &&
                  ::fsync(fd.get()) == 0 && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    *error = path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
  }
  return ok;
}

using Edit = std::function<std::optional<std::string>(std::string_view, std::string*)>;

// Reads, edits and replaces one file; a missing file is made only when
// create is set. Returns why the file was left alone, if it was.
std::optional<std::string> UpdateFile(const std::string& path, bool create, const Edit& edit) {
  std::string bytes;
  std::string error;
  const Read read = ReadFile(path, &bytes, &error);
  if (read == Read::kFailed) return error;
  if (read == Read::kMissing && !create) return std::nullopt;
  const std::optional<std::string> edited = edit(bytes, &error);
  if (!edited) return path + ": " + error;
  if (read == Read::kOk && *edited == bytes) return std::nullopt;
  if (read == Read::kMissing && !MakeFolders(path.substr(0, path.rfind('/')), &error)) {
    return error;
  }
  if (!ReplaceFile(path, *edited, &error)) return error;
  return std::nullopt;
}

std::vector<std::string> UpdateSidebars(char letter, const Edit& gtk, bool createGtk,
                                        const Edit& places) {
  std::vector<std::string> skipped;
  const auto note = [&](const std::optional<std::string>& why) {
    if (why) skipped.push_back("Sidebar entry for " + DriveLinkName(letter) + " skipped - " + *why);
  };
  const std::string config = BaseFolder("XDG_CONFIG_HOME", "/.config");
  const std::string data = BaseFolder("XDG_DATA_HOME", "/.local/share");
  if (config.empty() || data.empty()) {
    note("no home folder");
    return skipped;
  }
  note(UpdateFile(config + "/gtk-3.0/bookmarks", createGtk, gtk));
  note(UpdateFile(data + "/user-places.xbel", false, places));
  return skipped;
}

}  // namespace

std::string FileUri(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      uri += c;
    } else {
      uri += '%';
      uri += kHex[byte >> 4U];
      uri += kHex[byte & 0xFU];
    }
  }
  return uri;
}

std::string SidebarLabel(std::string_view folder, char letter) {
  std::string_view name = folder;
  const std::size_t slash = folder.rfind('/');
  if (slash != std::string_view::npos && slash + 1 < folder.size()) name = folder.substr(slash + 1);
  return SafeText(name) + " (" + DriveLinkName(letter) + ")";
}

std::string GtkBookmarksWith(std::string_view text, std::string_view uri, std::string_view label) {
  const std::string line = std::string(uri) + " " + std::string(label);
  const std::vector<Line> ours = LinesWithUri(text, uri);
  std::string result(text);
  if (ours.empty()) {
    if (!result.empty() && result.back() != '\n') return result + "\n" + line;
    return result + line + "\n";
  }
  for (std::size_t i = ours.size() - 1; i > 0; --i) EraseLine(result, ours[i]);
  result.replace(ours[0].begin, ours[0].end - ours[0].begin, line);
  return result;
}

std::string GtkBookmarksWithout(std::string_view text, std::string_view uri) {
  const std::vector<Line> ours = LinesWithUri(text, uri);
  std::string result(text);
  for (auto it = ours.rbegin(); it != ours.rend(); ++it) EraseLine(result, *it);
  return result;
}

std::optional<std::string> PlacesWith(std::string_view xbel, std::string_view uri,
                                      std::string_view label, std::string* error) {
  const std::string owned(label);
  return EditPlaces(xbel, uri, &owned, error);
}

std::optional<std::string> PlacesWithout(std::string_view xbel, std::string_view uri,
                                         std::string* error) {
  return EditPlaces(xbel, uri, nullptr, error);
}

std::vector<std::string> AddToSidebars(const std::string& drivesFolder, char letter,
                                       const std::string& target) {
  const std::string uri = FileUri(drivesFolder + "/" + DriveLinkName(letter));
  const std::string label = SidebarLabel(target, letter);
  return UpdateSidebars(
      letter,
      [&](std::string_view text, std::string*) {
        return std::optional<std::string>(GtkBookmarksWith(text, uri, label));
      },
      true,
      [&](std::string_view text, std::string* error) {
        return PlacesWith(text, uri, label, error);
      });
}

std::vector<std::string> RemoveFromSidebars(const std::string& drivesFolder, char letter) {
  const std::string uri = FileUri(drivesFolder + "/" + DriveLinkName(letter));
  return UpdateSidebars(
      letter,
      [&](std::string_view text, std::string*) {
        return std::optional<std::string>(GtkBookmarksWithout(text, uri));
      },
      false,
      [&](std::string_view text, std::string* error) { return PlacesWithout(text, uri, error); });
}

}  // namespace tessaro::platform
