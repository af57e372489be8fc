#pragma once

#include <string>
#include <string_view>

namespace tessaro {

// "subst X:  C:\Daten". The drive and the folder lose the blanks at their very
// start and end; one that then holds a blank, tab or double quote goes in as
// one argument by the Windows quoting rules, any other text stands as it is.
std::wstring BuildMapCommandLine(std::wstring_view drive, std::wstring_view folder);

// "subst X: /d", the drive treated as above.
std::wstring BuildDeleteCommandLine(std::wstring_view drive);

}  // namespace tessaro
