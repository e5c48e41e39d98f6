#pragma once
// The radio commands' session (private to link/ui): one serial line and the transfer or job
// running on it, with the windows that answer its questions. radio_commands.cpp holds the
// reads, write_commands.cpp the writes (every one a programming job).

#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "history/ui/session_history.h"
#include "link/backup.h"
#include "link/programming_job.h"
#include "link/qt/serial_port.h"
#include "link/ui/FrmProgress.h"
#include "link/ui/radio_commands.h"

namespace n27 {

class RadioCommands::Session : public TransferUi {
 public:
  explicit Session(RadioHost &main, RadioCommands &owner);

  void readFromRadio();
  void writeToRadio();
  void writeToGroup();
  void restoreFromBackup();
  void programSeveralRadios();
  void restoreImage(const QString &imagePath);
  void customerCommand();
  const std::string &customer() const { return customer_; }
  void openBackupFolder();
  void startInformationRead(bool erase);
  void programPassword();
  void setCom();
  bool busy() const;
  std::vector<PortEntry> ports() const;
  SerialTransfer &line() { return *line_; }

 private:
  // TransferUi
  bool askRetry(const std::string &text) override;
  void askPassword(std::string &password) override;
  bool askSwitchRelease(const std::string &text) override;
  void showMessage(const std::string &text, MessageIcon icon) override;
  void progress(int percent) override;
  void note(const std::string &text) override;
  void finished(bool success) override;
  void switchRelease(const std::string &programVersion) override;

  // Opens the chosen port to see that it can be used; shows why not. The port stays open and
  // device_ names it.
  bool openChosenPort();
  // Runs a read on `line` with the progress window; true when it completed. The port is
  // closed afterwards.
  bool runTransfer(FrmProgress::Kind kind, TransferType type, SerialTransfer &line);
  // Runs one programming job of `config` on the chosen port in the one progress window
  // ("1/3 Backup", "2/3 Write", "3/3 Verify", one bar for the whole). Attended: the
  // transfer's questions and messages come up as boxes; otherwise the unattended policy.
  JobResult runJob(const Workspace &config, JobOptions options, bool attended);
  // The status line and message box after a single write or restore.
  void reportJob(const JobResult &result, const Tr &done);
  // Everything up to the write question: pending input stored, a channel to write, the
  // tuning block confirmed, the port usable. `single`: one radio (a group keeps each radio's
  // own tuning values).
  bool writeChecks(bool single);
  // The options of a job on the chosen port: backup and verify as set, the session's history
  // and customer label.
  JobOptions jobOptions(JobOperation operation);
  // The plan check before a write of `config` against the open configuration's licence: the
  // findings shown when there are any. Null when the dealer stopped; else the gate every job
  // of the write checks again with (the dealer's reason for overriding errors in it).
  std::unique_ptr<PlanGate> reviewPlan(const CodeplugData &config);
  // The history's problems of the transfer just ended, added to `status` ("This step was not
  // recorded in the radio history: …"); a damaged history's notice shown once.
  std::string withHistoryProblems(std::string status);
  // A read's entry in the history (with its backup, kept with the history's pruning).
  BackupResult recordRead(bool ok);
  void informationReadEnded(bool success);
  void ended(TransferType type, bool success);
  QWidget *dialogParent();

  RadioHost &main_;
  RadioCommands &owner_;
  std::unique_ptr<SerialTransfer> line_;
  QPointer<FrmProgress> progress_;
  TransferType running_ = TransferType::None;
  bool lastSuccess_ = false;
  std::string note_;  // the transfer's remark, shown in the status bar with its summary
  std::string lastStatus_;   // the status line of the last transfer
  std::string lastMessage_;  // the last message the transfer showed (why it failed)
  std::string device_;       // the chosen port's device
  SessionHistory history_;
  std::string customer_;     // the customer or job label of this session
};

}  // namespace n27
