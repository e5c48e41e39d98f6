#include "app/ui/frmModelInfo.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>

#include "base/messages.h"
#include "base/ui/dialog_support.h"
#include "codeplug/bands.h"

namespace n27 {

frmModelInfo::frmModelInfo(const Workspace &ws, QWidget *parent) : QDialog(parent) {
  setObjectName("frmModelInfo");
  setWindowTitle(QString::fromUtf8(Text(msg::kModelInformation)));
  model_ = new QComboBox;
  model_->setObjectName("Combo1_0");
  model_->addItem("N27");
  model_->setCurrentIndex(0);
  band_ = new QComboBox;
  band_->setObjectName("Combo1_1");
  band_->addItem(kBand400);
  band_->addItem(kBand136);
  // The box shows the current band text, also "Unknown Band" (offered only while it is current).
  int shown = band_->findText(QString::fromStdString(ws.bandText));
  if (shown < 0) {
    band_->addItem(QString::fromStdString(ws.bandText));
    shown = band_->count() - 1;
  }
  band_->setCurrentIndex(shown);
  for (QComboBox *box : {model_, band_}) {
    box->setMinimumWidth(180);
    EnterMovesToNextControl(box);
  }

  auto *form = new QFormLayout;
  auto *modelLabel = new QLabel(QString::fromUtf8(Text(msg::kModelLabel)));
  modelLabel->setObjectName("Label1_0");
  auto *bandLabel = new QLabel(QString::fromUtf8(Text(msg::kFrequencyLabel)));
  bandLabel->setObjectName("Label1_1");
  form->addRow(modelLabel, model_);
  form->addRow(bandLabel, band_);
  LayOutDialog(this, form, ButtonNames::Command12);
}

QString frmModelInfo::modelText() const { return model_->currentText(); }
QString frmModelInfo::bandText() const { return band_->currentText(); }

}  // namespace n27
