#include "link/ui/FrmPassWord.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "base/ui/dialog_support.h"
#include "link/password.h"
#include "link/ui/link_texts.h"

namespace n27 {

FrmPassWord::FrmPassWord(std::string &password, QWidget *parent)
    : QDialog(parent), password_(password) {
  setObjectName("FrmPassWord");
  setWindowTitle(QString::fromUtf8(Text(linkText::kPasswordTitle)));
  auto *label = new QLabel(QString::fromUtf8(Text(linkText::kPasswordLabel)));
  label->setObjectName("Label1");
  text1_ = new QLineEdit;
  text1_->setObjectName("Text1");
  text1_->setEchoMode(QLineEdit::Password);
  // Each character typed shows as "*", whatever the style's own mark.
  text1_->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  text1_->setMaxLength(4);
  // The radio keeps its password in single-byte characters (bytes 01..FE, 00 and FF end it):
  // any Latin-1 character but those can be typed.
  text1_->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[\\x01-\\x{FE}]{0,4}"), text1_));
  text1_->setText(QString::fromLatin1(password.c_str()));
  // Typing replaces the remembered password instead of being added to it.
  text1_->selectAll();
  text1_->setMinimumWidth(140);
  label->setBuddy(text1_);

  // The label ends a little left of the box.
  auto *row = new QHBoxLayout;
  row->addWidget(label);
  row->addSpacing(3);
  row->addWidget(text1_, 1);
  LayOutDialog(this, row, ButtonNames::OkCancel, [this] {
    password_ = link::CleanPassword(text1_->text().toLatin1().toStdString());
    accept();
  });
}

}  // namespace n27
