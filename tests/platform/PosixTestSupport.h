#pragma once

#ifndef _WIN32

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

namespace tessaro::testing {

// Sets environment variables for one test and puts every one back as it was.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  void Set(const std::string& name, const std::string& value) {
    Remember(name);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  void Unset(const std::string& name) {
    Remember(name);
    ::unsetenv(name.c_str());
  }

 private:
  void Remember(const std::string& name) {
    if (saved_.count(name)) return;
    const char* value = ::getenv(name.c_str());
    saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }

  std::map<std::string, std::optional<std::string>> saved_;
};

// A fresh folder of its own, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaro-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& content,
                      mode_t mode = 0644) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  ::chmod(path.c_str(), mode);
}

}  // namespace tessaro::testing

#endif  // _WIN32
