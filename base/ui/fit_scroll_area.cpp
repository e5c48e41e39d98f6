#include "base/ui/fit_scroll_area.h"

#include <QEvent>
#include <QScrollBar>
#include <algorithm>

namespace n27 {

FitScrollArea::FitScrollArea(QWidget *body, QWidget *parent) : QScrollArea(parent) {
  setObjectName("ScrollBody");
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setFocusPolicy(Qt::NoFocus);  // Tab goes to the controls, not to the area holding them
  setWidget(body);
}

bool FitScrollArea::eventFilter(QObject *watched, QEvent *event) {
  if (watched == widget() && event->type() == QEvent::LayoutRequest) updateGeometry();
  return QScrollArea::eventFilter(watched, event);
}

QSize FitScrollArea::sizeHint() const {
  if (!widget()) return QScrollArea::sizeHint();
  const QSize body = widget()->sizeHint().expandedTo(widget()->minimumSizeHint());
  const QMargins m = contentsMargins();
  return QSize(body.width() + m.left() + m.right(), body.height() + m.top() + m.bottom());
}

QSize FitScrollArea::minimumSizeHint() const {
  // Room for the scroll bars and a few lines of the body.
  const int line = fontMetrics().height();
  const int bar = verticalScrollBar()->sizeHint().width();
  return QSize(std::min(sizeHint().width(), 12 * line + bar), std::min(sizeHint().height(), 6 * line + bar));
}

}  // namespace n27
