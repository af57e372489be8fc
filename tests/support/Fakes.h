#pragma once

// In-memory stand-ins for the controls and services the logic talks to.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/Controls.h"
#include "platform/KnownFolders.h"
#include "platform/Launcher.h"

namespace tessaro::testing {

class FakeComboBox final : public IComboBox {
 public:
  std::wstring Text() const override { return text; }
  void SetText(const std::wstring& t) override { text = t; }
  void AddItem(const std::wstring& item) override { items.push_back(item); }

  std::wstring text;
  std::vector<std::wstring> items;
};

class FakeCheckMark final : public ICheckMark {
 public:
  bool Checked() const override { return checked; }
  void SetChecked(bool c) override { checked = c; }
  bool checked = false;
};

class FakeKnownFolders final : public platform::IKnownFolders {
 public:
  std::wstring Path(std::int32_t csidl) override {
    const auto it = folders.find(csidl);
    return it == folders.end() ? std::wstring() : it->second;
  }
  std::map<std::int32_t, std::wstring> folders;
};

class FakeLauncher final : public platform::ILauncher {
 public:
  platform::LaunchResult Launch(const std::wstring& commandLine, int showStyle) override {
    commandLines.push_back(commandLine);
    showStyles.push_back(showStyle);
    return next;
  }
  std::vector<std::wstring> commandLines;
  std::vector<int> showStyles;
  platform::LaunchResult next{platform::LaunchStatus::kStarted, {}};
};

// A fresh folder per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    static std::mt19937_64 rng{std::random_device{}()};
    path_ = std::filesystem::temp_directory_path() /
            ("tessaro-test-" + std::to_string(rng()));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::wstring wpath() const { return path_.wstring(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The line end the program uses for files it creates.
#ifdef _WIN32
inline constexpr const char* kNl = "\r\n";
#else
inline constexpr const char* kNl = "\n";
#endif

}  // namespace tessaro::testing
