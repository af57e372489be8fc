// A stand-in for subst.exe: it maps nothing and records the command line it
// was started with, byte for byte (UTF-8, one line per call), in
// "subst-calls.txt" beside itself. While "subst-fail.txt" lies beside it, it
// then refuses: that file's bytes on its standard error, exit code 1.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string bytes(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace

int wmain() {
  wchar_t path[MAX_PATH + 32] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::wstring record(path, length);
  record.erase(record.find_last_of(L'\\') + 1);
  record += L"subst-calls.txt";

  // A refusal is said first: the record is the last thing done before the
  // end, so that its time stands for the end.
  std::wstring refusal = record;
  refusal.replace(refusal.size() - 9, 9, L"fail.txt");  // "calls.txt" -> "fail.txt"
  HANDLE reason = CreateFileW(refusal.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool refuse = reason != INVALID_HANDLE_VALUE;
  DWORD written = 0;
  if (refuse) {
    char said[512];
    DWORD got = 0;
    ReadFile(reason, said, sizeof said, &got, nullptr);
    CloseHandle(reason);
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), said, got, &written, nullptr);
  }

  const std::string line = Utf8(GetCommandLineW()) + "\n";
  // Appends survive several calls racing each other: FILE_APPEND_DATA writes
  // go to the end in one piece.
  HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return refuse ? 1 : 0;
}
