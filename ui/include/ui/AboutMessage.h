#pragma once

#include <cstdint>
#include <string>

#include "ui/Services.h"

namespace tessaro::ui {

inline constexpr const wchar_t* kAboutTitle = L"Über...";

// The About text: notice line, version line, the two credit lines; lines are
// separated by a lone CR, as the message box expects.
std::wstring ComposeAboutText(std::int32_t year, const ProgramVersion& version);

}  // namespace tessaro::ui
