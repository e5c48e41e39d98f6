#include "link/ui/FrmCustomer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "base/ui/dialog_support.h"
#include "link/ui/trust_texts.h"

namespace n27 {

FrmCustomer::FrmCustomer(std::string &label, QWidget *parent) : QDialog(parent), label_(label) {
  setObjectName("FrmCustomer");
  setWindowTitle(QString::fromUtf8(Text(trustText::kCustomerTitle)));
  auto *caption = new QLabel(QString::fromUtf8(Text(trustText::kCustomerLabel)));
  text_ = new QLineEdit(QString::fromStdString(label));
  text_->setObjectName("TextCustomer");
  text_->setMaxLength(trustText::kCustomerMaxLength);
  text_->selectAll();
  text_->setMinimumWidth(280);
  caption->setBuddy(text_);
  auto *row = new QHBoxLayout;
  row->addWidget(caption);
  row->addWidget(text_, 1);
  LayOutDialog(this, row, ButtonNames::OkCancel, [this] {
    label_ = text_->text().simplified().toStdString();
    accept();
  });
}

}  // namespace n27
