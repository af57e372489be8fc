#pragma once

#include <windows.h>

#include <string>

// The system handles the Win32 code of the platform library holds, each
// closed by its owner, and the system's words for an error code.
namespace tessaro::platform {

// A handle closed with CloseHandle. Both of the system's "no handle" values
// (null and INVALID_HANDLE_VALUE) count as none.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Close(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  // Closes now; false when CloseHandle failed, which for a file just written
  // may mean lost data.
  bool Close() {
    if (!valid()) return true;
    const BOOL closed = ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A search handle from FindFirstFile(Ex)W, closed with FindClose.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE find) : find_(find) {}
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;
  ~UniqueFind() {
    if (valid()) ::FindClose(find_);
  }

  HANDLE get() const { return find_; }
  bool valid() const { return find_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE find_;
};

// The system's own words for an error code, without the line end it appends.
inline std::wstring SystemMessage(DWORD error) {
  wchar_t* message = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  if (length == 0 || message == nullptr) return {};
  std::wstring text(message, length);
  ::LocalFree(message);
  const std::size_t end = text.find_last_not_of(L"\r\n \t");
  text.erase(end == std::wstring::npos ? 0 : end + 1);
  return text;
}

}  // namespace tessaro::platform
