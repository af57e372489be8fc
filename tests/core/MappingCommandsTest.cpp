#include <gtest/gtest.h>

#include "core/MappingCommands.h"
#include "platform/WindowsCommandLine.h"

namespace tessaro {
namespace {

using platform::SplitWindowsCommandLine;

TEST(MapCommandLine, PlainTextsGoInUnquotedWithTwoBlanks) {
  EXPECT_EQ(BuildMapCommandLine(L"X:", L"C:\\Daten"), L"subst X:  C:\\Daten");
  EXPECT_EQ(BuildMapCommandLine(L"", L"C:\\Daten"), L"subst   C:\\Daten");
  EXPECT_EQ(BuildMapCommandLine(L"X:", L""), L"subst X:  ");
  EXPECT_EQ(BuildMapCommandLine(L"x", L"C:\\\u00DCbersicht"), L"subst x  C:\\\u00DCbersicht");
}

TEST(MapCommandLine, FolderWithBlanksIsOneQuotedArgument) {
  EXPECT_EQ(BuildMapCommandLine(L"X:", L"C:\\Program Files"), L"subst X:  \"C:\\Program Files\"");
  // A trailing backslash must not escape the closing quote.
  EXPECT_EQ(BuildMapCommandLine(L"X:", L"C:\\Eigene Dateien\\"),
            L"subst X:  \"C:\\Eigene Dateien\\\\\"");
  EXPECT_EQ(BuildMapCommandLine(L"X:", L"C:\\a\tb"), L"subst X:  \"C:\\a\tb\"");
}

TEST(MapCommandLine, BlanksAroundTheFolderAreDropped) {
  EXPECT_EQ(BuildMapCommandLine(L"X:", L"  C:\\Daten  "), L"subst X:  C:\\Daten");
  EXPECT_EQ(BuildMapCommandLine(L"X:", L" C:\\Eigene Dateien "),
            L"subst X:  \"C:\\Eigene Dateien\"");
  EXPECT_EQ(BuildMapCommandLine(L"X:", L"   "), L"subst X:  ");
}

TEST(MapCommandLine, BlanksAroundTheDriveAreDroppedInBothCommands) {
  EXPECT_EQ(BuildMapCommandLine(L" X: ", L"C:\\Daten"), L"subst X:  C:\\Daten");
  EXPECT_EQ(BuildDeleteCommandLine(L"X: "), L"subst X: /d");
  // Trimmed first, then quoted when a blank remains inside.
  EXPECT_EQ(BuildDeleteCommandLine(L" X: Y "), L"subst \"X: Y\" /d");
}

TEST(MapCommandLine, TypedTextsNeverAddArguments) {
  struct Case {
    std::wstring drive, folder;
  };
  const Case cases[] = {
      {L"X:", L"C:\\a\" /d \"b"},
      {L"X: /d", L"C:\\Daten"},
      {L"X:", L"C:\\x\\\" & calc"},
      {L"\"", L"\\\\server\\share with blank\\"},
  };
  for (const auto& c : cases) {
    const auto args = SplitWindowsCommandLine(BuildMapCommandLine(c.drive, c.folder));
    ASSERT_EQ(args.size(), 3u) << BuildMapCommandLine(c.drive, c.folder);
    EXPECT_EQ(args[0], L"subst");
    EXPECT_EQ(args[1], c.drive);
    EXPECT_EQ(args[2], c.folder);
  }
}

TEST(DeleteCommandLine, IsTheDriveAndSlashD) {
  EXPECT_EQ(BuildDeleteCommandLine(L"X:"), L"subst X: /d");
  EXPECT_EQ(BuildDeleteCommandLine(L""), L"subst  /d");
  const auto args = SplitWindowsCommandLine(BuildDeleteCommandLine(L"X: C:\\"));
  ASSERT_EQ(args.size(), 3u);
  EXPECT_EQ(args[1], L"X: C:\\");
  EXPECT_EQ(args[2], L"/d");
}

}  // namespace
}  // namespace tessaro
