#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A mapped drive shown where Linux users look for places: the bookmarks of
// the GTK file chooser and its file managers ($XDG_CONFIG_HOME/gtk-3.0/
// bookmarks) and KDE's places ($XDG_DATA_HOME/user-places.xbel, only when the
// user has one). Each entry points at the drive's link and is labelled
// "Daten (X:)". Only our own entries are ever touched; every other byte of
// both files stays as it was.
namespace tessaro::platform {

// A file: URI with every byte but unreserved ones and '/' percent-encoded,
// so that it holds no blank and reads back as exactly this path.
std::string FileUri(std::string_view path);

// "<folder's last component> (X:)" ("/ (X:)" for the root), made safe for
// both files: valid UTF-8, no control characters.
std::string SidebarLabel(std::string_view folder, char letter);

// The bookmarks file's text with exactly one line "<uri> <label>" for the
// drive: an existing line with this URI is replaced in place (and any repeats
// dropped), otherwise the line is appended.
std::string GtkBookmarksWith(std::string_view text, std::string_view uri, std::string_view label);

// The bookmarks file's text without the lines whose URI is this one.
std::string GtkBookmarksWithout(std::string_view text, std::string_view uri);

// The places file with exactly one bookmark of ours for the URI, or without
// any. Nothing when the file cannot be parsed as XBEL; then *error says why.
std::optional<std::string> PlacesWith(std::string_view xbel, std::string_view uri,
                                      std::string_view label, std::string* error);
std::optional<std::string> PlacesWithout(std::string_view xbel, std::string_view uri,
                                         std::string* error);

// Adds or removes the drive's entries in both files. Returns one line for each
// file that was left alone because it could not be read, parsed or replaced;
// the mapping itself never depends on these.
std::vector<std::string> AddToSidebars(const std::string& drivesFolder, char letter,
                                       const std::string& target);
std::vector<std::string> RemoveFromSidebars(const std::string& drivesFolder, char letter);

}  // namespace tessaro::platform
