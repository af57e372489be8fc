#include "ui/qt/UiPoster.h"

#include <QMetaObject>

namespace tessaro::ui::qt {

UiPoster::UiPoster(QObject& receiver) : shared_(std::make_shared<Shared>()) {
  shared_->receiver = &receiver;
}

UiPoster::~UiPoster() {
  const std::lock_guard<std::mutex> hold(shared_->lock);
  shared_->receiver = nullptr;
}

platform::UiPost UiPoster::Post() const {
  return [shared = shared_](std::function<void()> task) {
    const std::lock_guard<std::mutex> hold(shared->lock);
    if (shared->receiver == nullptr) return;
    QMetaObject::invokeMethod(shared->receiver, std::move(task), Qt::QueuedConnection);
  };
}

}  // namespace tessaro::ui::qt
