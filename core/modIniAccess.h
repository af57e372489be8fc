#pragma once

#include <cstdint>
#include <string>

#include "core/ProfileFile.h"
#include "core/modApp.h"

namespace tessaro {

// One value from the profile file; the empty text when the file, section or
// key is missing or empty. Values come back whole, whatever their length.
std::wstring fctReadIniValue(const std::wstring& section, const std::wstring& key,
                             const std::wstring& file, const std::wstring& defaultValue = {});

// -1 when the value is stored, 0 when the write failed or was refused.
Bool16 fctWriteIniValue(const std::wstring& section, const std::wstring& key,
                        const std::wstring& value, const std::wstring& file);

// The ten settings, read from / written to app.strIniFile. A save applies all
// ten keys in their fixed order and replaces the file once; its failure is
// silent, as the program has nobody to tell at that moment.
void LoadSettings(AppState& app);
void SaveSettings(const AppState& app,
                  profile::LineEnd newFileLineEnd = profile::NativeLineEnd());

}  // namespace tessaro
