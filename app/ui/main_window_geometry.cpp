// Where the main window and its child windows lie: the main window's position and size kept
// per user, a child window fitted into the work area, and the Window menu's arrangements.

#include "app/ui/frmMain.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>
#include <algorithm>

#include "base/settings.h"

namespace n27 {

namespace {

constexpr const char *kSettingsGroup = "Settings";

}  // namespace

void frmMain::fitInWorkArea(QMdiSubWindow *sub) {
  // A window opens whole inside the work area at the size it asks for, but no larger than the
  // area (a window that needs more scrolls inside itself), moved back in where it would reach
  // past an edge.
  // What the window asks for is known once its layouts have taken in the style and font it
  // got on showing.
  for (int i = 0; i < 4; ++i) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const QSize room = mdi_->viewport()->size();
  if (room.isEmpty()) return;
  const QSize size = sub->sizeHint().boundedTo(room).expandedTo(sub->minimumSize());
  if (size != sub->size()) sub->resize(size);
  const int x = std::clamp(sub->x(), 0, std::max(0, room.width() - sub->width()));
  const int y = std::clamp(sub->y(), 0, std::max(0, room.height() - sub->height()));
  if (x != sub->x() || y != sub->y()) sub->move(x, y);
}

// ---------------------------------------------------------------------------------------
// Child window arrangement

void frmMain::cascade() { mdi_->cascadeSubWindows(); }

namespace {
QList<QMdiSubWindow *> arrangeable(QMdiArea *mdi) {
  QList<QMdiSubWindow *> out;
  for (QMdiSubWindow *sub : mdi->subWindowList(QMdiArea::CreationOrder))
    if (!sub->isHidden() && !sub->isMinimized()) out << sub;
  return out;
}
}  // namespace

void frmMain::tileVertically() { tile(true); }
void frmMain::tileHorizontally() { tile(false); }

void frmMain::tile(bool sideBySide) {
  // Side by side, each the full height; or one above the other, each the full width.
  auto subs = arrangeable(mdi_);
  if (subs.isEmpty()) return;
  QRect area = mdi_->viewport()->rect();
  const int n = static_cast<int>(subs.size());
  for (int i = 0; i < n; ++i) {
    subs[i]->showNormal();
    if (sideBySide)
      subs[i]->setGeometry(i * area.width() / n, 0, area.width() / n, area.height());
    else
      subs[i]->setGeometry(0, i * area.height() / n, area.width(), area.height() / n);
  }
}

void frmMain::arrangeIcons() {
  // Minimised windows in a row along the bottom edge.
  QRect area = mdi_->viewport()->rect();
  int x = 0;
  for (QMdiSubWindow *sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (sub->isHidden() || !sub->isMinimized()) continue;
    QSize size = sub->size();
    if (x > 0 && x + size.width() > area.width()) x = 0;
    sub->move(x, area.height() - size.height());
    x += size.width();
  }
}

void frmMain::restoreWindowGeometry() {
  QSettings settings;
  settings.beginGroup(kSettingsGroup);
  WindowGeometry g;
  g.left = settings.value("MainLeft", g.left).toInt();
  g.top = settings.value("MainTop", g.top).toInt();
  g.width = settings.value("MainWidth", g.width).toInt();
  g.height = settings.value("MainHeight", g.height).toInt();
  QRect r(TwipsToPixels(g.left), TwipsToPixels(g.top), TwipsToPixels(g.width),
          TwipsToPixels(g.height));
  // A window saved on a screen that is no longer there comes back on the primary one.
  if (QScreen *screen = QApplication::primaryScreen()) {
    QRect avail = screen->availableGeometry();
    bool onScreen = false;
    for (QScreen *s : QApplication::screens()) onScreen |= s->availableGeometry().intersects(r);
    if (!onScreen) r.moveTopLeft(avail.topLeft() + QPoint(20, 20));
    r.setWidth(std::min(std::max(r.width(), 400), avail.width()));
    r.setHeight(std::min(std::max(r.height(), 300), avail.height()));
  }
  resize(r.size());
  move(r.topLeft());
  // A window closed maximised opens maximised; the size above is what un-maximising gives.
  if (settings.value("MainMaximized", false).toBool())
    setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::saveWindowGeometry() {
  QRect r = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
  QSettings settings;
  settings.beginGroup(kSettingsGroup);
  settings.setValue("MainLeft", PixelsToTwips(r.left()));
  settings.setValue("MainTop", PixelsToTwips(r.top()));
  settings.setValue("MainWidth", PixelsToTwips(r.width()));
  settings.setValue("MainHeight", PixelsToTwips(r.height()));
  settings.setValue("MainMaximized", isMaximized());
}

}  // namespace n27
