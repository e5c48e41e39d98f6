#pragma once
// The Set Language dialog: a list of the two languages; OK switches the program's language
// for this run (the main window re-applies its captions when it is next activated).

#include <QDialog>

class QComboBox;

namespace n27 {

class frmLanguage : public QDialog {
  Q_OBJECT

 public:
  explicit frmLanguage(QWidget *parent = nullptr);
  QComboBox *list() const { return combo_; }

 private:
  void ok();
  QComboBox *combo_;
};

}  // namespace n27
