#include "ui/qt/GuardedApplication.h"

#include <cstdio>

#include "text/TextCodec.h"
#include "ui/UnexpectedError.h"

namespace tessaro::ui::qt {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  CatchUnexpected([&] { handled = QApplication::notify(receiver, event); },
                  [this](const std::wstring& message) { Report(message); });
  return handled;
}

void GuardedApplication::Report(const std::wstring& message) {
  std::fprintf(stderr, "%s\n", text::EncodeUtf8(message).c_str());
  // A second failure while the first is on screen is only written down.
  if (reporting_ || !onError_) return;
  struct Flag {
    bool& flag;
    ~Flag() { flag = false; }
  } reporting{reporting_ = true};
  onError_(message);
}

}  // namespace tessaro::ui::qt
