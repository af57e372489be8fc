#include "ui/win32/SystemServicesWin32.h"

#include <windows.h>

#include <cstring>

namespace tessaro::ui::win32 {
namespace {

// VS_VERSIONINFO: three WORDs and the key L"VS_VERSION_INFO" with its NUL,
// then padding to a 32-bit boundary before the fixed part.
constexpr std::size_t kFixedInfoOffset = 40;
constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;

std::int16_t Word(DWORD value, bool high) {
  return static_cast<std::int16_t>(high ? HIWORD(value) : LOWORD(value));
}

}  // namespace

std::int32_t ClockWin32::CurrentYear() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wYear;
}

void ProcessExitWin32::EndNow() { ExitProcess(0); }

ProgramVersion VersionResourceWin32::Version() {
  // Read straight from the loaded image: no version.dll, no file access.
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, info);
  const auto* bytes =
      loaded != nullptr ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  const DWORD size = SizeofResource(nullptr, info);
  if (bytes == nullptr || size < kFixedInfoOffset + sizeof(VS_FIXEDFILEINFO)) return {};

  VS_FIXEDFILEINFO fixed{};
  std::memcpy(&fixed, bytes + kFixedInfoOffset, sizeof(fixed));
  if (fixed.dwSignature != kFixedInfoSignature) return {};

  // File version major.minor.0.revision.
  return ProgramVersion{Word(fixed.dwFileVersionMS, true), Word(fixed.dwFileVersionMS, false),
                        Word(fixed.dwFileVersionLS, false)};
}

}  // namespace tessaro::ui::win32
