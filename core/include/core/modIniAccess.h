#pragma once

#include <string>
#include <string_view>

#include "core/ProfileFile.h"
#include "core/modApp.h"

namespace tessaro {

// One value from the settings document; defaultValue when the section or
// key is missing. Values come back whole, whatever their length.
std::wstring fctReadIniValue(const profile::ProfileText& document, std::wstring_view section,
                             std::wstring_view key, std::wstring_view defaultValue = {});

// -1 when the value is stored in the document, 0 when it was refused (a line
// break cannot be stored); a refused value leaves the document as it was.
Bool16 fctWriteIniValue(profile::ProfileText& document, std::wstring_view section,
                        std::wstring_view key, std::wstring_view value);

// The ten settings, read from / written to app.strIniFile through the two
// functions above, over one document per call. A save writes the ten keys in
// their fixed order and replaces the file once. A value that cannot be stored
// keeps the file's old one while the other nine are saved. A failed save
// (the file unreadable or not writable) changes nothing and returns the
// system's reason; the caller decides whom to tell.
void LoadSettings(AppState& app);
platform::WriteResult SaveSettings(const AppState& app,
                                   profile::LineEnd newFileLineEnd = profile::NativeLineEnd());

}  // namespace tessaro
