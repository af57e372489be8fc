#include "platform/WindowsCommandLine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tessaro::platform {
namespace {

using Arguments = std::vector<std::wstring>;

TEST(QuoteWindowsArgument, QuotesAsTheRuntimeExpects) {
  const struct {
    std::wstring argument;
    std::wstring quoted;
  } kCases[] = {
      // Nothing that needs it: left exactly as typed, backslashes included.
      {LR"(C:\Daten)", LR"(C:\Daten)"},
      {LR"(C:\Daten\)", LR"(C:\Daten\)"},
      {L"a;b&&c$(x)|*", L"a;b&&c$(x)|*"},
      {L"Übersicht", L"Übersicht"},
      // Empty: an argument of its own, not nothing.
      {L"", LR"("")"},
      {LR"(C:\Program Files)", LR"("C:\Program Files")"},
      {L"a\tb", L"\"a\tb\""},
      {L" ", LR"(" ")"},
      // Backslashes before the closing quote are doubled, others are not.
      {LR"(C:\Eigene Dateien\)", LR"("C:\Eigene Dateien\\")"},
      {LR"(\\server\share name\\)", LR"("\\server\share name\\\\")"},
      // Embedded quotes, with and without backslashes before them.
      {LR"(a"b)", LR"("a\"b")"},
      {LR"(a\"b)", LR"("a\\\"b")"},
      {LR"(a\\"b)", LR"("a\\\\\"b")"},
      {LR"(")", LR"("\"")"},
      {LR"(a\b c)", LR"("a\b c")"},
  };
  for (const auto& [argument, quoted] : kCases) {
    EXPECT_EQ(QuoteWindowsArgument(argument), quoted) << argument;
  }
}

TEST(SplitWindowsCommandLine, SplitsAsTheRuntimeDoes) {
  const struct {
    std::wstring line;
    Arguments arguments;
  } kCases[] = {
      {LR"(subst X:  C:\Daten)", {L"subst", L"X:", LR"(C:\Daten)"}},
      {L"subst X: /d", {L"subst", L"X:", L"/d"}},
      {L"subst  /d", {L"subst", L"/d"}},
      {L"p\ta\t\tb  ", {L"p", L"a", L"b"}},
      // The table of the runtime's documentation.
      {LR"(p "abc" d e)", {L"p", L"abc", L"d", L"e"}},
      {LR"(p a\\\b d"e f"g h)", {L"p", LR"(a\\\b)", L"de fg", L"h"}},
      {LR"(p a\\\"b c d)", {L"p", LR"(a\"b)", L"c", L"d"}},
      {LR"(p a\\\\"b c" d e)", {L"p", LR"(a\\b c)", L"d", L"e"}},
      // "" inside quotes: a literal quote, and the quoting goes on.
      {LR"(p a"b"" c d)", {L"p", LR"(ab" c d)"}},
      {LR"(p "a""b")", {L"p", LR"(a"b)"}},
      // "" outside quotes opens and closes: an empty argument.
      {LR"(p "" "")", {L"p", L"", L""}},
      {LR"(p \")", {L"p", LR"(")"}},
      {LR"(p \\"a b")", {L"p", LR"(\a b)"}},
      {LR"(p "C:\Eigene Dateien\\")", {L"p", LR"(C:\Eigene Dateien\)"}},
      // An unclosed quote runs to the end of the line.
      {LR"(p "a b)", {L"p", L"a b"}},
      {LR"(p a"b)", {L"p", L"ab"}},
      {LR"(p a\)", {L"p", LR"(a\)"}},
      // The program name, quoted or not.
      {LR"("C:\Program Files\x.exe" a)", {LR"(C:\Program Files\x.exe)", L"a"}},
      // No backslash processing in the program name: the quote toggles.
      {LR"(a\"b c)", {LR"(a\b c)"}},
      {LR"(C:\x\\ a)", {LR"(C:\x\\)", L"a"}},
      {LR"(a""b c)", {L"ab", L"c"}},
      // A leading blank ends an empty program name.
      {L" a", {L"", L"a"}},
      {L"", {L""}},
      {L"\t", {L""}},
  };
  for (const auto& [line, arguments] : kCases) {
    EXPECT_EQ(SplitWindowsCommandLine(line), arguments) << line;
  }
}

TEST(SplitWindowsCommandLine, EndsAtNul) {
  const std::wstring line(L"p a\0b c", 7);
  EXPECT_EQ(SplitWindowsCommandLine(line), (Arguments{L"p", L"a"}));
}

// Quote and split must agree on everything a user can type into the folder box.
class QuoteSplitRoundTripTest : public ::testing::Test {
 protected:
  std::wstring RandomText() {
    // Backslashes and quotes twice as likely: they are where the rules bite.
    static constexpr wchar_t kAlphabet[] = {L'a',  L' ', L'\t', L'"', L'"', L'\\',
                                            L'\\', L'ä', L'€',  L'/', L';'};
    std::uniform_int_distribution<std::size_t> length(0, 12);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kAlphabet) - 1);
    std::wstring text(length(random_), L' ');
    for (wchar_t& c : text) c = kAlphabet[pick(random_)];
    return text;
  }

  std::mt19937 random_{20240601u};
};

TEST_F(QuoteSplitRoundTripTest, TwoArgumentsAfterTheProgram_ComeBackUnchanged) {
  for (int i = 0; i < 20000; ++i) {
    const std::wstring a = RandomText();
    const std::wstring b = RandomText();
    const std::wstring line = L"subst " + QuoteWindowsArgument(a) + L" " + QuoteWindowsArgument(b);
    ASSERT_EQ(SplitWindowsCommandLine(line), (Arguments{L"subst", a, b})) << "line: " << line;
  }
}

TEST_F(QuoteSplitRoundTripTest, ManyArguments_ComeBackUnchanged) {
  for (int i = 0; i < 2000; ++i) {
    Arguments expected{L"subst"};
    std::wstring line = L"subst";
    for (int n = 0; n < 6; ++n) {
      expected.push_back(RandomText());
      line += L' ' + QuoteWindowsArgument(expected.back());
    }
    ASSERT_EQ(SplitWindowsCommandLine(line), expected) << "line: " << line;
  }
}

}  // namespace
}  // namespace tessaro::platform
