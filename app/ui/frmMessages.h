#pragma once
// frmMessages: the Messages list below the child windows (View → Messages). It shows the time
// and text of the messages of this run that a dealer may want to read again — every status
// bar message and every message box, a transfer's outcome among them — newest last.

#include <QDockWidget>

#include "base/message_log.h"

class QPushButton;
class QTableWidget;

namespace n27 {

class frmMessages : public QDockWidget {
  Q_OBJECT

 public:
  frmMessages(MessageLog &log, QWidget *parent = nullptr);
  ~frmMessages() override;

  void applyLanguage();
  // Shows the log again (it changed).
  void refresh();
  QTableWidget *list() const { return list_; }
  // The selected lines (all lines when none is selected), one per line, for the clipboard.
  QString selectedText() const;

 private:
  MessageLog &log_;
  QTableWidget *list_ = nullptr;
  QPushButton *copy_ = nullptr;
  QPushButton *clear_ = nullptr;
};

}  // namespace n27
