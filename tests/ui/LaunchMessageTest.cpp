#include <gtest/gtest.h>

#include "ui/LaunchMessage.h"

namespace tessaro::ui {
namespace {

TEST(LaunchFailureMessage, SaysInGermanWhatWentWrong) {
  const auto notFound = LaunchFailureMessage({platform::LaunchStatus::kNotFound, {}});
  EXPECT_NE(notFound.find(L"\"subst\" konnte nicht gestartet werden"), std::wstring::npos);
  EXPECT_NE(notFound.find(L"gefunden"), std::wstring::npos);
  const auto failed =
      LaunchFailureMessage({platform::LaunchStatus::kFailed, L"Zugriff verweigert"});
  EXPECT_NE(failed.find(L"Zugriff verweigert"), std::wstring::npos);
}

}  // namespace
}  // namespace tessaro::ui
