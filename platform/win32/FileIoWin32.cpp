#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FileIo.h"

namespace tessaro::platform {
namespace {

// Far beyond any settings file; a bigger one is not ours to load into memory.
constexpr std::int64_t kMaxFileSize = std::int64_t{64} * 1024 * 1024;

// Temporary files are "<name>.tmp-" and six letters or digits, so that a
// later save can recognise the ones a killed process left behind.
constexpr std::wstring_view kTempMarker = L".tmp-";
constexpr std::size_t kTempSuffixLength = 6;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { Close(); }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  bool Close() {
    if (!valid()) return true;
    const BOOL closed = ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != FALSE;
  }

 private:
  HANDLE handle_;
};

std::size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }

std::wstring DirectoryOf(const std::wstring& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator);
}

std::wstring NameOf(const std::wstring& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// The file a symbolic link points to, so that the link survives the save.
// A path that does not exist yet is returned as it is.
std::wstring FinalPath(const std::wstring& path) {
  const Handle file(::CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;
  std::wstring final(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(
      file.get(), final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
  if (length >= final.size()) {
    final.resize(length + 1);
    length = ::GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED);
  }
  if (length == 0 || length >= final.size()) return path;
  final.resize(length);
  return final;
}

bool IsOurTempName(std::wstring_view entry, std::wstring_view target) {
  if (entry.size() != target.size() + kTempMarker.size() + kTempSuffixLength) return false;
  if (::CompareStringOrdinal(entry.data(), static_cast<int>(target.size()), target.data(),
                             static_cast<int>(target.size()), TRUE) != CSTR_EQUAL) {
    return false;
  }
  if (entry.substr(target.size(), kTempMarker.size()) != kTempMarker) return false;
  for (const wchar_t c : entry.substr(target.size() + kTempMarker.size())) {
    const bool alnum =
        (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
    if (!alnum) return false;
  }
  return true;
}

HANDLE CreateTemp(const std::wstring& path, DWORD attributes, std::wstring& tempPath) {
  static std::uint64_t counter = 0;
  constexpr std::wstring_view kAlphabet = L"abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    std::uint64_t seed = (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 32U) ^
                         static_cast<std::uint64_t>(now.QuadPart) ^
                         (++counter * 0x9E3779B97F4A7C15ULL);
    tempPath = path;
    tempPath += kTempMarker;
    for (std::size_t i = 0; i < kTempSuffixLength; ++i) {
      seed ^= seed >> 29U;
      seed *= 0xBF58476D1CE4E5B9ULL;
      tempPath += kAlphabet[static_cast<std::size_t>(seed >> 58U) % kAlphabet.size()];
    }
    HANDLE handle =
        ::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    if (handle != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) ::FindClose(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32U) | time.dwLowDateTime;
}

// Temporary files of saves that were killed before their rename. They never
// replaced anything, so removing them loses nothing. Another process's save
// lets go of its file just before the rename, so only files untouched for
// longer than any save takes count as a dead save's.
void RemoveStaleTemps(const std::wstring& path, const std::wstring& keep) {
  constexpr std::uint64_t kStaleAfter = std::uint64_t{10} * 60 * 10000000;  // 10 minutes
  const std::wstring folder = DirectoryOf(path);
  const std::wstring target = NameOf(path);
  const std::wstring kept = NameOf(keep);
  const std::wstring pattern = folder + L"\\" + target + std::wstring(kTempMarker) + L"*";
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  WIN32_FIND_DATAW found{};
  const FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search.valid()) return;
  do {
    const std::wstring_view name = found.cFileName;
    const std::uint64_t written = Ticks(found.ftLastWriteTime);
    if (name != kept && IsOurTempName(name, target) && written + kStaleAfter < Ticks(now))
      ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
  } while (::FindNextFileW(search.get(), &found) != FALSE);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() > 0x10000000U ? 0x10000000U : bytes.size());
    DWORD written = 0;
    if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) == FALSE || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

FileContent ReadFileBytes(const std::wstring& path) {
  FileContent content;
  const Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    content.status = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                         ? ReadStatus::kMissing
                         : ReadStatus::kError;
    return content;
  }
  LARGE_INTEGER size{};
  if (::GetFileType(file.get()) != FILE_TYPE_DISK || ::GetFileSizeEx(file.get(), &size) == FALSE ||
      size.QuadPart > kMaxFileSize) {
    content.status = ReadStatus::kError;
    return content;
  }
  content.bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) == FALSE) {
      content.bytes.clear();
      content.status = ReadStatus::kError;
      return content;
    }
    if (got == 0) break;
    content.bytes.append(buffer, got);
    if (content.bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
      content.bytes.clear();
      content.status = ReadStatus::kError;
      return content;
    }
  }
  content.status = ReadStatus::kOk;
  return content;
}

bool ReplaceFileAtomically(const std::wstring& path, std::string_view bytes) {
  if (path.empty() || path.find(L'\0') != std::wstring::npos) return false;
  const std::wstring target = FinalPath(path);

  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  const DWORD existing = ::GetFileAttributesW(target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES) {
    if ((existing & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    // Respect a read-only file: MoveFileExW would not, for every file system.
    if ((existing & FILE_ATTRIBUTE_READONLY) != 0) return false;
    // Keep a hidden or archived settings file as it was.
    attributes = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  }

  std::wstring tempPath;
  Handle file(CreateTemp(target, attributes, tempPath));
  if (!file.valid()) return false;
  bool ok = WriteAll(file.get(), bytes);
  ok = ok && ::FlushFileBuffers(file.get()) != FALSE;
  ok = file.Close() && ok;
  ok = ok && ::MoveFileExW(tempPath.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!ok) {
    ::DeleteFileW(tempPath.c_str());
    return false;
  }
  RemoveStaleTemps(target, tempPath);
  return true;
}

}  // namespace tessaro::platform
