#pragma once

#include <windows.h>

#include <string>

#include "platform/UniqueResource.h"

// The system handles the Win32 code holds, each closed by its owner, and the
// system's words for an error code.
namespace tessaro::platform {

struct HandleTraits {
  using Handle = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static bool Close(HANDLE handle) { return ::CloseHandle(handle) != FALSE; }
};

// A handle closed with CloseHandle. Both of the system's "no handle" values
// (null and INVALID_HANDLE_VALUE) count as none.
using UniqueHandle = UniqueResource<HandleTraits>;

struct FindTraits {
  using Handle = HANDLE;
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(HANDLE find) { return find != INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE find) { return ::FindClose(find) != FALSE; }
};

// A search handle from FindFirstFile(Ex)W, closed with FindClose.
using UniqueFind = UniqueResource<FindTraits>;

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
