#pragma once
// The main window's radio commands: Read from Radio, Write to Radio, Radio Information,
// Program PassWord and Set COM.

#include <QObject>

namespace n27 {

class frmMain;

class RadioCommands : public QObject {
  Q_OBJECT

 public:
  explicit RadioCommands(frmMain &main);
  ~RadioCommands() override;

  void readFromRadio();
  void writeToRadio();
  // Tools → Radio Information: the radio's information area, then its window.
  void radioInformation();
  // Edit → Local Message: the same read with the image filled with FF first.
  void readRadioInformationForWindow();
  void programPassword();
  void setCom();

  // True while a transfer runs.
  bool busy() const;

 private:
  frmMain &main_;
};

}  // namespace n27
