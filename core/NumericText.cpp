#include "core/NumericText.h"

#include <cmath>

namespace tessaro {

double NumericValue(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;

  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }

  // Digits are gathered as a mantissa and a decimal exponent so that a long
  // run of digits cannot overflow anything but the double itself.
  double value = 0.0;
  int fractionDigits = 0;
  bool seenPoint = false;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c >= L'0' && c <= L'9') {
      value = value * 10.0 + (c - L'0');
      if (seenPoint) ++fractionDigits;
    } else if (c == L'.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (fractionDigits > 0) value /= std::pow(10.0, fractionDigits);
  return negative ? -value : value;
}

std::int16_t ToInt16RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  const double rounded = std::nearbyint(value);  // default mode: halves to even
  if (rounded < -32768.0 || rounded > 32767.0) return 0;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace tessaro
