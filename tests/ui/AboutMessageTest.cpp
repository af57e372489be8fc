#include <gtest/gtest.h>

#include "ui/AboutMessage.h"

namespace tessaro::ui {
namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines(1);
  for (const wchar_t c : text) {
    if (c == L'\r') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

TEST(AboutMessage, NoticeVersionAndCreditsOnCrSeparatedLines) {
  const std::wstring text = ComposeAboutText(2026, {1, 2, 2});
  EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], L"Copyright \u00A9 2026 Die Tessaro-Entwickler");
  EXPECT_EQ(lines[1], L"Version 1.2.2");
  EXPECT_EQ(lines[2], L"");
  EXPECT_TRUE(lines[3].ends_with(L" and"));  // carries on into the icon credit
  EXPECT_NE(lines[4].find(L"Tessaro"), std::wstring::npos);
}

TEST(AboutMessage, FollowsTheClockAndTheVersionWithoutLeadingZeros) {
  const auto lines = Lines(ComposeAboutText(2027, {10, 0, 7}));
  EXPECT_EQ(lines[0], L"Copyright \u00A9 2027 Die Tessaro-Entwickler");
  EXPECT_EQ(lines[1], L"Version 10.0.7");
}

}  // namespace
}  // namespace tessaro::ui
