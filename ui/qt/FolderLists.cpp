#include "ui/qt/FolderLists.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QStyle>
#include <QStyledItemDelegate>

#include "text/TextCodec.h"
#include "ui/qt/DirectoryListing.h"
#include "ui/qt/QtText.h"

namespace tessaro::ui::qt {
namespace {

std::string ToBytes(const std::wstring& path) { return text::EncodeUtf8(path); }
std::wstring FromBytes(const std::string& path) { return text::DecodeUtf8Lossy(path); }

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return folder.back() == L'/' ? folder + name : folder + L'/' + name;
}

// "/a/./b/../c/" -> "/a/c"; the list shows and hands over tidy paths.
std::wstring Tidy(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::size_t start = 1;
  while (start <= path.size()) {
    std::size_t slash = path.find(L'/', start);
    if (slash == std::wstring::npos) slash = path.size();
    const std::wstring part = path.substr(start, slash - start);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::wstring tidy;
  for (const auto& part : parts) tidy += L'/' + part;
  return tidy.empty() ? L"/" : tidy;
}

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

DriveListBox::DriveListBox(const DriveTable& table, QWidget* parent)
    : QComboBox(parent), table_(table) {
  for (const auto& drive : table_.Drives()) {
    const auto icon = drive.letter == L'c' ? QStyle::SP_DriveHDIcon : QStyle::SP_DriveNetIcon;
    addItem(style()->standardIcon(icon), ToQString(drive.text));
  }
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    if (onChange_) onChange_();
  });
}

std::wstring DriveListBox::Drive() const { return ToWString(currentText()); }

bool DriveListBox::SetDrive(const std::wstring& text) {
  const int index = table_.IndexForText(text);
  if (index < 0) return false;
  setCurrentIndex(index);  // raises the change only when the drive changes
  return true;
}

DirListBox::DirListBox(const DriveTable& table, QWidget* parent)
    : QListWidget(parent), table_(table) {
  setItemDelegate(new IndentDelegate(this));
  setUniformItemSizes(true);
  connect(this, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { Open(ToWString(item->data(kDirPathRole).toString())); });
}

bool DirListBox::SetPath(const std::wstring& path) {
  if (path.empty()) return false;
  if (path.front() == L'/') return Open(path);
  // A drive text: that drive's current directory.
  const int drive = table_.IndexForText(path);
  if (drive < 0 || path.size() < 2 || path[1] != L':') return false;
  const auto current = currentByDrive_.find(drive);
  const std::wstring& folder = table_.Drives()[static_cast<std::size_t>(drive)].folder;
  return Open(current != currentByDrive_.end() ? current->second : folder);
}

bool DirListBox::Open(const std::wstring& directory) {
  if (directory.empty() || directory.front() != L'/') return false;
  const std::wstring tidy = Tidy(directory);
  const auto subfolders = ListDirectory(ToBytes(tidy), ListWhat::kFolders);
  if (!subfolders) return false;
  Fill(tidy, *subfolders);
  currentByDrive_[table_.IndexHoldingPath(tidy)] = tidy;
  if (tidy == open_) return true;
  open_ = tidy;
  if (onChange_) onChange_();
  return true;
}

void DirListBox::Fill(const std::wstring& directory, const std::vector<std::string>& subfolders) {
  const std::wstring& root =
      table_.Drives()[static_cast<std::size_t>(table_.IndexHoldingPath(directory))].folder;
  const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
  const QSignalBlocker blocker(this);
  clear();

  auto add = [this](const QIcon& icon, const std::wstring& caption, const std::wstring& path,
                    int depth) {
    auto* item = new QListWidgetItem(icon, ToQString(caption), this);
    item->setData(kDirPathRole, ToQString(path));
    item->setData(kDirDepthRole, depth);
    return item;
  };

  // The chain from the drive's folder down to the open directory...
  int depth = 0;
  QListWidgetItem* openItem = add(openIcon, root, root, depth);
  std::wstring walked = root;
  std::size_t start = root.size() == 1 ? 1 : root.size() + 1;
  while (start < directory.size() + 1 && directory.size() > root.size()) {
    std::size_t slash = directory.find(L'/', start);
    if (slash == std::wstring::npos) slash = directory.size();
    const std::wstring name = directory.substr(start, slash - start);
    walked = Join(walked, name);
    openItem = add(openIcon, name, walked, ++depth);
    start = slash + 1;
  }
  // ...then its subdirectories.
  for (const auto& name : subfolders) {
    const std::wstring wideName = FromBytes(name);
    add(closedIcon, wideName, Join(directory, wideName), depth + 1);
  }
  setCurrentItem(openItem);
}

void DirListBox::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    Open(ToWString(currentItem()->data(kDirPathRole).toString()));
    return;
  }
  QListWidget::keyPressEvent(event);
}

FileListBox::FileListBox(QWidget* parent) : QListView(parent), model_(new QStringListModel(this)) {
  setModel(model_);
  // Uniform rows let the view skip measuring each of 100,000 names.
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

bool FileListBox::SetPath(const std::wstring& path) {
  if (path.empty() || path.front() != L'/') return false;
  const std::wstring tidy = Tidy(path);
  const auto files = ListDirectory(ToBytes(tidy), ListWhat::kFiles);
  if (!files) return false;
  QStringList names;
  names.reserve(static_cast<qsizetype>(files->size()));
  for (const auto& name : *files)
    names.push_back(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  model_->setStringList(names);
  path_ = tidy;
  return true;
}

QStringList FileListBox::Names() const { return model_->stringList(); }

}  // namespace tessaro::ui::qt
