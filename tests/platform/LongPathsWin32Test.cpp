// Paths longer than MAX_PATH on Windows are read whole.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FolderScan.h"

namespace tessaro::platform {
namespace {

// temp\tessaro-long\aaa...\aaa... : about 300 characters, made and removed.
class LongFolder {
 public:
  LongFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"tessaro-long";
    CreateDirectoryW(path_.c_str(), nullptr);
    while (path_.size() < 300) {
      path_ += L'\\' + std::wstring(60, L'a');
      levels_.push_back(path_);
      CreateDirectoryW((L"\\\\?\\" + path_).c_str(), nullptr);
    }
  }
  ~LongFolder() {
    for (auto level = levels_.rbegin(); level != levels_.rend(); ++level)
      RemoveDirectoryW((L"\\\\?\\" + *level).c_str());
  }
  LongFolder(const LongFolder&) = delete;
  LongFolder& operator=(const LongFolder&) = delete;

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  std::vector<std::wstring> levels_;
};

TEST(Win32LongPaths, CurrentDirectoryOf300Characters_ReadWhole) {
  const LongFolder folder;
  ASSERT_GT(folder.Path().size(), static_cast<std::size_t>(MAX_PATH));
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
  const std::wstring current = MakeSystemFolderScanner()->CurrentDirectory();
  SetCurrentDirectoryW(before);
  EXPECT_EQ(current, folder.Path());
}

}  // namespace
}  // namespace tessaro::platform
#endif
