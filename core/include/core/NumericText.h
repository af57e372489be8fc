#pragma once

#include <cstdint>
#include <string_view>

namespace tessaro {

// The number that a text's leading characters spell: blanks skipped, an
// optional sign, digits and one decimal point; reading stops at the first
// character that cannot continue the number. No number gives 0.
double NumericValue(std::wstring_view text);

// Nearest 16-bit integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Values outside -32768..32767 (and NaN) give 0 instead of an overflow.
std::int16_t ToInt16RoundHalfEven(double value);

}  // namespace tessaro
