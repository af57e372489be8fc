#pragma once

#include <clocale>
#include <string>

namespace tessaro::testing {

// The Turkish locale for one test: its towlower turns 'I' into a dotless i
// and its towupper 'i' into a dotted capital I. Active() is false where the
// system has no such locale (scripts/test.sh generates it on Linux).
class TurkishLocale {
 public:
  TurkishLocale() {
    if (const char* current = std::setlocale(LC_ALL, nullptr)) previous_ = current;
    for (const char* name : {"tr_TR.UTF-8", "tr_TR.utf8", "Turkish_Turkey.1254", "tr-TR"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) {
        active_ = true;
        break;
      }
    }
  }
  ~TurkishLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  TurkishLocale(const TurkishLocale&) = delete;
  TurkishLocale& operator=(const TurkishLocale&) = delete;

  bool Active() const { return active_; }

 private:
  std::string previous_ = "C";
  bool active_ = false;
};

}  // namespace tessaro::testing
