#pragma once
// FrmFleet: Program Several Radios. The dealer ticks two or more cables (and may give a list
// of per-radio message lines); Start waits for radios on every cable and programs each one
// that is plugged in, without a click per radio. A row per cable shows its port, state,
// serial number, progress and outcome, with Retry for a failed radio; a total line and the
// run's log below (saved as CSV beside the configuration after every radio).

#include <QDialog>

#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include "codeplug/workspace.h"
#include "link/fleet_run.h"
#include "link/port_directory.h"
#include "plan/plan_gate.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTreeWidget;

namespace n27 {

class SerialJobLine;
class VersionTable;

class FrmFleet : public QDialog, private FleetListener {
  Q_OBJECT

 public:
  // `config` is copied: the configuration every radio gets. `job`: backup, verify, recorder,
  // customer label and data file as the program has them (the plan gate is made at Start).
  FrmFleet(const Workspace &config, const VersionTable &versions, std::vector<PortEntry> ports,
           JobOptions job, std::chrono::milliseconds replyTimeout, QWidget *parent = nullptr);
  ~FrmFleet() override;

  QListWidget *cableList() const { return cables_; }
  QTableWidget *rows() const { return rows_; }
  QTreeWidget *log() const { return log_; }
  QPushButton *startButton() const { return start_; }
  QLineEdit *customerField() const { return customer_; }
  // The licence the plan is checked against at Start (another configuration chosen here brings
  // the licence kept beside it).
  void setLicence(plan::AttachedLicence licence) { licence_ = std::move(licence); }
  // The customer or job label as the field holds it.
  std::string customer() const;
  QString totalText() const;
  QString savedText() const;
  // A line for the status bar once the window closes.
  QString summary() const;
  const FleetRun *run() const { return run_.get(); }

 protected:
  void closeEvent(QCloseEvent *event) override;
  void reject() override;

 private:
  // FleetListener
  void cableChanged(int cable) override;
  void radioEnded(int cable, const FleetLogEntry &entry) override;
  void remark(int cable, const std::string &text) override;
  void runEnded() override;

  void startOrStop();
  void begin();
  void chooseMessages();
  void chooseConfiguration();
  void saveLog();
  void showTotal();
  void setRunning(bool running);

  Workspace config_;
  const VersionTable &versions_;
  std::vector<PortEntry> ports_;
  JobOptions job_;
  std::chrono::milliseconds replyTimeout_;
  plan::AttachedLicence licence_;
  std::unique_ptr<PlanGate> gate_;  // the run's plan check, with the dealer's reason
  std::vector<std::unique_ptr<SerialJobLine>> lines_;
  std::unique_ptr<FleetRun> run_;
  std::time_t started_ = 0;
  bool closeWhenEnded_ = false;

  QLabel *configuration_;
  QPushButton *pick_;
  QListWidget *cables_;
  QLineEdit *messages_;
  QLineEdit *customer_;
  QCheckBox *backup_;
  QPushButton *start_;
  QPushButton *close_;
  QTableWidget *rows_;
  QLabel *total_;
  QTreeWidget *log_;
  QLabel *saved_;
  QLabel *remark_;
};

}  // namespace n27
