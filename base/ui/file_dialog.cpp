#include "base/ui/file_dialog.h"

#include <QCollator>
#include <QCoreApplication>
#include <QFileSystemModel>
#include <QMimeDatabase>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTreeView>

#include "base/language.h"

namespace n27 {

namespace {

constexpr Tr kFolder{"Folder", "文件夹"};
constexpr Tr kTypedFile{"%1 File", "%1 文件"};
constexpr Tr kFile{"File", "文件"};

// The file list's Size, Type and Date Modified columns in the interface language.
class InterfaceLanguageFiles : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  QVariant data(const QModelIndex &index, int role) const override {
    auto *files = qobject_cast<QFileSystemModel *>(sourceModel());
    if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
      return QSortFilterProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const QFileInfo info = files->fileInfo(source);
    const QLocale locale = InterfaceLocale();
    switch (index.column()) {
      case 1: return info.isDir() ? QString() : locale.formattedDataSize(files->size(source));
      case 2: return typeOf(info);
      default: return locale.toString(files->lastModified(source), QLocale::ShortFormat);
    }
  }

 protected:
  // Folders first, then by the column's own value (not by the text shown).
  bool lessThan(const QModelIndex &left, const QModelIndex &right) const override {
    auto *files = qobject_cast<QFileSystemModel *>(sourceModel());
    if (!files) return QSortFilterProxyModel::lessThan(left, right);
    const bool leftDir = files->isDir(left), rightDir = files->isDir(right);
    if (leftDir != rightDir) return leftDir;
    switch (left.column()) {
      case 1:
        if (files->size(left) != files->size(right)) return files->size(left) < files->size(right);
        break;
      case 3:
        if (files->lastModified(left) != files->lastModified(right))
          return files->lastModified(left) < files->lastModified(right);
        break;
      case 2: {
        const int byType = QString::localeAwareCompare(typeOf(files->fileInfo(left)), typeOf(files->fileInfo(right)));
        if (byType != 0) return byType < 0;
        break;
      }
      default: break;
    }
    QCollator names(InterfaceLocale());
    names.setNumericMode(true);
    names.setCaseSensitivity(Qt::CaseInsensitive);
    return names.compare(files->fileName(left), files->fileName(right)) < 0;
  }

 private:
  // "DAT File", "Folder": the same wording in both languages (the desktop's file type names
  // would follow the system's language, and say "unknown" for a data file).
  static QString typeOf(const QFileInfo &info) {
    if (info.isDir()) return QString::fromUtf8(kFolder.get());
    const QString suffix = info.suffix().toUpper();
    if (suffix.isEmpty()) return QString::fromUtf8(kFile.get());
    return QString::fromUtf8(kTypedFile.get()).replace("%1", suffix);
  }
};

}  // namespace

QLocale InterfaceLocale() {
  if (LanguageIndex() == kChinese) return QLocale(QLocale::Chinese, QLocale::China);
  const QLocale system = QLocale::system();
  return system.language() == QLocale::Chinese ? QLocale(QLocale::English, QLocale::UnitedStates) : system;
}

std::unique_ptr<QFileDialog> MakeFileDialog(QWidget *parent, const QString &filter, const QString &start,
                                            QFileDialog::AcceptMode mode) {
  auto dialog = std::make_unique<QFileDialog>(parent, QString(), start, filter);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(mode);
  dialog->setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog->setLocale(InterfaceLocale());
  dialog->setProxyModel(new InterfaceLanguageFiles(dialog.get()));
  // The dates whole, however long the locale writes them.
  if (auto *view = dialog->findChild<QTreeView *>("treeView"))
    view->header()->setSectionResizeMode(3, QHeaderView::ResizeToContents);
  return dialog;
}

}  // namespace n27
