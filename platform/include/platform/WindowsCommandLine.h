#pragma once

#include <string>
#include <string_view>
#include <vector>

// The Windows rules for turning one command line into arguments and back.
// Portable: the POSIX launcher splits by them, the command builder quotes by
// them, and both must agree with what a Windows program's runtime sees.
namespace tessaro::platform {

// Quotes one argument only when it needs it (blank, tab, double quote or
// empty): surrounding quotes, backslashes before a quote doubled, embedded
// quotes escaped.
std::wstring QuoteWindowsArgument(std::wstring_view argument);

// Splits as the Microsoft C runtime does (backslash/quote rules included).
std::vector<std::wstring> SplitWindowsCommandLine(std::wstring_view commandLine);

}  // namespace tessaro::platform
