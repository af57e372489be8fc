#pragma once

#include <string>

namespace tessaro::ui {

// What the logic needs of an editable drop-down combo box. Setting the text
// never touches the list, and appending never sorts or changes the text.
class IComboBox {
 public:
  virtual ~IComboBox() = default;
  virtual std::wstring Text() const = 0;
  virtual void SetText(const std::wstring& text) = 0;
  virtual void AddItem(const std::wstring& item) = 0;
};

// A menu item's check mark.
class ICheckMark {
 public:
  virtual ~ICheckMark() = default;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

// The dialog's three lists. A setter returns false when the list cannot go
// there (a drive that is not ready, a folder that cannot be read); the list
// then stays where it was. When a setter changes the drive or the directory,
// the front end raises the matching notification (frmOpenPath::Drive1_Change,
// frmOpenPath::Dir1_Change) before the setter returns, as the platform's
// list boxes do.
class IDriveList {
 public:
  virtual ~IDriveList() = default;
  // The current drive's text: lower-case letter, colon, maybe more text.
  virtual std::wstring Drive() const = 0;
  // Selects the drive named by the text's first character.
  virtual bool SetDrive(const std::wstring& text) = 0;
};

class IDirList {
 public:
  virtual ~IDirList() = default;
  // The open directory (not a merely highlighted entry), a full path.
  virtual std::wstring Path() const = 0;
  // A directory, or a drive text such as "c: [label]" for that drive's
  // current directory.
  virtual bool SetPath(const std::wstring& path) = 0;
};

class IFileList {
 public:
  virtual ~IFileList() = default;
  virtual bool SetPath(const std::wstring& path) = 0;
};

}  // namespace tessaro::ui
