#include <windows.h>

#include <string>

#include "platform/Autostart.h"
#include "platform/ProgramNames.h"

namespace tessaro::platform {

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kValueName = names::kRunValue;

// The running exe's full path, however long it is.
std::wstring SelfPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

class Win32Autostart final : public IAutostart {
 public:
  bool SetRestoreAtLogin(bool on) override {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    LSTATUS status = ERROR_SUCCESS;
    if (on) {
      const std::wstring self = SelfPath();
      // The same value the setup program writes.
      const std::wstring command = L"\"" + self + L"\" /restore";
      status = self.empty()
                   ? ERROR_INVALID_DATA
                   : RegSetValueExW(key, kValueName, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(command.c_str()),
                                    static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
      status = RegDeleteValueW(key, kValueName);
      if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
  }
};

}  // namespace

std::unique_ptr<IAutostart> MakeSystemAutostart() { return std::make_unique<Win32Autostart>(); }

}  // namespace tessaro::platform
