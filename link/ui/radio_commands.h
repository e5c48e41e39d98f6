#pragma once
// The main window's radio commands: Read from Radio, Write to Radio, Radio Information,
// Program PassWord and Set COM. They run the transfers over the serial line and answer the
// transfer's questions with the program's windows.
//
// This header stays free of the link engine's headers (they are included by the .cpp only),
// so that windows can include it beside the channel model.

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "link/port_directory.h"

namespace n27 {

class frmMain;

class RadioCommands {
 public:
  explicit RadioCommands(frmMain &main);
  ~RadioCommands();

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
  // The reply timer's interval (1.5 s; tests shorten it).
  void setReplyTimeout(std::chrono::milliseconds interval);
  // Called after every transfer (after its completion message, if any): the transfer type
  // (1 read, 2 write, 3 radio information) and whether it succeeded.
  std::function<void(int type, bool success)> onTransferEnded;

 private:
  class Session;
  std::unique_ptr<Session> session_;
};

}  // namespace n27
