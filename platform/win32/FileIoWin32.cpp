#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "AtomicFile.h"
#include "platform/FileIo.h"
#include "platform/win32/Handles.h"

namespace tessaro::platform {
namespace {

std::wstring Reason(DWORD error) {
  std::wstring text = SystemMessage(error);
  return text.empty() ? L"Fehler " + std::to_wstring(error) : text;
}

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
  const UniqueHandle file(
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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
  return IsTempFileName(entry, target, [](std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
  });
}

// Creates a temporary file beside path exclusively; a clash simply tries the
// next name. An invalid handle leaves the reason in GetLastError.
UniqueHandle CreateTemp(const std::wstring& path, DWORD attributes, std::wstring& tempPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = TempFileName(path, ::GetCurrentProcessId());
    UniqueHandle handle(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      attributes, nullptr));
    if (handle.valid() || ::GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return UniqueHandle();
}

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
  const std::wstring pattern =
      folder + L"\\" + target + std::wstring(kTempMarker.begin(), kTempMarker.end()) + L"*";
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  WIN32_FIND_DATAW found{};
  const UniqueFind search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search.valid()) return;
  do {
    const std::wstring_view name = found.cFileName;
    const std::uint64_t written = Ticks(found.ftLastWriteTime);
    if (name != kept && IsOurTempName(name, target) && written + kStaleAfter < Ticks(now))
      ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
  } while (::FindNextFileW(search.get(), &found) != FALSE);
}

// An error leaves its reason in GetLastError.
bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() > 0x10000000U ? 0x10000000U : bytes.size());
    DWORD written = 0;
    if (::WriteFile(file, bytes.data(), chunk, &written, nullptr) == FALSE) return false;
    if (written == 0) {
      ::SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

FileContent ReadFileBytes(const std::wstring& path) {
  const UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
    return {ReadStatus::kError, {}, Reason(error)};
  }
  LARGE_INTEGER size{};
  if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
    return {ReadStatus::kError, {}, Reason(ERROR_INVALID_FUNCTION)};
  }
  if (::GetFileSizeEx(file.get(), &size) == FALSE) {
    return {ReadStatus::kError, {}, Reason(::GetLastError())};
  }
  return ReadToEnd(
      static_cast<std::uint64_t>(size.QuadPart),
      [&file](char* buffer, std::size_t length) -> std::optional<std::size_t> {
        DWORD got = 0;
        if (::ReadFile(file.get(), buffer, static_cast<DWORD>(length), &got, nullptr) == FALSE)
          return std::nullopt;
        return got;
      },
      [] { return Reason(::GetLastError()); }, [] { return Reason(ERROR_FILE_TOO_LARGE); });
}

WriteResult ReplaceFileAtomically(const std::wstring& path, std::string_view bytes) {
  if (path.empty() || path.find(L'\0') != std::wstring::npos)
    return WriteResult::Failed(Reason(ERROR_INVALID_NAME));
  const std::wstring target = FinalPath(path);

  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  const DWORD existing = ::GetFileAttributesW(target.c_str());
  if (existing != INVALID_FILE_ATTRIBUTES) {
    // What CreateFileW says for a folder opened to be written.
    if ((existing & FILE_ATTRIBUTE_DIRECTORY) != 0)
      return WriteResult::Failed(Reason(ERROR_ACCESS_DENIED));
    // Respect a read-only file: MoveFileExW would not, for every file system.
    if ((existing & FILE_ATTRIBUTE_READONLY) != 0)
      return WriteResult::Failed(Reason(ERROR_ACCESS_DENIED));
    // Keep a hidden or archived settings file as it was.
    attributes = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  }

  std::wstring tempPath;
  UniqueHandle file = CreateTemp(target, attributes, tempPath);
  if (!file.valid()) return WriteResult::Failed(Reason(::GetLastError()));
  DWORD error = ERROR_SUCCESS;
  if (!WriteAll(file.get(), bytes) || ::FlushFileBuffers(file.get()) == FALSE)
    error = ::GetLastError();
  if (!file.Close() && error == ERROR_SUCCESS) error = ::GetLastError();
  if (error == ERROR_SUCCESS &&
      ::MoveFileExW(tempPath.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == FALSE) {
    error = ::GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    ::DeleteFileW(tempPath.c_str());
    return WriteResult::Failed(Reason(error));
  }
  RemoveStaleTemps(target, tempPath);
  return {};
}

}  // namespace tessaro::platform
