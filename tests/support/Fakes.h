#pragma once

// In-memory stand-ins for the platform services the logic talks to.

#include <map>
#include <string>
#include <vector>

#include "platform/DriveTable.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "support/Files.h"
#include "text/LetterCase.h"

namespace tessaro::testing {

// Made-up path rules, Windows-like when the separator is '\\' (ASCII
// standing in for the system's ordinal rule), byte for byte otherwise.
template <class Interface, wchar_t kSeparator>
class FakePathRules : public Interface {
 public:
  platform::PathStyle Style() const override { return style; }
  bool SamePath(std::wstring_view a, std::wstring_view b) const override {
    return style.separator == L'\\' ? text::EqualsAsciiNoCase(a, b) : a == b;
  }

  platform::PathStyle style{kSeparator};
};

class FakeKnownFolders final : public platform::IKnownFolders {
 public:
  std::wstring Path(platform::KnownFolder folder) override {
    const auto it = folders.find(folder);
    return it == folders.end() ? std::wstring() : it->second;
  }
  std::map<platform::KnownFolder, std::wstring> folders;
};

// Commands "run" until the test ends them, each with its chosen code and
// output, in any order.
class FakeLauncher final : public platform::ILauncher {
 public:
  using ILauncher::Launch;
  platform::LaunchResult Launch(const std::wstring& commandLine, platform::WindowShow show,
                                platform::CommandEnded onEnded) override {
    commandLines.push_back(commandLine);
    shows.push_back(show);
    running.push_back(next.status == platform::LaunchStatus::kStarted ? std::move(onEnded)
                                                                      : platform::CommandEnded());
    return next;
  }
  // Ends the index-th launched command; false when nobody watches it.
  bool End(std::size_t index, int exitCode, const std::wstring& output = {}) {
    if (index >= running.size() || !running[index]) return false;
    const platform::CommandEnded watcher = std::move(running[index]);
    running[index] = nullptr;
    watcher({exitCode, output});
    return true;
  }
  std::vector<std::wstring> commandLines;
  std::vector<platform::WindowShow> shows;
  std::vector<platform::CommandEnded> running;
  platform::LaunchResult next{platform::LaunchStatus::kStarted, {}};
};

// A drive table in memory; folders exist when listed in existing.
class FakeDriveTable final : public FakePathRules<platform::IDriveTable, L'\\'> {
 public:
  std::vector<platform::DriveMapping> Mappings() override {
    ++reads;
    return mappings;
  }
  bool FolderExists(const std::wstring& folder) override {
    for (const auto& known : existing) {
      if (known == folder) return true;
    }
    return false;
  }
  std::vector<platform::DriveMapping> mappings;
  std::vector<std::wstring> existing;
  int reads = 0;
};

// A settings folder of its own, known as the application-data folder, and a
// documents folder that exists only in name.
struct SettingsFolders {
  explicit SettingsFolders(const std::wstring& documents) {
    folders.folders[platform::KnownFolder::kDocuments] = documents;
    folders.folders[platform::KnownFolder::kAppData] = dir.WidePath();
  }

  std::filesystem::path IniFile() const { return dir.Path() / "Tessaro.ini"; }

  TempFolder dir;
  FakeKnownFolders folders;
};

}  // namespace tessaro::testing
