// The profile document in memory: what reads back, what is kept, what is
// refused, and that hostile bytes cost little and break nothing.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <string_view>

#include "core/ProfileFile.h"
#include "support/TurkishLocale.h"

namespace tessaro::profile {
namespace {

using namespace std::string_literals;

ProfileText Doc(std::string_view bytes) { return ProfileText::Parse(bytes, LineEnd::kLf); }

// ---------------------------------------------------------------- round trips

class ProfileRoundTrip : public ::testing::TestWithParam<std::wstring> {};

TEST_P(ProfileRoundTrip, WrittenValue_ReadsBackExactly_AfterSerializeAndParse) {
  ProfileText doc = Doc("[Startup]\nother=1\n");
  ASSERT_TRUE(doc.Write(L"Startup", L"target path", GetParam()));
  EXPECT_EQ(doc.Read(L"Startup", L"target path"), GetParam());
  const ProfileText again = Doc(doc.Serialize());
  EXPECT_EQ(again.Read(L"Startup", L"target path"), GetParam());
  EXPECT_EQ(again.Read(L"Startup", L"other"), L"1");
}

INSTANTIATE_TEST_SUITE_P(OddValues, ProfileRoundTrip,
                         ::testing::Values(L""s, L" "s, L"\t"s, L"  lead"s, L"trail  "s,
                                           L"\tboth\t"s, L"\""s, L"'"s, L"\"\""s, L"''"s,
                                           L"\"quoted\""s, L"'single'"s, L"\"mixed'"s,
                                           L"\" spaced \""s, L"a=b=c"s, L";not a comment"s,
                                           L"[not a header]"s, L"C:\\Eigene Dateien\\"s,
                                           L"\u00fcber \u20ac \u0416"s, L"\u00ff\u0178"s,
                                           L"tab\tinside"s, std::wstring(L"\U0001F600 astral"),
                                           std::wstring(100000, L'x'),
                                           L"D:\\" + std::wstring(300, L'\u00e4') + L"\\end"));

// ------------------------------------------------------ what is kept on write

TEST(ProfileTextKeeps, UnknownKeysCommentsAndOddLines_SurviveAWriteByteForByte) {
  const std::string before =
      "; written by hand\n[Startup]\ntarget drive=C:\nmy own key = kept \nnoeq line\n# "
      "hash\n\n[Extra]\nx=y\n";
  ProfileText doc = Doc(before);
  ASSERT_TRUE(doc.Write(L"Startup", L"target drive", L"D:"));
  EXPECT_EQ(doc.Serialize(),
            "; written by hand\n[Startup]\ntarget drive=D:\nmy own key = kept \nnoeq line\n# "
            "hash\n\n[Extra]\nx=y\n");
}

TEST(ProfileTextKeeps, NothingWritten_SerializeGivesTheInputBack) {
  const std::string hostile = "\xFF\xFE[\x00A"s + "\x00\r"s;
  for (const std::string& bytes :
       {"[A]\r\nk=v"s, "\xEF\xBB\xBF[A]\n"s, "[A]\nk=\xFC\n"s, hostile, ""s}) {
    ProfileText doc = Doc(bytes);
    (void)doc.Read(L"A", L"k");
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Serialize(), bytes);
  }
}

TEST(ProfileTextKeeps, SameValueWritten_NotModified) {
  ProfileText doc = Doc("[A]\nk = \"v \"\n");
  ASSERT_TRUE(doc.Write(L"a", L"K", L"v "));
  EXPECT_FALSE(doc.Modified());
}

TEST(ProfileTextKeeps, MixedLineEnds_EachLineKeepsItsOwnAndNewLinesTakeTheFirst) {
  ProfileText doc = Doc("[A]\r\nk=v\nj=w\r");
  ASSERT_TRUE(doc.Write(L"A", L"n", L"x"));
  EXPECT_EQ(doc.Serialize(), "[A]\r\nk=v\nj=w\rn=x\r\n");
}

// ----------------------------------------------------------------- encodings

TEST(ProfileTextEncoding, Windows1252File_ReadsDecoded_AndIsRewrittenAsUtf8) {
  ProfileText doc = Doc("[Data]\nlast path 1=C:\\Gr\xFC\xDF\x65\n; \x80 \x9F\n");
  EXPECT_EQ(doc.Read(L"Data", L"last path 1"), L"C:\\Gr\u00fc\u00dfe");
  ASSERT_TRUE(doc.Write(L"Data", L"next path", L"1"));
  EXPECT_EQ(
      doc.Serialize(),
      "[Data]\nlast path 1=C:\\Gr\xC3\xBC\xC3\x9F\x65\nnext path=1\n; \xE2\x82\xAC \xC5\xB8\n");
}

TEST(ProfileTextEncoding, Utf16LeFile_StaysUtf16Le_WithAstralAndLoneSurrogate) {
  // [A] CRLF k=<U+1F600><lone D800> CRLF
  const std::string bytes = "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\x3D\xD8\x00\xDE\x00\xD8\r\0\n\0"s;
  ProfileText doc = Doc(bytes);
  ASSERT_TRUE(doc.Write(L"A", L"n", L"\u00fc"));
  EXPECT_EQ(doc.Serialize(), bytes + "n\0=\0\xFC\0\r\0\n\0"s);
  const auto value = Doc(doc.Serialize()).Read(L"A", L"n");
  EXPECT_EQ(value, L"\u00fc");
}

TEST(ProfileTextEncoding, Utf16LeOddLength_DoesNotCrash_AndStaysReadable) {
  ProfileText doc = Doc("\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0\n\0x"s);
  EXPECT_EQ(doc.Read(L"A", L"k"), L"v");
  ASSERT_TRUE(doc.Write(L"A", L"j", L"w"));
  EXPECT_EQ(Doc(doc.Serialize()).Read(L"A", L"j"), L"w");
}

TEST(ProfileTextEncoding, Utf8BomWithInvalidBody_BomKept_BodyRewrittenAsUtf8) {
  ProfileText doc = Doc("\xEF\xBB\xBF[A]\nk=\xE4\n");
  EXPECT_EQ(doc.Read(L"A", L"k"), L"\u00e4");
  ASSERT_TRUE(doc.Write(L"A", L"j", L"w"));
  EXPECT_EQ(doc.Serialize(), "\xEF\xBB\xBF[A]\nk=\xC3\xA4\nj=w\n");
}

TEST(ProfileTextEncoding, NonAsciiNames_FoldCaseBeyondAscii) {
  const ProfileText doc =
      Doc("[\xD0\x9F\xD1\x83\xD1\x82\xD0\xB8]\n\xC3\xA4rger=1\n");  // [Пути] ärger=1
  EXPECT_EQ(doc.Read(L"\u043f\u0423\u0422\u0418", L"\u00c4RGER"), L"1");
}

// Section and key names fold the same whatever the locale (a Turkish
// towupper turns 'i' into a dotted capital I).
TEST(ProfileTextNames, NamesFoldTheSameUnderATurkishLocale) {
  const tessaro::testing::TurkishLocale turkish;
  if (!turkish.Active()) GTEST_SKIP() << "no Turkish locale on this system";
  ProfileText doc = Doc("[STARTUP]\nTARGET DRIVE=I:\n");
  EXPECT_EQ(doc.Read(L"Startup", L"target drive"), L"I:");
  ASSERT_TRUE(doc.Write(L"startup", L"Target Drive", L"K:"));
  EXPECT_EQ(doc.Serialize(), "[STARTUP]\nTARGET DRIVE=K:\n");
  EXPECT_EQ(Doc("[\xC4\xB0]\nk=1\n").Read(L"i", L"k"), std::nullopt);  // [İ] is no [i]
}

TEST(ProfileTextNames, LineWithoutNameBeforeEquals_IsNoKey_NewKeyGoesAfterTheLastRealOne) {
  ProfileText doc = Doc("[A]\nk=v\n = orphan\n");
  EXPECT_EQ(doc.Read(L"A", L""), std::nullopt);
  ASSERT_TRUE(doc.Write(L"A", L"j", L"w"));
  EXPECT_EQ(doc.Serialize(), "[A]\nk=v\nj=w\n = orphan\n");
}

// ----------------------------------------------------------------- refusals

class ProfileRefusal : public ::testing::Test {
 protected:
  void ExpectRefused(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    ProfileText doc = Doc(kBefore);
    EXPECT_FALSE(doc.Write(section, key, value));
    EXPECT_FALSE(doc.Modified());
    EXPECT_EQ(doc.Serialize(), kBefore);
  }
  static constexpr std::string_view kBefore = "[A]\nk=v\n";
};

TEST_F(ProfileRefusal, ValueWithLineBreakOrNul_IsRefused) {
  ExpectRefused(L"A", L"k", L"a\rb");
  ExpectRefused(L"A", L"k", L"a\nb");
  ExpectRefused(L"A", L"k", L"x\n[B]");
  ExpectRefused(L"A", L"k", std::wstring(L"a\0b", 3));
}

TEST_F(ProfileRefusal, NamesThatWouldNotReadBack_AreRefused) {
  ExpectRefused(L"A]", L"k", L"v");
  ExpectRefused(L"A\n", L"k", L"v");
  ExpectRefused(L"A", L"", L"v");
  ExpectRefused(L"A", L"  ", L"v");
  ExpectRefused(L"A", L"a=b", L"v");
  ExpectRefused(L"A", L";k", L"v");
  ExpectRefused(L"A", L"[k", L"v");
  ExpectRefused(L"A", L"k\r", L"v");
}

// ------------------------------------------------------------ hostile bytes

class ProfileHostile : public ::testing::Test {
 protected:
  // Parse, read, write, and the result must read back: the program starts
  // normally on such a file and its next save yields a clean one.
  static void Survive(const std::string& bytes) {
    const auto start = std::chrono::steady_clock::now();
    ProfileText doc = Doc(bytes);
    (void)doc.Read(L"Startup", L"target path");
    ASSERT_TRUE(doc.Write(L"Startup", L"target path", L"C:\\ok"));
    ASSERT_TRUE(doc.Write(L"Data", L"next path", L"3"));
    const ProfileText again = Doc(doc.Serialize());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(again.Read(L"Startup", L"target path"), L"C:\\ok");
    EXPECT_EQ(again.Read(L"Data", L"next path"), L"3");
    // Linear work; a generous bound so a slow sanitizer build still passes.
    EXPECT_LT(elapsed, std::chrono::seconds(5));
  }
};

TEST_F(ProfileHostile, OneMegabyteOfRandomBytes) {
  std::mt19937 random(1234);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFFU);
  Survive(bytes);
  Survive("\xFF\xFE" + bytes);
}

TEST_F(ProfileHostile, NulsEverywhere) {
  Survive(std::string(4096, '\0'));
  Survive("[Startup]\ntarget path=a\0b\n\0[Data]\nnext path=\0\n"s);
}

TEST_F(ProfileHostile, InvalidUtf8AndLoneSurrogateBytes) {
  Survive("[Startup]\ntarget path=\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\n");
}

TEST_F(ProfileHostile, ManyLinesAndOneHugeLine) {
  Survive(std::string(1 << 20, '\n'));
  Survive(std::string(1 << 20, '\r'));
  Survive("[Startup]\ntarget path=" + std::string(1 << 20, 'p') + "\n");
  Survive(std::string(1 << 20, '['));
  std::string headers;
  for (int i = 0; i < 50000; ++i) headers += "[S" + std::to_string(i) + "]\nk=v\n";
  Survive(headers);
}

TEST_F(ProfileHostile, HugeValue_ReadWhole) {
  const std::string value(100000, 'v');
  const ProfileText doc = Doc("[Startup]\ntarget path=" + value + "\n");
  EXPECT_EQ(doc.Read(L"Startup", L"target path")->size(), value.size());
}

}  // namespace
}  // namespace tessaro::profile
