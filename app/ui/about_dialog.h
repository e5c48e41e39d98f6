#pragma once
// The About window, in English or in Chinese.

#include <QDialog>

namespace n27 {

// The program's version as shown to the user.
inline constexpr const char *kProgramVersion = "2.00";

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(int language, QWidget *parent = nullptr);

 private:
  void startSystemInformation();
};

}  // namespace n27
