#include <gtest/gtest.h>

#include "core/RecentPaths.h"

namespace tessaro {
namespace {

class RecentPathsTest : public ::testing::Test {
 protected:
  void FillSlots(int filled) {
    for (int i = 0; i < filled; ++i) {
      app.arrLastPath[static_cast<std::size_t>(i)] = L"C:\\P" + std::to_wstring(i);
    }
  }

  // What the folder box's list gains, as the window appends it.
  void Map(const std::wstring& path) {
    app.strTargetPath = path;
    if (const auto listed = RecordMappedPath(app)) appended.push_back(*listed);
  }

  AppState app;
  std::vector<std::wstring> appended;
};

TEST_F(RecentPathsTest, SaveLastPathCountsEmptySlots) {
  // empty slots 0..6 -> 1 2 3 4 5 6 1
  const std::int16_t expected[] = {1, 2, 3, 4, 5, 6, 1};
  for (int empty = 0; empty <= 6; ++empty) {
    AppState state;
    for (int i = 0; i < 6 - empty; ++i) state.arrLastPath[static_cast<std::size_t>(i)] = L"x";
    EXPECT_EQ(fctSaveLastPath(state, L"anything"), expected[empty]) << empty << " empty";
  }
  // Which slots are empty does not matter, nor does the text passed.
  AppState scattered;
  scattered.arrLastPath[5] = L"x";
  EXPECT_EQ(fctSaveLastPath(scattered, L""), 6);
}

TEST_F(RecentPathsTest, FillRecentListListsThreeToSixSlots) {
  // filled slots -> (intNextPath, entries listed)
  const struct {
    int filled;
    std::int16_t next;
    std::size_t listed;
  } rows[] = {{0, 1, 3}, {1, 6, 6}, {2, 5, 6}, {3, 4, 6}, {4, 3, 5}, {5, 2, 4}, {6, 1, 3}};
  for (const auto& row : rows) {
    AppState state;
    for (int i = 0; i < row.filled; ++i) state.arrLastPath[static_cast<std::size_t>(i)] = L"p";
    const auto items = FillRecentList(state);
    EXPECT_EQ(state.intNextPath, row.next) << row.filled << " filled";
    ASSERT_EQ(items.size(), row.listed) << row.filled << " filled";
    for (std::size_t i = 0; i < row.listed; ++i) EXPECT_EQ(items[i], state.arrLastPath[i]);
  }
}

TEST_F(RecentPathsTest, FillRecentListAfterResetListsNothing) {
  app.blnResetRestart = kTrue;
  app.intNextPath = 0;
  EXPECT_TRUE(FillRecentList(app).empty());
  EXPECT_EQ(app.intNextPath, 0);

  // Ended without the shut-down sequence: the flag alone does not empty the list.
  AppState ended;
  ended.blnResetRestart = kTrue;
  ended.intNextPath = 4;
  EXPECT_EQ(FillRecentList(ended).size(), 3u);
  EXPECT_EQ(ended.intNextPath, 1);
}

TEST_F(RecentPathsTest, SevenMappingsFillSlotsThenWrapToSlotZero) {
  for (int i = 0; i < 7; ++i) Map(L"D:\\M" + std::to_wstring(i));
  EXPECT_EQ(app.arrLastPath[0], L"D:\\M6");
  for (std::size_t i = 1; i < 6; ++i) EXPECT_EQ(app.arrLastPath[i], L"D:\\M" + std::to_wstring(i));
  EXPECT_EQ(app.intNextPath, 1);
}

TEST_F(RecentPathsTest, PathInComparedSlotIsStoredButNotListedAgain) {
  FillSlots(1);  // fctSaveLastPath gives 6: slots 0..5 are compared
  Map(L"C:\\P0");
  EXPECT_TRUE(appended.empty());
  EXPECT_EQ(app.arrLastPath[0], L"C:\\P0");
  EXPECT_EQ(app.intNextPath, 1);
  Map(L"C:\\P0");  // stored again, in slot 1, still not listed
  EXPECT_TRUE(appended.empty());
  EXPECT_EQ(app.arrLastPath[1], L"C:\\P0");
  EXPECT_EQ(app.intNextPath, 2);
}

TEST_F(RecentPathsTest, PathBeyondComparedRangeCountsAsNew) {
  FillSlots(6);  // fctSaveLastPath gives 1: only slots 0..2 are compared
  app.intNextPath = 1;
  Map(L"C:\\P4");
  ASSERT_EQ(appended.size(), 1u);
  EXPECT_EQ(appended[0], L"C:\\P4");
  EXPECT_EQ(app.arrLastPath[1], L"C:\\P4");
}

TEST_F(RecentPathsTest, CaseMattersAndEmptyTextIsAPathToo) {
  FillSlots(6);
  app.intNextPath = 2;
  Map(L"c:\\p0");  // differs from slot 0 only in case: new
  ASSERT_EQ(appended.size(), 1u);
  Map(L"");  // compared, listed as an empty entry, stored: its slot is empty again
  ASSERT_EQ(appended.size(), 2u);
  EXPECT_EQ(appended[1], L"");
  EXPECT_EQ(app.arrLastPath[3], L"");
  EXPECT_EQ(app.intNextPath, 4);
}

TEST_F(RecentPathsTest, NextSlotOutsideRangeStartsAgainAtZero) {
  for (const std::int16_t bad : {std::int16_t{6}, std::int16_t{-3}, std::int16_t{32767}}) {
    app.intNextPath = bad;
    Map(L"E:\\");
    EXPECT_EQ(app.arrLastPath[0], L"E:\\");
    EXPECT_EQ(app.intNextPath, 1);
  }
}

}  // namespace
}  // namespace tessaro
