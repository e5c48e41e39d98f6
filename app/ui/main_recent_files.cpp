// The main window's recent files: the list kept per user and the File menu entries.

#include "app/ui/frmMain.h"
#include "base/qt/qt_text.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "app/recent_files.h"

namespace n27 {

namespace {


constexpr const char *kRecentFilesKey = "Settings/RecentFiles";

}  // namespace

std::vector<std::string> frmMain::recentFiles() const {
  std::vector<std::string> list;
  for (const QString &p : QSettings().value(kRecentFilesKey).toStringList()) list.push_back(p.toStdString());
  return CleanRecentFiles(list);
}

void frmMain::storeRecentFiles(const std::vector<std::string> &list) {
  QStringList out;
  for (const auto &p : list) out << qs(p);
  QSettings().setValue(kRecentFilesKey, out);
  rebuildRecentMenu();
}

void frmMain::rememberRecentFile(const std::string &path) {
  const std::string full = QFileInfo(qs(path)).absoluteFilePath().toStdString();
  auto list = recentFiles();
  if (!list.empty() && list.front() == full) return;
  storeRecentFiles(AddRecentFile(list, full));
}

void frmMain::rebuildRecentMenu() {
  if (!fileMenu_ || !recentAnchor_) return;
  for (QAction *a : recentActions_) {
    fileMenu_->removeAction(a);
    a->setObjectName(QString());  // gone from the menu now, deleted once its signal returns
    a->deleteLater();
  }
  recentActions_.clear();
  const auto list = recentFiles();
  for (std::size_t i = 0; i < list.size(); ++i) {
    auto *a = new QAction(qs(RecentFileMenuText(i, list[i])), fileMenu_);
    a->setObjectName(QString("mnuFileRecent%1").arg(i + 1));
    a->setToolTip(qs(list[i]));
    const std::string path = list[i];
    connect(a, &QAction::triggered, this,
            [this, path] { run("mnuFileRecent_Click", [&] { openRecentFile(path); }); });
    fileMenu_->insertAction(recentAnchor_, a);
    recentActions_.push_back(a);
  }
  if (!list.empty()) {
    QAction *sep = fileMenu_->insertSeparator(recentActions_.front());
    recentActions_.push_back(sep);
  }
}

bool frmMain::openRecentFile(const std::string &path) {
  if (RecentFileGone(path)) {
    showMessage(MissingRecentFileText(path, LanguageIndex()), BoxIcon::Warning);
    storeRecentFiles(RemoveRecentFile(recentFiles(), path));
    return false;
  }
  if (radio_->busy() || !OfferToSaveChanges(ws_, *this)) return false;
  return OpenDataFile(ws_, *this, path);
}

}  // namespace n27
