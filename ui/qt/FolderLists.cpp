#include "ui/qt/FolderLists.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>

#include <limits>

#include "text/TextCodec.h"
#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {
namespace {

// The classic list draws the path as an indented tree.
class IndentDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem shifted(option);
    shifted.rect.setLeft(option.rect.left() + kIndent * index.data(kDirDepthRole).toInt());
    QStyledItemDelegate::paint(painter, shifted, index);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += kIndent * index.data(kDirDepthRole).toInt();
    return size;
  }

 private:
  static constexpr int kIndent = 8;
};

}  // namespace

DriveListBox::DriveListBox(FolderBrowser& browser, QWidget* parent)
    : QComboBox(parent), browser_(browser) {
  connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) browser_.PickDrive(static_cast<std::size_t>(index));
  });
}

void DriveListBox::Show() {
  const QSignalBlocker blocker(this);
  const auto& texts = browser_.DriveTexts();
  if (count() != static_cast<int>(texts.size())) {
    clear();
    for (const auto& text : texts) {
      const auto icon = text.front() == L'c' ? QStyle::SP_DriveHDIcon : QStyle::SP_DriveNetIcon;
      addItem(style()->standardIcon(icon), ToQString(text));
    }
  }
  setCurrentIndex(static_cast<int>(browser_.CurrentDrive()));
}

DirListBox::DirListBox(FolderBrowser& browser, QWidget* parent)
    : QListWidget(parent), browser_(browser) {
  setItemDelegate(new IndentDelegate(this));
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    browser_.OpenLineAt(static_cast<std::size_t>(row(item)));
  });
}

void DirListBox::Show() {
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const QSignalBlocker blocker(this);
  clear();
  const auto& lines = browser_.Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto* item = new QListWidgetItem(i <= browser_.OpenLine() ? openIcon : closedIcon,
                                     ToQString(lines[i].caption), this);
    item->setData(kDirDepthRole, lines[i].depth);
  }
  setCurrentRow(static_cast<int>(browser_.OpenLine()));
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
    browser_.OpenLineAt(static_cast<std::size_t>(currentRow()));
    return;
  }
  QListWidget::keyPressEvent(event);
}

int FileNamesModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  constexpr std::size_t kMaxRows = std::numeric_limits<int>::max();
  return static_cast<int>(std::min(browser_.Files().size(), kMaxRows));
}

QVariant FileNamesModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount({})) return {};
  return ToQString(text::DisplayFileName(browser_.Files()[static_cast<std::size_t>(index.row())]));
}

FileListBox::FileListBox(const FolderBrowser& browser, QWidget* parent)
    : QListView(parent), model_(new FileNamesModel(browser, this)) {
  setModel(model_);
  // Uniform rows let the view skip measuring each name.
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

QStringList FileListBox::Names() const {
  QStringList names;
  for (int i = 0; i < model_->rowCount({}); ++i) names << model_->index(i).data().toString();
  return names;
}

}  // namespace tessaro::ui::qt
