#include "ui/qt/QtControls.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>

#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {

std::wstring ComboBoxAdapter::Text() const { return ToWString(box_.currentText()); }

void ComboBoxAdapter::SetText(const std::wstring& text) { box_.setEditText(ToQString(text)); }

void ComboBoxAdapter::AddItem(const std::wstring& item) {
  // The first item of an empty list becomes current and would overwrite the
  // text; the classic control leaves the text alone.
  const QString text = box_.currentText();
  {
    const QSignalBlocker blocker(box_);
    box_.addItem(ToQString(item));
  }
  box_.setEditText(text);
}

bool CheckMarkAdapter::Checked() const { return action_.isChecked(); }

void CheckMarkAdapter::SetChecked(bool checked) { action_.setChecked(checked); }

void MakeClassicEditableCombo(QComboBox& box) {
  box.setEditable(true);
  box.setInsertPolicy(QComboBox::NoInsert);
  box.setCompleter(nullptr);
  box.setDuplicatesEnabled(true);
}

}  // namespace tessaro::ui::qt
