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

TEST(TextCodec, FileNamesKeepTheirBytes) {
  // Each case: bytes, the decoded name, what a person sees.
  const struct {
    std::string_view bytes;
    std::wstring_view name;
    std::wstring_view shown;
  } cases[] = {
      {"Daten", L"Daten", L"Daten"},
      {"\xC3\xBC\xFF", L"\u00FC\xDCFF", L"\u00FC\uFFFD"},
      {"a\xED\xA0\x80z", L"a\xDCED\xDCA0\xDC80z", L"a\uFFFD\uFFFD\uFFFDz"},
      {"\xE2\x82", L"\xDCE2\xDC82", L"\uFFFD\uFFFD"},
  };
  for (const auto& c : cases) {
    const std::wstring name = DecodeFileName(c.bytes);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(EncodeFileName(name), c.bytes);
    EXPECT_EQ(DisplayFileName(name), c.shown);
  }
  for (int b = 0; b < 256; ++b) {
    const std::string bytes{'x', static_cast<char>(b), 'y'};
    EXPECT_EQ(EncodeFileName(DecodeFileName(bytes)), bytes) << b;
  }
}

TEST(TextCodec, Windows1252MapsTheHighHalfLikeWindows) {
  EXPECT_EQ(DecodeWindows1252("\x80\x81\x9F\xFC"), L"\u20AC\u0081\u0178\u00FC");
}

TEST(TextCodec, EscapeBytes_KeepsWhatEachUseShows) {
  const std::string_view bytes = "a\\b\n\t\r\x01\x7f\xc3\xbc";
  EXPECT_EQ(EscapeBytes(bytes, Verbatim::kAllButControls), "a\\b\\n\\t\\r\\x01\\x7f\xc3\xbc");
  EXPECT_EQ(EscapeBytes(bytes, Verbatim::kPrintableAscii), "a\\\\b\\n\\t\\r\\x01\\x7f\\xc3\\xbc");
}

}  // namespace
}  // namespace tessaro::text
