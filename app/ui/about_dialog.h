#pragma once
// The About window, in English or in Chinese.

#include <QDialog>

#include "base/program_version.h"

namespace n27 {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(int language, QWidget *parent = nullptr);

 private:
  void startSystemInformation();
};

}  // namespace n27
