#pragma once
// The main window's radio commands: Read from Radio, Write to Radio, Radio Information,
// Program PassWord and Set COM. They run the transfers over the serial line and answer the
// transfer's questions with the program's windows.

#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "link/port_directory.h"
#include "link/transfer_engine.h"

namespace n27 {

class frmMain;
class FrmProgress;
class SerialTransfer;

class RadioCommands : public QObject, private TransferUi {
  Q_OBJECT

 public:
  explicit RadioCommands(frmMain &main);
  ~RadioCommands() override;

  void readFromRadio();
  void writeToRadio();
  // Tools → Radio Information: the radio's information area, then its window.
  void radioInformation();
  // Edit → Local Message: the same read, with the image erased first.
  void readRadioInformationForWindow();
  void programPassword();
  void setCom();

  // True while a transfer runs.
  bool busy() const;
  // The serial ports offered (the system's, the configured ones, a device given at start).
  std::vector<PortEntry> ports() const;
  // The line (tests shorten its reply timer).
  SerialTransfer &line() { return *line_; }

 signals:
  // A transfer ended (after its completion message, if any).
  void transferEnded(TransferType type, bool success);

 private:
  // TransferUi
  bool askRetry(const std::string &text) override;
  void askPassword(std::string &password) override;
  bool askSwitchRelease(const std::string &text) override;
  void showMessage(const std::string &text, MessageIcon icon) override;
  void progress(int percent) override;
  void finished(bool success) override;
  void switchRelease(const std::string &programVersion) override;

  // Opens the chosen port to see that it can be used; shows why not. The port stays open.
  bool openChosenPort();
  // Read or write with the progress window; the question asked before.
  void runWithProgress(TransferType type);
  void startInformationRead(bool erase);
  void informationReadEnded(bool success);
  QWidget *dialogParent() const;

  frmMain &main_;
  std::unique_ptr<SerialTransfer> line_;
  QPointer<FrmProgress> progress_;
  TransferType running_ = TransferType::None;
  bool lastSuccess_ = false;
};

}  // namespace n27
