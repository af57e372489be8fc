#pragma once

// In-memory stand-ins for the platform services the logic talks to.

#include <map>
#include <string>
#include <vector>

#include "platform/KnownFolders.h"
#include "platform/Launcher.h"
#include "support/Files.h"

namespace tessaro::testing {

class FakeKnownFolders final : public platform::IKnownFolders {
 public:
  std::wstring Path(platform::KnownFolder folder) override {
    const auto it = folders.find(folder);
    return it == folders.end() ? std::wstring() : it->second;
  }
  std::map<platform::KnownFolder, std::wstring> folders;
};

class FakeLauncher final : public platform::ILauncher {
 public:
  platform::LaunchResult Launch(const std::wstring& commandLine,
                                platform::WindowShow show) override {
    commandLines.push_back(commandLine);
    shows.push_back(show);
    return next;
  }
  std::vector<std::wstring> commandLines;
  std::vector<platform::WindowShow> shows;
  platform::LaunchResult next{platform::LaunchStatus::kStarted, {}};
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
