#pragma once

#include <windows.h>

#include "platform/win32/Handles.h"

namespace tessaro::ui::win32 {

// One Tessaro per session: the first start holds a named mutex in the
// session's namespace for its whole run; a later start finds it held, asks
// the running window to come to the front and ends.
class SingleInstance {
 public:
  SingleInstance();

  // False when another Tessaro of this session holds the mutex.
  bool First() const { return first_; }

  // Hands the foreground to the running Tessaro and asks its window to show
  // itself; waits a little for a window that is still being made.
  static void WakeRunning();

 private:
  platform::UniqueHandle mutex_;
  bool first_ = true;
};

// The message a later start posts to the main window (registered, so that it
// never meets another program's message).
UINT StartedAgainMessage();

}  // namespace tessaro::ui::win32
