#include "ui/AccessKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Accessibility.h"
#include "ui/Commands.h"
#include "ui/Layout.h"

namespace tessaro::ui::keys {
namespace {

wchar_t KeyLetter(std::wstring_view caption, int at) {
  return static_cast<wchar_t>(
      std::towlower(static_cast<wint_t>(caption[static_cast<std::size_t>(at)])));
}

bool IsButton(const layout::Control& c) { return c.kind == layout::Kind::kButton; }
bool IsButton(const layout::DialogControl& c) { return c.kind == layout::DialogKind::kButton; }

// Checks one window: every key on a letter of its control's caption and
// unique; every label that names a control and every button with a word has
// one, unless it answers Enter or Escape instead.
template <typename Controls>
void CheckWindow(const Controls& controls, std::span<const ControlKey> table,
                 const std::set<std::string_view>& withoutKey, const char* window) {
  std::set<wchar_t> letters;
  for (const auto& c : controls) {
    const std::wstring_view caption = c.caption;
    const int at = KeyOf(table, c.name);
    const bool labels =
        std::any_of(access::kAccessibleNames.begin(), access::kAccessibleNames.end(),
                    [&](const auto& entry) { return entry.label == c.name; });
    const bool worded = std::any_of(caption.begin(), caption.end(), [](wchar_t ch) {
      return std::iswalpha(static_cast<wint_t>(ch));
    });
    if (withoutKey.count(c.name) != 0 || !(labels || (IsButton(c) && worded))) {
      EXPECT_EQ(at, kNone) << window << ": " << c.name;
      continue;
    }
    ASSERT_GE(at, 0) << window << ": " << c.name << " needs a key";
    ASSERT_LT(static_cast<std::size_t>(at), caption.size()) << c.name;
    EXPECT_TRUE(std::iswalpha(static_cast<wint_t>(caption[static_cast<std::size_t>(at)])));
    EXPECT_TRUE(letters.insert(KeyLetter(caption, at)).second) << window << ": " << c.name;
  }
  EXPECT_EQ(letters.size(), table.size()) << window << ": a key for no control";
}

TEST(AccessKeysTest, UniqueAndPresentPerWindow) {
  CheckWindow(layout::kMainControls, kMainWindowKeys, {}, "main window");
  // OK and Abbrechen answer Enter and Escape.
  CheckWindow(layout::kDialogControls, kDialogKeys, {"OKButton", "CancelButton"}, "dialog");
}

// Every item and submenu carries a key, unique within the menu it sits in.
void CheckMenu(std::span<const MenuEntry> entries, const char* menu) {
  std::vector<std::set<wchar_t>> open(1);
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntryKind::kSeparator:
        break;
      case MenuEntryKind::kSubmenuEnd:
        open.pop_back();
        break;
      case MenuEntryKind::kItem:
      case MenuEntryKind::kSubmenuBegin: {
        const std::wstring_view caption = entry.caption;
        ASSERT_GE(entry.accessKey, 0) << menu << ": item without key";
        ASSERT_LT(static_cast<std::size_t>(entry.accessKey), caption.size());
        EXPECT_TRUE(open.back().insert(KeyLetter(caption, entry.accessKey)).second)
            << menu << ": key used twice at item " << static_cast<int>(entry.id);
        if (entry.kind == MenuEntryKind::kSubmenuBegin) open.emplace_back();
        break;
      }
    }
  }
}

TEST(AccessKeysTest, UniqueAndPresentPerMenu) {
  CheckMenu(kFileMenu, "mnuFile");
  CheckMenu(kTrayMenu, "mnuBar");
}

TEST(AccessKeysTest, MarkedTextsAndShortcuts) {
  struct Case {
    std::wstring_view caption;
    int at;
    std::wstring marked;
    std::wstring shortcut;
  };
  const Case cases[] = {
      {L"Laufwerk auswählen", 0, L"&Laufwerk auswählen", L"Alt+L"},
      {L"Tessaro beenden", 9, L"Tessaro b&eenden", L"Alt+E"},
      // A folder or drive listed in a menu shows its '&' as it is.
      {L"C:\\A&B", kNone, L"C:\\A&&B", L""},
      {L"A&B", 2, L"A&&&B", L"Alt+B"},
      {L"x", 5, L"x", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Marked(c.caption, c.at), c.marked);
    EXPECT_EQ(Shortcut(c.caption, c.at), c.shortcut);
  }
}

}  // namespace
}  // namespace tessaro::ui::keys
