#pragma once
// FrmCustomer: Program > Customer or Job… The customer or job label the dealer types once; every
// entry of the radio history this session records carries it. OK keeps the typed label (an
// empty one: none); Cancel leaves it as it was.

#include <QDialog>
#include <string>

class QLineEdit;

namespace n27 {

class FrmCustomer : public QDialog {
  Q_OBJECT

 public:
  // `label` is shown in the box and receives the typed one, trimmed, on OK.
  FrmCustomer(std::string &label, QWidget *parent = nullptr);
  QLineEdit *entry() const { return text_; }

 private:
  std::string &label_;
  QLineEdit *text_;
};

}  // namespace n27
