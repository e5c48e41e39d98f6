#pragma once
// The programming job: everything that happens to one radio when a configuration is written
// to it, in one place for every program and every kind of write (Write to Radio, Restore,
// Write to Group of Radios, the fleet run, and the command line's write and restore).
//
//   identify  the radio-information read (no password): serial number, model, band,
//             firmware, killed/stunned. A radio of another model or band, or one that is
//             killed or stunned, is refused here, before anything is written; a radio done
//             already in this run is "already done".
//   check     the plan check (when a PlanGate is given): errors stop the job.
//   backup    the radio's memory read and kept in the backup folder; no backup, no write.
//   write     the configuration (with this radio's own values) written.
//   verify    the radio read back and compared with what was written.
// Each step that touched a radio is handed to the JobRecorder (when given).
//
// The job is an event-driven state machine: it starts a transfer on its JobLine and goes on
// when the line reports the transfer's end. It never waits, sleeps or polls, so several jobs
// run side by side in one event loop.
//
// Test mode: the tuning block written is this radio's own — the one its backup read found,
// or (for a single write) values read from this very radio, loaded or typed for it. Another
// radio's calibration is never written; a job that has no tuning values of this radio
// refuses with a reason.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/workspace.h"
#include "link/backup.h"
#include "link/frames.h"
#include "link/job_steps.h"
#include "link/transfer_engine.h"

namespace n27 {

enum class JobStep { Identify, Check, Backup, Write, Verify };
// "Identify", "Check", "Backup", "Write", "Verify" in the current language.
std::string JobStepName(JobStep step);

// A fact about a radio, in both languages (the log is kept in either).
struct JobFact {
  std::string english, chinese;
  // The text in the current language.
  const std::string &text() const;
  bool empty() const { return english.empty(); }
};

// What one transfer of a job came to.
struct TransferOutcome {
  bool ok = false;
  link::Identification radio;  // the identification the radio answered with
  std::string message;         // the last message of the transfer: why it failed ("" if none)
  bool told = false;           // that message was shown to the user already
  bool cancelled = false;      // the user answered Cancel to the retry question
  TransferSummary summary;
};

// A job's transfers report to it through this.
class TransferClient {
 public:
  virtual ~TransferClient() = default;
  virtual void transferProgress(int percent) = 0;
  // Called once per started transfer, never from inside JobLine::startTransfer.
  virtual void transferEnded(const TransferOutcome &outcome) = 0;
};

// The line a job runs on: one serial port.
class JobLine {
 public:
  virtual ~JobLine() = default;
  // Starts a transfer of `type` on `ws` (a read fills ws.image and, in test mode, ws.tuning;
  // a write sends ws.image and, in test mode, ws.tuning). The end is reported to `client`
  // later, also when the transfer cannot start.
  virtual void startTransfer(TransferType type, Workspace &ws, TransferClient &client) = 0;
};

enum class JobOutcome { Running, Done, Failed, AlreadyDone };

struct StepTime {
  JobStep step = JobStep::Identify;
  double seconds = 0;
  bool ok = false;
};

struct JobResult {
  JobOutcome outcome = JobOutcome::Running;
  RadioIdentity radio;
  JobFact fact;             // "written and verified", "verify failed at 0x020E" …
  std::string message;      // the same for a message box, with the detail a dealer needs
  bool told = false;        // the reason was shown to the user already (by the line)
  bool written = false;     // the write started: the radio may hold (part of) the data
  bool verified = false;
  std::string backupPath;   // the image kept before the write ("" when none)
  // The dealer's reason for writing despite plan errors ("" when none were overridden); the
  // fact of a job that went on with it ends with "(plan errors overridden: REASON)".
  std::string overrideReason;
  std::vector<StepTime> steps;
  double seconds = 0;
};

class JobListener {
 public:
  virtual ~JobListener() = default;
  // `number` of `count` for the steps that move the radio's memory (backup, write, verify:
  // "1/3 Backup"); 0 for identify and check.
  virtual void stepStarted(JobStep step, int number, int count) {}
  // The step's own percentage and the whole job's.
  virtual void progress(JobStep step, int stepPercent, int jobPercent) {}
  // `text`: why it failed, or what it left (where the backup went, the write's summary of
  // blocks); may be "".
  virtual void stepEnded(JobStep step, bool ok, const std::string &text, double seconds) {}
  // A remark that changes nothing (a recorder that failed, a plan warning, tuning kept).
  virtual void remark(const std::string &text) {}
  // The last call: the job may be destroyed afterwards, but not from inside this call.
  virtual void jobEnded(const JobResult &result) = 0;
};

struct JobOptions {
  JobOperation operation = JobOperation::Write;
  bool backup = true;
  bool verify = true;
  // Rebuild the image from the configuration before the write; false for a restore, which
  // writes the image it was given as it is.
  bool encode = true;
  // Test mode, a single write without a backup: the operator agreed to send a tuning block
  // nobody read, loaded or typed.
  bool zeroTuningConfirmed = false;
  PlanGate *gate = nullptr;          // null: no plan check
  JobRecorder *recorder = nullptr;   // null: nothing recorded
  std::string customer;              // the run's customer or job label
  std::string port;                  // the device, for the records
  std::string dataFile;              // the configuration's file, "" when untitled
  std::string backupFolder;          // "" : BackupFolder()
  // True when this radio was done already in this run: the job ends "already done".
  std::function<bool(const RadioIdentity &)> alreadyDone;
  // This radio's own values put into its configuration (message lines); a fact refuses it.
  std::function<std::optional<JobFact>(const RadioIdentity &, CodeplugData &)> perRadio;
};

class ProgrammingJob : private TransferClient {
 public:
  // `config` is copied: the configuration (or, with encode off, the image) to write, with
  // its model, band, test mode, tuning values and password.
  ProgrammingJob(JobLine &line, JobListener &listener, const Workspace &config, JobOptions options);

  void start();
  bool running() const { return result_.outcome == JobOutcome::Running && started_; }
  const JobResult &result() const { return result_; }
  // What is (or was) written: the configuration with this radio's own values.
  const Workspace &target() const { return target_; }
  // The password as the job ends with it (one typed during the job stays known).
  const std::string &password() const { return target_.password; }

 private:
  void transferProgress(int percent) override;
  void transferEnded(const TransferOutcome &outcome) override;

  void beginStep(JobStep step);
  void endStep(bool ok, const std::string &text);
  void identify();
  void identified(const TransferOutcome &o);
  void check();
  void backup();
  void backedUp(const TransferOutcome &o);
  void write();
  void written(const TransferOutcome &o);
  void verify();
  void verified(const TransferOutcome &o);
  std::optional<JobFact> chooseTuning();
  // Keeps the radio's memory just read (radio_) in the backup folder.
  BackupResult keepRadio(BackupReason reason);
  void record(JobOperation operation, bool ok, const std::string &reason, const Workspace *image,
              const std::string &backupAfter = {});
  // Ends the job as failed in the running step; `told`: the line showed the reason already.
  void fail(const JobFact &fact, const std::string &message = {}, bool told = false);
  void finish(JobOutcome outcome, const JobFact &fact);
  Workspace scratch() const;
  int weightBefore(JobStep step) const;
  int weightOf(JobStep step) const;

  JobLine &line_;
  JobListener &listener_;
  JobOptions options_;
  Workspace target_;
  Workspace radio_;    // the identify, backup and verify reads
  TuningOrigin configTuning_;
  std::string configTuningSerial_;
  std::optional<TuningTable> ownTuning_;
  std::string overrideReason_;
  JobResult result_;
  JobStep step_ = JobStep::Identify;
  bool inStep_ = false;
  bool started_ = false;
  bool touched_ = false;          // a radio was identified: a refusal is recorded
  bool failureRecorded_ = false;
  std::chrono::steady_clock::time_point jobStart_, stepStart_;
};

// The band a code stands for, as facts show it: "400–490 MHz", "136–174 MHz", "band 7".
std::string BandFactText(int bandCode);

}  // namespace n27
