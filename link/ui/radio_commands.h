#pragma once
// The main window's radio commands: Read from Radio, Write to Radio, Write to Group of
// Radios, Restore Radio from Backup, Radio Information, Program PassWord and Set COM. They run
// the transfers over the serial line and answer the transfer's questions with the program's
// windows.
//
// Nothing is written to a radio without a copy of what it held: every read keeps a backup,
// and a write first reads the radio into a backup (unless the user turned that off), then
// reads it back to verify what was written (likewise). These reads go into workspaces of
// their own; the open configuration is not touched by them.
//
// This header stays free of the link engine's headers (they are included by the .cpp only),
// so that windows can include it beside the channel model.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
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
  // The open configuration to one radio after another, each backed up, written and verified;
  // a log of the run at the end, saved as CSV beside the data file.
  void writeToGroup();
  // File → Restore Radio from Backup…: a kept radio image written back to the radio.
  void restoreFromBackup();
  // Program → Program Several Radios…: the fleet window (several cables at once).
  void programSeveralRadios();
  // Tools → Radio History's "Put this radio back to this state": the image at `imagePath`
  // written back as a restore (its question, the plan check, backup and verify as set),
  // recorded in the history as an entry of its own.
  void restoreImage(const std::string &imagePath);
  // Program → Customer or Job…: the customer or job label every history entry of this
  // session's transfers carries ("" none).
  void customerCommand();
  const std::string &customer() const;
  // File → Open Backup Folder: the folder of the backups in the desktop's file manager.
  void openBackupFolder();
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
  // Setting menu: back up the radio before each write, read it back after each write to
  // verify it. Both on unless the user turned them off; remembered per user.
  static bool backupBeforeWrite();
  static void setBackupBeforeWrite(bool on);
  static bool verifyAfterWrite();
  static void setVerifyAfterWrite(bool on);

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
