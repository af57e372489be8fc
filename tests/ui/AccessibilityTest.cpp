#include <gtest/gtest.h>

#include <algorithm>

#include <string>

#include "ui/AboutMessage.h"
#include "ui/Accessibility.h"
#include "ui/Layout.h"

namespace tessaro::ui::access {
namespace {

TEST(Accessibility, EveryFocusableControlHasAName) {
  for (const auto& control : layout::kMainControls) {
    const AccessibleName* entry = AccessibleNameOf(control.name);
    if (entry == nullptr) {
      // A box's text is no name; a button's caption is, unless it says nothing.
      EXPECT_FALSE(
          control.kind == layout::Kind::kComboBox ||
          (control.kind == layout::Kind::kButton && std::wstring_view(control.caption) == L"..."))
          << control.name;
      continue;
    }
    // A box is named by its label, and hears exactly what the label shows.
    if (!entry->label.empty()) {
      const auto label = std::find_if(layout::kMainControls.begin(), layout::kMainControls.end(),
                                      [&](const auto& c) { return c.name == entry->label; });
      ASSERT_NE(label, layout::kMainControls.end()) << entry->label;
      EXPECT_EQ(std::wstring_view(label->caption), entry->name) << control.name;
      EXPECT_EQ(label->kind, layout::Kind::kLabel);
    }
  }
  for (const auto& control : layout::kDialogControls) {
    if (control.kind != layout::DialogKind::kButton) {
      EXPECT_NE(AccessibleNameOf(control.name), nullptr) << control.name;
    }
  }
}

TEST(Accessibility, MessageLineBreaksBecomeTheReadersOnes) {
  EXPECT_EQ(WithLineBreaks(L"a\rb\r\nc\nd\r\re\r", L"\n"), L"a\nb\nc\nd\n\ne\n");
  const std::wstring about = WithLineBreaks(ComposeAboutText(2026, {1, 2, 2}), L"\r\n");
  EXPECT_NE(about.find(L"Entwickler\r\nVersion 1.2.2\r\n\r\nWindow picture"), std::wstring::npos);
}

}  // namespace
}  // namespace tessaro::ui::access
