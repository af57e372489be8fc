#pragma once

#include <QAbstractListModel>
#include <QComboBox>
#include <QListView>
#include <QListWidget>

#include "ui/FolderBrowser.h"

// The folder dialog's three lists, drawing the folder browser and handing
// the user's moves to it.
namespace tessaro::ui::qt {

class DriveListBox final : public QComboBox {
 public:
  DriveListBox(FolderBrowser& browser, QWidget* parent);
  void Show();

 private:
  FolderBrowser& browser_;
};

class DirListBox final : public QListWidget {
 public:
  DirListBox(FolderBrowser& browser, QWidget* parent);
  void Show();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  FolderBrowser& browser_;
};

// The browser's file names, converted only as the view asks for a row: a
// folder of a million files costs no widget and no string per file.
class FileNamesModel final : public QAbstractListModel {
 public:
  FileNamesModel(const FolderBrowser& browser, QObject* parent)
      : QAbstractListModel(parent), browser_(browser) {}
  int rowCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  const FolderBrowser& browser_;
};

class FileListBox final : public QListView {
 public:
  FileListBox(const FolderBrowser& browser, QWidget* parent);
  void Show() { model_->Reset(); }
  QStringList Names() const;

 private:
  FileNamesModel* model_;
};

// Item data of the directory list: the line's depth below the root.
inline constexpr int kDirDepthRole = Qt::UserRole + 1;

}  // namespace tessaro::ui::qt
