#include "core/MappingCommands.h"

#include "platform/WindowsCommandLine.h"

namespace tessaro {
namespace {

constexpr std::wstring_view kProgram = L"subst";

bool NeedsQuoting(std::wstring_view text) {
  return text.find_first_of(L" \t\"") != std::wstring_view::npos;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const auto last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

// A typed text must never add an argument of its own: one that would split
// goes in quoted, as the single argument it was meant to be. Plain texts keep
// the traditional unquoted form byte for byte.
std::wstring AsOneArgument(std::wstring_view text) {
  return NeedsQuoting(text) ? platform::QuoteWindowsArgument(text) : std::wstring(text);
}

}  // namespace

std::wstring BuildMapCommandLine(std::wstring_view drive, std::wstring_view folder) {
  // Blanks around a text were always lost by the unquoted form; dropping them
  // keeps "C:\Daten " mapping C:\Daten and " X: " naming X: as they used to.
  std::wstring line(kProgram);
  line += L' ';
  line += AsOneArgument(TrimBlanks(drive));
  line += L"  ";
  line += AsOneArgument(TrimBlanks(folder));
  return line;
}

std::wstring BuildDeleteCommandLine(std::wstring_view drive) {
  std::wstring line(kProgram);
  line += L' ';
  line += AsOneArgument(TrimBlanks(drive));
  line += L" /d";
  return line;
}

}  // namespace tessaro
