#pragma once

#include <QObject>

#include <memory>
#include <mutex>

#include "platform/Launcher.h"

namespace tessaro::ui::qt {

// Hands tasks of other threads to the event loop as queued calls on a
// receiver. Once the poster is gone, later posts are dropped: a command that
// ends while the program shuts down reaches nothing.
class UiPoster {
 public:
  explicit UiPoster(QObject& receiver);
  ~UiPoster();
  UiPoster(const UiPoster&) = delete;
  UiPoster& operator=(const UiPoster&) = delete;

  platform::UiPost Post() const;

 private:
  struct Shared {
    std::mutex lock;
    QObject* receiver = nullptr;
  };
  std::shared_ptr<Shared> shared_;
};

}  // namespace tessaro::ui::qt
