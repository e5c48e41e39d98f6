#pragma once
// The Model Information dialog: the model and the band of a new configuration.

#include <QDialog>

#include "codeplug/workspace.h"

class QComboBox;

namespace n27 {

class frmModelInfo : public QDialog {
  Q_OBJECT

 public:
  frmModelInfo(const Workspace &ws, QWidget *parent = nullptr);
  QString modelText() const;
  QString bandText() const;
  QComboBox *modelBox() const { return model_; }
  QComboBox *bandBox() const { return band_; }

 private:
  QComboBox *model_;
  QComboBox *band_;
};

}  // namespace n27
