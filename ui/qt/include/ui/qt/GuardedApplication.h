#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace tessaro::ui::qt {

// The application object with a catch at the one place every event and
// every slot a widget fires passes through: an exception there is reported
// (onError shows it) instead of ending the program.
class GuardedApplication final : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);

  void SetOnError(std::function<void(const std::wstring&)> onError) {
    onError_ = std::move(onError);
  }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void Report(const std::wstring& message);

  std::function<void(const std::wstring&)> onError_;
  bool reporting_ = false;
};

}  // namespace tessaro::ui::qt
