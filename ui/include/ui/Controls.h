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

}  // namespace tessaro::ui
