#pragma once
// The body of an editor window that scrolls inside the window when the main window gives it
// less room than it needs. Unlike a plain QScrollArea it asks for the whole size of what it
// holds, so a window with room enough opens without scroll bars; it can still be made
// smaller than that, down to a few lines.

#include <QScrollArea>

namespace n27 {

class FitScrollArea : public QScrollArea {
 public:
  explicit FitScrollArea(QWidget *body, QWidget *parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  // What the body needs changes with its captions and lists: the area asks again.
  bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace n27
