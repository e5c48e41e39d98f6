#include "app/ui/frmLanguage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/messages.h"
#include "app/ui/dialog_support.h"
#include "app/ui/handler_guard.h"

namespace n27 {

frmLanguage::frmLanguage(QWidget *parent) : QDialog(parent) {
  setObjectName("frmLanguage");
  setWindowTitle(QString::fromUtf8(Text(msg::kSetLanguage)));
  auto *label = new QLabel(QString::fromUtf8(Text(msg::kLanguageSelect)));
  label->setObjectName("Label1");
  combo_ = new QComboBox;
  combo_->setObjectName("Combo1");
  combo_->addItem(QString::fromUtf8(Text(msg::kEnglishName)));
  combo_->addItem(QString::fromUtf8(Text(msg::kChineseName)));
  combo_->setCurrentIndex(LanguageIndex() - 1);
  combo_->setMinimumWidth(160);
  label->setBuddy(combo_);
  EnterMovesToNextControl(combo_);

  auto *okButton = new QPushButton;
  okButton->setObjectName("Command1");
  okButton->setDefault(true);
  auto *cancelButton = new QPushButton;
  cancelButton->setObjectName("Command2");
  connect(okButton, &QPushButton::clicked, this,
          [this] { RunHandler(this, "Command1_Click", [this] { ok(); }); });
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto *form = new QHBoxLayout;
  form->addWidget(label);
  form->addWidget(combo_, 1);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  auto *layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(form);
  layout->addSpacing(10);
  layout->addLayout(buttons);
  SetDialogButtons(this);
}

void frmLanguage::ok() {
  // The first entry is English, the second Chinese, in either language.
  int chosen = combo_->currentIndex() == 1 ? kChinese : kEnglish;
  if (chosen != LanguageIndex()) SetLanguageIndex(chosen);
  accept();
}

}  // namespace n27
