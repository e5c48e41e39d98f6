// Data files dropped onto the main window.

#include "app/ui/frmMain.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "app/shell_commands.h"
#include "link/ui/radio_commands.h"

namespace n27 {

bool frmMain::openDroppedFiles(const QList<QUrl> &urls) {
  for (const QUrl &url : urls) {
    const QString path = url.toLocalFile();
    if (path.isEmpty() || !path.endsWith(".dat", Qt::CaseInsensitive)) continue;
    bool opened = false;
    run("Form_OLEDragDrop", [&] {
      if (radio_->busy() || !OfferToSaveChanges(ws_, *this)) return;
      opened = OpenDataFile(ws_, *this, path.toStdString());
    });
    return opened;
  }
  return false;
}

namespace {
bool holdsDataFile(const QMimeData *mime) {
  if (!mime || !mime->hasUrls()) return false;
  for (const QUrl &url : mime->urls())
    if (url.isLocalFile() && url.toLocalFile().endsWith(".dat", Qt::CaseInsensitive)) return true;
  return false;
}
}  // namespace

void frmMain::dragEnterEvent(QDragEnterEvent *event) {
  if (holdsDataFile(event->mimeData())) event->acceptProposedAction();
  else event->ignore();
}

void frmMain::dropEvent(QDropEvent *event) {
  if (!holdsDataFile(event->mimeData())) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  const QList<QUrl> urls = event->mimeData()->urls();
  // Open after the drop has finished: the save question is a modal box.
  QMetaObject::invokeMethod(this, [this, urls] { openDroppedFiles(urls); }, Qt::QueuedConnection);
}

}  // namespace n27
