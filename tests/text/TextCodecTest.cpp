#include <gtest/gtest.h>

#include "text/TextCodec.h"

namespace tessaro::text {
namespace {

TEST(TextCodec, Utf8RoundTripsEveryPlane) {
  const std::wstring text = L"C:\\Daten\\\u00FCber \u0416 \u20AC \U0001F4C1";
  const std::string bytes = EncodeUtf8(text);
  EXPECT_EQ(bytes,
            "C:\\Daten\\\xC3\xBC"
            "ber \xD0\x96 \xE2\x82\xAC \xF0\x9F\x93\x81");
  EXPECT_EQ(DecodeUtf8(bytes), text);
  EXPECT_EQ(CodePointCount(text), 19u);
}

TEST(TextCodec, RejectsWhatIsNotUtf8) {
  for (const std::string_view bad :
       {"\xFC", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_FALSE(DecodeUtf8(bad).has_value());
  }
  EXPECT_EQ(DecodeUtf8Lossy("a\xFF"
                            "b"),
            L"a\uFFFDb");
}

// File names keep their bytes through the wide text and back; valid UTF-8
// reads as usual.
TEST(TextCodec, FileNamesRoundTripAnyBytes) {
  for (const std::string_view name :
       {"/home/j\xC3\xBCrgen", "/a\xFF", "/\xC0\xAF\xED\xA0\x80/\xE2\x82", "\x80\xC3"}) {
    EXPECT_EQ(EncodeFileName(DecodeFileName(name)), name);
  }
  EXPECT_EQ(DecodeFileName("j\xC3\xBC\xFF"), std::wstring(L"j\u00FC") + wchar_t(0xDCFF));
  EXPECT_EQ(EncodeFileName(L"\u00FC"), "\xC3\xBC");
}

TEST(TextCodec, Windows1252MapsTheHighHalfLikeWindows) {
  EXPECT_EQ(DecodeWindows1252("\x80\x81\x9F\xFC"), L"\u20AC\u0081\u0178\u00FC");
}

}  // namespace
}  // namespace tessaro::text
