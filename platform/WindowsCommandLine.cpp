#include "platform/WindowsCommandLine.h"

#include <cstddef>

namespace tessaro::platform {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The runtime reads a C string: whatever follows a NUL is never seen.
std::wstring_view UpToNul(std::wstring_view text) {
  const std::size_t nul = text.find(L'\0');
  return nul == std::wstring_view::npos ? text : text.substr(0, nul);
}

}  // namespace

std::wstring QuoteWindowsArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  std::wstring quoted;
  quoted.reserve(argument.size() + 2);
  quoted += L'"';
  // Backslashes mean something only in front of a quote, so they are held
  // back until the next character shows whether they must be doubled.
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(2 * backslashes + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted += c;
    backslashes = 0;
  }
  // The closing quote follows: double the backslashes so it still closes.
  quoted.append(2 * backslashes, L'\\');
  quoted += L'"';
  return quoted;
}

std::vector<std::wstring> SplitWindowsCommandLine(std::wstring_view commandLine) {
  const std::wstring_view line = UpToNul(commandLine);
  std::vector<std::wstring> arguments;
  std::size_t i = 0;

  // The program name: quotes only toggle, backslashes are ordinary, and it
  // ends at the first blank or tab outside quotes. A line that starts with a
  // blank thus has an empty program name, as the runtime gives it.
  std::wstring program;
  bool inQuotes = false;
  for (; i < line.size(); ++i) {
    const wchar_t c = line[i];
    if (c == L'"') {
      inQuotes = !inQuotes;
    } else if (!inQuotes && IsBlank(c)) {
      break;
    } else {
      program += c;
    }
  }
  arguments.push_back(std::move(program));

  inQuotes = false;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;

    std::wstring argument;
    for (;;) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == L'\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == L'"') {
        if (backslashes % 2 == 1) {
          // 2n+1 backslashes and a quote: n backslashes and a literal quote.
          argument.append(backslashes / 2, L'\\');
          argument += L'"';
          ++i;
          continue;
        }
        argument.append(backslashes / 2, L'\\');
        if (inQuotes && i + 1 < line.size() && line[i + 1] == L'"') {
          // "" inside quotes is one literal quote and quoting goes on.
          argument += L'"';
          i += 2;
        } else {
          inQuotes = !inQuotes;
          ++i;
        }
        continue;
      }
      argument.append(backslashes, L'\\');
      if (i >= line.size() || (!inQuotes && IsBlank(line[i]))) break;
      argument += line[i];
      ++i;
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace tessaro::platform
