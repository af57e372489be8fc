#include "platform/Conventions.h"

namespace tessaro::platform {

wchar_t PathSeparator() { return L'/'; }

LineEnd NativeLineEnd() { return LineEnd::kLf; }

bool SamePath(std::wstring_view a, std::wstring_view b) { return a == b; }

}  // namespace tessaro::platform
