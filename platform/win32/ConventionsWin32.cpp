#include "platform/Conventions.h"

#include <windows.h>

namespace tessaro::platform {

wchar_t PathSeparator() { return L'\\'; }

LineEnd NativeLineEnd() { return LineEnd::kCrLf; }

bool SamePath(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace tessaro::platform
