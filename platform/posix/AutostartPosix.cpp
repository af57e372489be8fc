#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "AutostartEntry.h"
#include "SelfPath.h"
#include "platform/Autostart.h"
#include "platform/FileIo.h"
#include "platform/KnownFolders.h"
#include "text/TextCodec.h"

namespace tessaro::platform {

namespace {

constexpr const char* kEntryName = "/autostart/tessaro-restore.desktop";

// The desktop-entry rules: an argument holding a reserved character goes in
// double quotes with " ` $ \ escaped; then the value as a whole escapes its
// backslashes once more, and a field code's % is doubled.
std::string ExecArgument(std::string_view argument) {
  const bool quote = argument.find_first_of(" \t\"'\\><~|&;$*?#()`") != std::string_view::npos;
  std::string quoted;
  if (quote) quoted += '"';
  for (const char c : argument) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
    quoted += c;
  }
  if (quote) quoted += '"';

  std::string value;
  for (const char c : quoted) {
    if (c == '\\') value += '\\';
    if (c == '%') value += '%';
    value += c;
  }
  return value;
}

class PosixAutostart final : public IAutostart {
 public:
  AutostartResult SetRestoreAtLogin(bool on) override {
    // The autostart folder sits in the same configuration folder as the
    // settings file, named by its bytes.
    const std::wstring config =
        MakeSystemKnownFolders(AppDataCreation::kLookUpOnly)->Path(KnownFolder::kAppData);
    if (config.empty()) return AutostartResult::kFailed;
    const std::string entry = text::EncodeFileName(config) + kEntryName;
    if (!on) {
      return ::unlink(entry.c_str()) == 0 || errno == ENOENT ? AutostartResult::kDone
                                                             : AutostartResult::kFailed;
    }

    const std::string self = SelfPath();
    if (self.empty()) return AutostartResult::kFailed;
    const auto content = RestoreAutostartEntry(self);
    if (!content) return AutostartResult::kProgramPathRefused;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(entry).parent_path(), error);
    if (error) return AutostartResult::kFailed;
    return ReplaceFileAtomically(text::DecodeFileName(entry), *content) ? AutostartResult::kDone
                                                                        : AutostartResult::kFailed;
  }
};

}  // namespace

std::optional<std::string> RestoreAutostartEntry(const std::string& program) {
  const bool runnable =
      text::IsValidUtf8(program) && std::none_of(program.begin(), program.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || c == '%' || c == '\\';
      });
  if (!runnable) return std::nullopt;
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tessaro\n"
         "Comment=Stellt das gemerkte Laufwerk bei der Anmeldung wieder her\n"
         "Exec=" +
         ExecArgument(program) +
         " --restore\n"
         "Icon=tessaro\n"
         "Terminal=false\n"
         "NoDisplay=true\n";
}

std::unique_ptr<IAutostart> MakeSystemAutostart() { return std::make_unique<PosixAutostart>(); }

}  // namespace tessaro::platform
