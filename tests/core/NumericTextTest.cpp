#include <gtest/gtest.h>

#include "core/NumericText.h"

namespace tessaro {
namespace {

TEST(NumericValue, ReadsTheLeadingNumberLikeVal) {
  EXPECT_EQ(NumericValue(L"3"), 3.0);
  EXPECT_EQ(NumericValue(L"  4"), 4.0);
  EXPECT_EQ(NumericValue(L"-1"), -1.0);
  EXPECT_EQ(NumericValue(L"+7x"), 7.0);
  EXPECT_EQ(NumericValue(L"2.5"), 2.5);
  EXPECT_EQ(NumericValue(L"0.4"), 0.4);
  EXPECT_EQ(NumericValue(L"1.2.3"), 1.2);
  EXPECT_EQ(NumericValue(L""), 0.0);
  EXPECT_EQ(NumericValue(L"ja"), 0.0);
  EXPECT_EQ(NumericValue(L"- 1"), 0.0);
}

TEST(ToInt16RoundHalfEven, RoundsHalvesToEven) {
  EXPECT_EQ(ToInt16RoundHalfEven(2.5), 2);
  EXPECT_EQ(ToInt16RoundHalfEven(3.5), 4);
  EXPECT_EQ(ToInt16RoundHalfEven(-2.5), -2);
  EXPECT_EQ(ToInt16RoundHalfEven(2.6), 3);
  EXPECT_EQ(ToInt16RoundHalfEven(32767.0), 32767);
  EXPECT_EQ(ToInt16RoundHalfEven(-32768.0), -32768);
}

TEST(ToInt16RoundHalfEven, OutOfRangeReadsAsZeroInsteadOfOverflowing) {
  EXPECT_EQ(ToInt16RoundHalfEven(32768.0), 0);
  EXPECT_EQ(ToInt16RoundHalfEven(-32769.0), 0);
  EXPECT_EQ(ToInt16RoundHalfEven(NumericValue(L"99999999999")), 0);
  EXPECT_EQ(ToInt16RoundHalfEven(NumericValue(std::wstring(400, L'9'))), 0);
}

}  // namespace
}  // namespace tessaro
