#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "SubstHarness.h"

namespace {

namespace fs = std::filesystem;
using subst_test::RunSubst;
using subst_test::SubstRun;
using subst_test::SubstTest;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

ino_t Inode(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The path a file: URI names, or nothing when it is no such URI.
std::optional<std::string> UriPath(std::string_view uri) {
  if (!uri.starts_with("file://")) return std::nullopt;
  std::string path;
  for (std::size_t i = 7; i < uri.size(); ++i) {
    if (uri[i] != '%') {
      path += uri[i];
      continue;
    }
    if (i + 2 >= uri.size() || Hex(uri[i + 1]) < 0 || Hex(uri[i + 2]) < 0) return std::nullopt;
    path += static_cast<char>(Hex(uri[i + 1]) * 16 + Hex(uri[i + 2]));
    i += 2;
  }
  return path;
}

// GTK's reading of a bookmarks file: per non-empty line, the URI up to the
// first blank and the label after it.
std::vector<std::pair<std::string, std::string>> GtkEntries(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> entries;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty()) continue;
    const std::size_t blank = line.find(' ');
    entries.emplace_back(line.substr(0, blank),
                         blank == std::string::npos ? "" : line.substr(blank + 1));
  }
  return entries;
}

// The one place where two versions of a file differ.
struct Change {
  std::string removed;
  std::string added;
};

Change Diff(const std::string& before, const std::string& after) {
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return {before.substr(prefix, before.size() - prefix - suffix),
          after.substr(prefix, after.size() - prefix - suffix)};
}

class SidebarTest : public SubstTest {
 protected:
  fs::path Gtk() const { return root_ / "config" / "gtk-3.0" / "bookmarks"; }
  fs::path Places() const { return root_ / "share" / "user-places.xbel"; }
  std::string Link(char letter) const {
    return (Drives() / (std::string(1, letter) + ":")).string();
  }

  // The labels of the GTK entries that name the drive's link.
  std::vector<std::string> GtkLabels(const std::string& text, char letter) const {
    std::vector<std::string> labels;
    for (const auto& [uri, label] : GtkEntries(text)) {
      if (UriPath(uri) == Link(letter)) labels.push_back(label);
    }
    return labels;
  }

  // All other GTK entries, in order.
  std::vector<std::string> GtkOthers(const std::string& text, char letter) const {
    std::vector<std::string> others;
    for (const auto& [uri, label] : GtkEntries(text)) {
      if (UriPath(uri) != Link(letter)) others.push_back(uri + " " + label);
    }
    return others;
  }

  // Titles of the places bookmarks that name the drive's link (with
  // ours = true) or of all others; nothing when the text is not well-formed.
  std::optional<std::vector<std::string>> PlacesTitles(const std::string& text, char letter,
                                                       bool ours = true) const {
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size(), pugi::parse_full, pugi::encoding_utf8)) {
      return std::nullopt;
    }
    std::vector<std::string> titles;
    for (const pugi::xpath_node found : doc.select_nodes("//bookmark")) {
      const pugi::xml_node bookmark = found.node();
      const std::string href = bookmark.attribute("href").value();
      if ((UriPath(href) == Link(letter)) != ours) continue;
      titles.push_back(ours ? bookmark.child_value("title")
                            : href + " " + bookmark.child_value("title"));
      if (!ours) continue;
      const pugi::xml_node icon = bookmark.child("info").child("metadata").child("bookmark:icon");
      EXPECT_STREQ(icon.attribute("name").value(), "drive-harddisk");
    }
    return titles;
  }

  // A map or remove inserted or deleted exactly one stretch of each file,
  // holding the drive's entry and no one else's; it replaced the file by a
  // rename and left no temporary file behind.
  void ExpectOnlyOurEntryChanged(const std::string& gtkBefore, const std::string& placesBefore,
                                 ino_t gtkInode, ino_t placesInode, char letter, bool added,
                                 const std::string& label) {
    const std::string gtk = Slurp(Gtk());
    const Change gtkChange = Diff(gtkBefore, gtk);
    EXPECT_EQ(added ? gtkChange.removed : gtkChange.added, "");
    EXPECT_EQ(GtkOthers(gtk, letter), GtkOthers(gtkBefore, letter));
    EXPECT_EQ(GtkLabels(gtk, letter),
              added ? std::vector<std::string>{label} : std::vector<std::string>{});
    EXPECT_NE(Inode(Gtk()), gtkInode);

    const std::string places = Slurp(Places());
    const Change placesChange = Diff(placesBefore, places);
    EXPECT_EQ(added ? placesChange.removed : placesChange.added, "");
    EXPECT_EQ(PlacesTitles(places, letter, false), PlacesTitles(placesBefore, letter, false));
    EXPECT_EQ(PlacesTitles(places, letter),
              added ? std::vector<std::string>{label} : std::vector<std::string>{})
        << places;
    EXPECT_NE(Inode(Places()), placesInode);

    for (const fs::path& folder : {Gtk().parent_path(), Places().parent_path()}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << entry.path();
      }
    }
  }

  // Runs subst and checks the step's change to both files.
  void Step(const std::vector<std::string>& args, char letter, const std::string& label) {
    const std::string gtk = Slurp(Gtk());
    const std::string places = Slurp(Places());
    const ino_t gtkInode = Inode(Gtk());
    const ino_t placesInode = Inode(Places());
    const SubstRun run = Subst(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ExpectOnlyOurEntryChanged(gtk, places, gtkInode, placesInode, letter, args[1] != "/d", label);
  }
};

const std::string kKdePlaces = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE xbel>
<xbel xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info" xmlns:kdepriv="http://www.kde.org/kdepriv">
 <info>
  <metadata owner="http://www.kde.org">
   <kde_places_version>4</kde_places_version>
   <GroupState-Places-IsHidden>false</GroupState-Places-IsHidden>
  </metadata>
 </info>
 <bookmark href="file:///home/anna">
  <title>Persönlicher Ordner</title>
  <info>
   <metadata owner="http://freedesktop.org">
    <bookmark:icon name="user-home"/>
   </metadata>
   <metadata owner="http://www.kde.org">
    <ID>1700000000/0</ID>
    <isSystemItem>true</isSystemItem>
   </metadata>
  </info>
 </bookmark>
 <bookmark href="file:///home/anna/Meine%20B%C3%BCcher">
  <title>Bücher &amp; "Hefte"</title>
  <info>
   <metadata owner="urn:example:other-tool"><other:tag xmlns:other="urn:example">eigen</other:tag></metadata>
  </info>
 </bookmark>
 <bookmark href="trash:/">
  <title>Papierkorb</title>
 </bookmark>
</xbel>
)";

struct SeedCase {
  const char* name;
  std::optional<std::string> gtk;
  std::string places;
};

// Users' own files, each mapped and unmapped twice: the foreign bytes must
// come back exactly.
TEST_F(SidebarTest, MapAndRemoveTwoDrives_ForeignBytesKept) {
  const std::vector<SeedCase> cases = {
      {"KDE places, GTK lines with blanks, non-ASCII and a broken line",
       "file:///home/anna/Meine%20Fotos Fotos vom Urlaub 2024\n"
       "file:///home/anna/J%C3%BCrgen\n"
       "\n"
       "file:///home/anna/kaputt \xff\xfe Etikett\n"
       "sftp://anna@server/share Server\n",
       kKdePlaces},
      {"no last line break, CRLF, comments and no namespace",
       "file:///home/anna/Dokumente\n\xc3\x28 ohne Zeilenende",
       "<?xml version=\"1.0\"?>\r\n<!-- vorher -->\r\n<xbel version=\"1.0\">\r\n"
       " <bookmark href=\"file:///a%20b\"><title>A &amp; B</title></bookmark>\r\n"
       " <![CDATA[ <odd> ]]>\r\n</xbel>\r\n<!-- danach -->\r\n"},
      {"no GTK file yet, XBEL on one line", std::nullopt,
       "<xbel><bookmark href=\"file:///x\"/></xbel>"},
  };
  const fs::path second = root_ / "Andere Dateien";
  fs::create_directories(second);
  for (const SeedCase& seed : cases) {
    SCOPED_TRACE(seed.name);
    fs::remove_all(root_ / "config");
    if (seed.gtk) Write(Gtk(), *seed.gtk);
    Write(Places(), seed.places);

    Step({"X:", data_.string()}, 'X', "Daten (X:)");
    Step({"Y:", second.string()}, 'Y', "Andere Dateien (Y:)");
    Step({"X:", "/d"}, 'X', "Daten (X:)");
    Step({"Y:", "/d"}, 'Y', "Andere Dateien (Y:)");
    EXPECT_EQ(Slurp(Gtk()), seed.gtk.value_or(""));
    EXPECT_EQ(Slurp(Places()), seed.places);
  }
}

// The entries outlive the link when the session ends; mapping again, as the
// restore at logon does, must not add a second one, and a label from an
// earlier mapping is brought up to date where it stands.
TEST_F(SidebarTest, MapAgainAfterLogout_EntryReplacedNotRepeated) {
  const std::string uri = "file://" + Drives().string() + "/X%3A";
  Write(Gtk(), "file:///a A\n" + uri + " Alt (X:)\nfile:///b B\n");
  std::string places = kKdePlaces;
  places.insert(places.find(" <bookmark href=\"trash:/\">"),
                " <bookmark href=\"" + uri +
                    "\">\n  <title>Alt (X:)</title>\n  <info>\n"
                    "   <metadata owner=\"urn:x-tessaro:subst\"/>\n  </info>\n </bookmark>\n");
  Write(Places(), places);

  ASSERT_EQ(Subst({"X:", data_.string()}).exitCode, 0);
  EXPECT_EQ(Slurp(Gtk()), "file:///a A\n" + uri + " Daten (X:)\nfile:///b B\n");
  EXPECT_EQ(PlacesTitles(Slurp(Places()), 'X'), std::vector<std::string>{"Daten (X:)"});

  const std::string gtk = Slurp(Gtk());
  places = Slurp(Places());
  fs::remove(Link('X'));  // what the end of the session does
  ASSERT_EQ(Subst({"X:", data_.string()}).exitCode, 0);
  EXPECT_EQ(Slurp(Gtk()), gtk);
  EXPECT_EQ(Slurp(Places()), places);

  // The link is gone for good: /d still cleans the sidebars up, and still
  // says the drive was not mapped.
  fs::remove(Link('X'));
  EXPECT_EQ(Subst({"X:", "/d"}).exitCode, 1);
  EXPECT_EQ(Slurp(Gtk()), "file:///a A\nfile:///b B\n");
  EXPECT_EQ(Slurp(Places()), kKdePlaces);
}

// A places file we cannot read as XBEL is left alone; the drive is mapped
// and removed all the same, and the GTK side still gets its entry.
TEST_F(SidebarTest, PlacesFileNotXbel_SkippedWithOneLineMappingWorks) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"truncated", kKdePlaces.substr(0, kKdePlaces.size() / 2)},
      {"not XML", "Dies ist keine XML-Datei\n"},
      {"another root", "<html><body/></html>"},
      {"UTF-16", std::string("\xff\xfe<\0x\0b\0e\0l\0/\0>\0", 16)},
      {"end tag missing", "<xbel><bookmark href=\"file:///x\"></xbel>"},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    Write(Places(), bytes);
    SubstRun run = Subst({"X:", data_.string()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(Link('X')));
    EXPECT_TRUE(run.err.starts_with("Sidebar entry for X: skipped - " + Places().string() + ": "))
        << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
    EXPECT_EQ(GtkLabels(Slurp(Gtk()), 'X').size(), 1u);
    EXPECT_EQ(Slurp(Places()), bytes);

    run = Subst({"X:", "/d"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Link('X'))));
    EXPECT_EQ(GtkLabels(Slurp(Gtk()), 'X').size(), 0u);
    EXPECT_EQ(Slurp(Places()), bytes);
  }
}

// A write that fails half way (here: the file-size limit) leaves the old
// file and no temporary file, and the drive is mapped anyway.
TEST_F(SidebarTest, WriteFails_OldFileKeptNoTempLeftMappingWorks) {
  std::string big;
  for (int i = 0; i < 2000; ++i)
    big += "file:///home/anna/Ordner" + std::to_string(i) + " Ordner\n";
  Write(Gtk(), big);
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const struct rlimit small = {static_cast<rlim_t>(big.size() / 2), old.rlim_max};
  // Ignored in the child too, so the write fails with EFBIG instead.
  const sighandler_t oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const SubstRun run = Subst({"X:", data_.string()});
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(Link('X')));
  EXPECT_EQ(run.err, "Sidebar entry for X: skipped - " + Gtk().string() + ": File too large\n");
  EXPECT_EQ(Slurp(Gtk()), big);
  for (const auto& entry : fs::directory_iterator(Gtk().parent_path())) {
    EXPECT_EQ(entry.path(), Gtk());
  }
}

// Folder names that mean something in a URI, a line or XML: the URI reads
// back as the link, the label is the folder's name made safe.
TEST_F(SidebarTest, OddFolderNames_UriLeadsToLinkLabelSafe) {
  struct OddName {
    char letter;
    std::string folder;
    std::string label;
  };
  const std::vector<OddName> cases = {
      {'D', "Projekt #1", "Projekt #1 (D:)"},
      {'E', "100% fertig", "100% fertig (E:)"},
      {'F', "Meine  Dateien ", "Meine  Dateien  (F:)"},
      {'G', "Jürgens Ärger", "Jürgens Ärger (G:)"},
      {'H', "a?b&c=d<e>\"f\"", "a?b&c=d<e>\"f\" (H:)"},
      {'I', "zwei\nZeilen\t", "zwei Zeilen  (I:)"},
      {'J', "\xff kaputt \xed\xa0\x80",
       "\xef\xbf\xbd kaputt \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd (J:)"},
  };
  Write(Places(), kKdePlaces);
  for (const OddName& odd : cases) {
    SCOPED_TRACE(odd.label);
    const fs::path folder = root_ / odd.folder;
    fs::create_directories(folder);
    const SubstRun run = Subst({std::string(1, odd.letter) + ":", folder.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(fs::read_symlink(Link(odd.letter)), folder);
    EXPECT_EQ(GtkLabels(Slurp(Gtk()), odd.letter), std::vector<std::string>{odd.label});
    EXPECT_EQ(PlacesTitles(Slurp(Places()), odd.letter), std::vector<std::string>{odd.label});
  }
  for (const OddName& odd : cases) {
    EXPECT_EQ(Subst({std::string(1, odd.letter) + ":", "/d"}).exitCode, 0);
  }
  EXPECT_EQ(Slurp(Gtk()), "");
  EXPECT_EQ(Slurp(Places()), kKdePlaces);
}

}  // namespace
