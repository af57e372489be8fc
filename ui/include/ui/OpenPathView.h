#pragma once

#include <string>

#include "ui/Controls.h"

namespace tessaro::ui {

class IOpenPathView {
 public:
  virtual ~IOpenPathView() = default;
  virtual IDriveList& Drive1() = 0;
  virtual IDirList& Dir1() = 0;
  virtual IFileList& File1() = 0;
  virtual void SetCaption(const std::wstring& caption) = 0;
  // Closes the dialog window; the modal ShowOpenPathDialog call then returns.
  virtual void Unload() = 0;
};

}  // namespace tessaro::ui
