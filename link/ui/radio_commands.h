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

#include "channels/ui/main_window_host.h"
#include "link/port_directory.h"

namespace n27 {

class RadioCommands;
class VersionTable;

// What the radio commands need from the main window beyond what every editor may ask.
class RadioHost : public MainWindowHost {
 public:
  // The chosen serial port (0: none) and choosing one (stored in the settings when `store`).
  virtual int comPort() const = 0;
  virtual void setComPort(int port, bool store) = 0;
  // Which radio firmware goes with this release.
  virtual const VersionTable &versions() const = 0;
  // The settings file that lists extra ports under [Ports].
  virtual std::string setupFile() const = 0;
  // A device given on the command line for this run (number 0: none).
  virtual PortEntry extraPort() const = 0;
  // Closes every window except the main window.
  virtual void CloseCurAllWindows() = 0;
  // After a complete read from the radio: the new data shown, caption with the version.
  virtual void showReadConfiguration() = 0;
  // Offers to save a modified configuration; true when the caller may drop it.
  virtual bool offerToSaveChanges() = 0;
  // Ends the program without asking about unsaved changes again.
  virtual void endApplication() = 0;
  virtual RadioCommands &radio() = 0;
};

class RadioCommands {
 public:
  explicit RadioCommands(RadioHost &main);
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
