#pragma once

#include "ui/Controls.h"

class QAction;
class QComboBox;

namespace tessaro::ui::qt {

// An editable QComboBox as the logic sees a combo box.
class ComboBoxAdapter final : public IComboBox {
 public:
  explicit ComboBoxAdapter(QComboBox& box) : box_(box) {}
  std::wstring Text() const override;
  void SetText(const std::wstring& text) override;
  void AddItem(const std::wstring& item) override;

 private:
  QComboBox& box_;
};

// A checkable menu action as the logic sees a check mark.
class CheckMarkAdapter final : public ICheckMark {
 public:
  explicit CheckMarkAdapter(QAction& action) : action_(action) {}
  bool Checked() const override;
  void SetChecked(bool checked) override;

 private:
  QAction& action_;
};

// Makes an editable combo box behave like the classic control: typed text
// stays as typed (no inline completion) and never enters the list.
void MakeClassicEditableCombo(QComboBox& box);

}  // namespace tessaro::ui::qt
