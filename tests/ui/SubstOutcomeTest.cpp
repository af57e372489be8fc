#include "ui/SubstOutcome.h"

#include <gtest/gtest.h>

#include "support/Fakes.h"
#include "text/TextCodec.h"
#include "ui/MappingsMenu.h"

namespace tessaro::ui {
namespace {

TEST(SubstOutcomeMessageTest, SaysNothingOnSuccessAndSubstsWordsOrCodeOtherwise) {
  const struct {
    SubstAction action;
    std::wstring drive, folder;
    platform::CommandEnd end;
    std::optional<std::wstring> message;
  } cases[] = {
      {SubstAction::kMap, L"X:", L"C:\\Daten", {0, L"whatever"}, std::nullopt},
      {SubstAction::kDelete, L"X:", L"", {0, L""}, std::nullopt},
      {SubstAction::kMap,
       L" X: ",
       L" C:\\Eigene Dateien ",
       {1, L"Drive already SUBSTed\r\n"},
       L"Laufwerk X: konnte nicht mit \"C:\\Eigene Dateien\" verbunden werden.\n\n"
       L"subst meldet: Drive already SUBSTed"},
      {SubstAction::kDelete,
       L"Q:",
       L"",
       {1, L" \r\n\t"},
       L"Laufwerk Q: konnte nicht getrennt werden.\n\nsubst endete mit Code 1."},
      {SubstAction::kDelete,
       L"Q:",
       L"",
       {-1073741819, L""},
       L"Laufwerk Q: konnte nicht getrennt werden.\n\nsubst endete mit Code -1073741819."},
      {SubstAction::kMap,
       L"X:",
       L"/a",
       {2, L"Zeile 1\nZeile\t2\x1b[31m\x7f"},
       L"Laufwerk X: konnte nicht mit \"/a\" verbunden werden.\n\n"
       L"subst meldet: Zeile 1\\nZeile\\t2\\x1b[31m\\x7f"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SubstOutcomeMessage(c.action, c.drive, c.folder, c.end), c.message)
        << text::EncodeUtf8(c.end.output);
  }
}

TEST(SubstOutcomeMessageTest, LongOutputIsCutWithoutSplittingACharacter) {
  EXPECT_EQ(ShownOutput(std::wstring(5000, L'x')), std::wstring(kMaxShownOutput, L'x') + L"...");
  std::wstring emoji(kMaxShownOutput - 1, L'x');
  for (int i = 0; i < 10; ++i) emoji += L"\U0001F600";
  // Where wchar_t is 16 bits wide the emoji is a pair, kept whole or dropped.
  const std::wstring kept = sizeof(wchar_t) == 2 ? L"" : L"\U0001F600";
  EXPECT_EQ(ShownOutput(emoji), std::wstring(kMaxShownOutput - 1, L'x') + kept + L"...");
}

TEST(MappingItemsTest, ListsEachMappingInOrder_MarksMissingFolders_KeepsAmpersandsLiteral) {
  testing::FakeDriveTable drives;
  EXPECT_EQ(ReadMappingItems(drives).size(), 1u);
  const MappingItem none = ReadMappingItems(drives).front();
  EXPECT_EQ(none.caption, L"(keine)");
  EXPECT_FALSE(none.enabled);

  const std::wstring longFolder = L"C:\\" + std::wstring(100, L'a') + L"\\Ende";
  drives.mappings = {{L'P', L"C:\\Tom & Jerry"}, {L'Q', L"C:\\Weg"}, {L'R', longFolder}};
  drives.existing = {L"C:\\Tom & Jerry", longFolder};
  const auto items = ReadMappingItems(drives);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].caption, L"P:  C:\\Tom && Jerry");
  EXPECT_EQ(items[0].drive, L"P:");
  EXPECT_EQ(items[0].folder, L"C:\\Tom & Jerry");
  EXPECT_EQ(items[1].caption, L"Q:  C:\\Weg (Ordner fehlt)");
  const std::wstring shown = items[2].caption.substr(4);
  EXPECT_EQ(shown.size(), kMaxShownFolder);
  EXPECT_TRUE(shown.starts_with(L"C:\\aaa")) << text::EncodeUtf8(shown);
  EXPECT_TRUE(shown.ends_with(L"aa\\Ende")) << text::EncodeUtf8(shown);
  EXPECT_NE(shown.find(L"..."), std::wstring::npos);
  EXPECT_EQ(items[2].folder, longFolder);
  EXPECT_EQ(ShortenMiddle(std::wstring(80, L'b')), std::wstring(80, L'b'));
}

}  // namespace
}  // namespace tessaro::ui
