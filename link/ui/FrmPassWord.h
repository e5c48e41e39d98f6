#pragma once
// FrmPassWord: the programming password entered for the radio. OK keeps the typed password
// for every later transfer of this run; Cancel leaves it as it was.

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace n27 {

class FrmPassWord : public QDialog {
  Q_OBJECT

 public:
  // `password` is shown in the box and receives the typed one on OK.
  FrmPassWord(std::string &password, QWidget *parent = nullptr);
  QLineEdit *entry() const { return text1_; }

 private:
  std::string &password_;
  QLineEdit *text1_;
};

}  // namespace n27
