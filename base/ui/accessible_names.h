#pragma once
// Names for screen readers. Every control of a window gets an accessible name and description
// in the current language unless the window gave it its own: the name is the caption of the
// label it stands beside (its buddy, its form row, the label left of it), its own text, its
// group box title or its tooltip; the description says where it is (window › tab › group).
// The cells of a table are named by their row and column captions and their text, and follow
// the table as its texts change.
//
// AccessibleNamer names every window when it is shown; windows and tables made by code that
// runs before can call NameControls themselves.

#include <QObject>
#include <QString>

class QTableWidget;
class QWidget;

namespace n27 {

// Names the controls of `window` (and its table cells) that have no name of their own.
void NameControls(QWidget *window);
// Keeps the cells of a table named "CH 5, RX Frequency: 462.12500" (the first column's
// caption and the row number, the column's caption, the text); described by the column.
void NameTableCells(QTableWidget *table);
// True for the widgets a user reaches with the keyboard or that report a value (buttons,
// boxes, lists, tables, tabs, progress bars): the widgets that need a name.
bool IsNamedControl(const QWidget *w);
// A caption as a name: accelerator marks, a trailing "..." and ":" removed.
QString PlainLabel(const QString &caption);

// Installed on the application by the main window: names each window as it is shown.
class AccessibleNamer : public QObject {
 public:
  explicit AccessibleNamer(QObject *parent);
  ~AccessibleNamer() override;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace n27
