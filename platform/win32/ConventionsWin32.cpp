#include "platform/Conventions.h"

namespace tessaro::platform {

wchar_t PathSeparator() { return L'\\'; }

LineEnd NativeLineEnd() { return LineEnd::kCrLf; }

}  // namespace tessaro::platform
