#pragma once

// Temporary folders, file contents and environment for tests.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tessaro::testing {

// A fresh folder of its own, removed with everything in it, including what a
// test made read-only.
class TempFolder {
 public:
  TempFolder() {
    static std::mt19937_64 rng{std::random_device{}()};
    path_ = std::filesystem::temp_directory_path() / ("tessaro-test-" + std::to_string(rng()));
    std::filesystem::create_directories(path_);
#ifndef _WIN32
    ::chmod(path_.c_str(), 0700);
#endif
  }
  ~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      // A link goes as it is: what it points at is not ours to change.
      if (entry.is_symlink(ignored)) continue;
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::wstring WidePath() const { return path_.wstring(); }

 private:
  std::filesystem::path path_;
};

// The whole file as bytes; empty when it cannot be read.
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

// Writes the file, its folders first, and gives it the mode.
inline void WriteFile(const std::filesystem::path& path, const std::string& content,
                      mode_t mode = 0644) {
  std::filesystem::create_directories(path.parent_path());
  WriteBytes(path, content);
  ::chmod(path.c_str(), mode);
}

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
    const char* value = std::getenv(name.c_str());
    saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }

  std::map<std::string, std::optional<std::string> > saved_;
};
#endif  // _WIN32

}  // namespace tessaro::testing
