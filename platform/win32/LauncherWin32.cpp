#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Processes.h"
#include "platform/win32/Handles.h"
#include "text/TextCodec.h"

namespace tessaro::platform {

namespace {

WORD ShowCommand(WindowShow show) {
  switch (show) {
    case WindowShow::kNormal:
      return SW_SHOWNORMAL;
    case WindowShow::kMinimized:
      return SW_SHOWMINIMIZED;
  }
  return SW_SHOWNORMAL;
}

// The attribute list that lets exactly one handle be inherited.
class InheritOnly {
 public:
  explicit InheritOnly(HANDLE handle) : handle_(handle) {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (size == 0 || !InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
      list_ = nullptr;
      return;
    }
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_,
                                   sizeof handle_, nullptr, nullptr)) {
      DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
    }
  }
  ~InheritOnly() {
    if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
  }
  InheritOnly(const InheritOnly&) = delete;
  InheritOnly& operator=(const InheritOnly&) = delete;

  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  HANDLE handle_;
  std::vector<unsigned char> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// Starts the command line's program; on success *process holds its handles
// for the caller to close. Returns the system's error, or 0. A non-null
// output handle (inheritable) becomes the child's standard output and
// standard error, and is the only handle it inherits.
DWORD StartProcess(const std::wstring& commandLine, WORD showCommand, DWORD flags,
                   PROCESS_INFORMATION* process, HANDLE output = nullptr) {
  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup.StartupInfo;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = showCommand;
  BOOL inherit = FALSE;
  std::optional<InheritOnly> only;
  if (output != nullptr) {
    only.emplace(output);
    if (only->get() == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = output;
    startup.lpAttributeList = only->get();
    flags |= EXTENDED_STARTUPINFO_PRESENT;
    inherit = TRUE;
  }
  // No application name: Windows then looks in our own folder first, then
  // the system folders, then PATH, as for a command typed without a path.
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, inherit, flags, nullptr, nullptr,
                      &startup.StartupInfo, process)) {
    return GetLastError();
  }
  return 0;
}

// Room in the pipe for far more than subst ever says, so that the child never
// blocks on a full pipe while nobody reads: the output is read once it ended.
constexpr DWORD kPipeSize = 64 * 1024;

struct Watch {
  UniqueHandle process;
  UniqueHandle output;  // the pipe's read end
  CommandEnded onEnded;
  std::chrono::milliseconds watch;
};

std::wstring ReadWaiting(HANDLE pipe) {
  std::string bytes;
  char buffer[1024];
  while (bytes.size() < kMaxCommandOutput) {
    DWORD waiting = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0) break;
    const DWORD wanted = std::min<DWORD>({waiting, static_cast<DWORD>(sizeof buffer),
                                          static_cast<DWORD>(kMaxCommandOutput - bytes.size())});
    DWORD got = 0;
    if (!ReadFile(pipe, buffer, wanted, &got, nullptr) || got == 0) break;
    bytes.append(buffer, got);
  }
  // The console's output code page, as subst writes with it.
  const UINT codePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetOEMCP();
  if (bytes.empty()) return {};
  const int size =
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0) return text::DecodeUtf8Lossy(bytes);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  return wide;
}

// One small thread per watched command: it sleeps in the wait for the process
// and then tells the end.
DWORD WINAPI WatchProcess(void* context) {
  const std::unique_ptr<Watch> watch(static_cast<Watch*>(context));
  DWORD code = 0;
  const bool ended =
      WaitForSingleObject(watch->process.get(), static_cast<DWORD>(watch->watch.count())) ==
          WAIT_OBJECT_0 &&
      GetExitCodeProcess(watch->process.get(), &code);
  std::wstring output;
  if (ended) output = ReadWaiting(watch->output.get());
  watch->output.Close();
  watch->process.Close();
  if (ended) watch->onEnded({static_cast<int>(code), std::move(output)});
  return 0;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

LaunchResult Refused(DWORD error) {
  return {IsMissing(error) ? LaunchStatus::kNotFound : LaunchStatus::kFailed, SystemMessage(error)};
}

}  // namespace

LaunchResult StartDetached(const std::wstring& commandLine, WindowShow show) {
  PROCESS_INFORMATION process{};
  if (const DWORD error = StartProcess(commandLine, ShowCommand(show), 0, &process)) {
    return Refused(error);
  }
  // Nothing is waited for or read back, so the handles go at once.
  const UniqueHandle thread(process.hThread);
  const UniqueHandle child(process.hProcess);
  return {LaunchStatus::kStarted, {}};
}

LaunchResult StartWatched(const std::wstring& commandLine, WindowShow show,
                          std::chrono::milliseconds watch, CommandEnded ended) {
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, nullptr, kPipeSize)) return Refused(GetLastError());
  UniqueHandle read(readEnd);
  PROCESS_INFORMATION process{};
  {
    const UniqueHandle write(writeEnd);
    // Only the child's end is inheritable, and the list limits it to that.
    SetHandleInformation(write.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    if (const DWORD error =
            StartProcess(commandLine, ShowCommand(show), 0, &process, write.get())) {
      return Refused(error);
    }
  }
  const UniqueHandle thread(process.hThread);
  auto watched = std::make_unique<Watch>(
      Watch{UniqueHandle(process.hProcess), std::move(read), std::move(ended), watch});
  // The command runs either way; without a thread only its end goes untold.
  const UniqueHandle watcher(CreateThread(nullptr, 64 * 1024, &WatchProcess, watched.get(),
                                          STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
  if (watcher.valid()) watched.release();
  return {LaunchStatus::kStarted, {}};
}

RunResult RunToEnd(const std::wstring& commandLine) {
  PROCESS_INFORMATION process{};
  // No console flashes up for a console program.
  if (const DWORD error = StartProcess(commandLine, SW_HIDE, CREATE_NO_WINDOW, &process)) {
    return {IsMissing(error) ? RunStatus::kNotFound : RunStatus::kFailed, 0, SystemMessage(error)};
  }
  const UniqueHandle thread(process.hThread);
  const UniqueHandle child(process.hProcess);
  DWORD code = 0;
  const bool waited = WaitForSingleObject(child.get(), INFINITE) == WAIT_OBJECT_0 &&
                      GetExitCodeProcess(child.get(), &code);
  const DWORD error = GetLastError();
  if (!waited) return {RunStatus::kFailed, 0, SystemMessage(error)};
  return {RunStatus::kStarted, static_cast<int>(code), {}};
}

}  // namespace tessaro::platform
