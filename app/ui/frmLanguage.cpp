#include "app/ui/frmLanguage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

#include "base/messages.h"
#include "base/ui/dialog_support.h"

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

  auto *form = new QHBoxLayout;
  form->addWidget(label);
  form->addWidget(combo_, 1);
  LayOutDialog(this, form, ButtonNames::Command12, [this] { ok(); });
}

void frmLanguage::ok() {
  // The first entry is English, the second Chinese, in either language.
  int chosen = combo_->currentIndex() == 1 ? kChinese : kEnglish;
  if (chosen != LanguageIndex()) SetLanguageIndex(chosen);
  accept();
}

}  // namespace n27
