// The desktop program's writes — Write to Radio, Write to Group of Radios, Restore Radio from
// Backup — each radio one programming job in one progress window.

#include <QApplication>
#include "base/qt/qt_text.h"
#include <QDateTime>
#include <QFileInfo>

#include <ctime>
#include <memory>

#include "base/messages.h"
#include "base/ui/prompter.h"
#include "codeplug/image_codec.h"
#include "link/backup.h"
#include "link/group_write.h"
#include "link/qt/job_line.h"
#include "link/restore.h"
#include "link/test_data.h"
#include "link/transfer_session.h"
#include "link/ui/FrmBackupList.h"
#include "link/ui/FrmCustomer.h"
#include "link/ui/FrmFleet.h"
#include "link/ui/FrmGroupLog.h"
#include "link/ui/link_texts.h"
#include "link/ui/radio_session.h"
#include "link/ui/trust_texts.h"
#include "link/verify.h"
#include "plan/plan_gate.h"
#include "plan/ui/plan_commands.h"

namespace n27 {

namespace {


// "Read data from radio." / "Do you wish continue?" on two lines.
QString writeQuestion(const Tr &first, const Tr &second) { return qs(first) + "\n" + qs(second); }

// What a job shows while it runs: the step and one bar in the progress window, the step in
// the status bar.
class WindowListener : public JobListener {
 public:
  explicit WindowListener(RadioHost &main) : main_(main) {}
  QPointer<FrmProgress> window;
  std::string backupNote;
  std::vector<std::string> remarks;

  void stepStarted(JobStep step, int number, int count) override {
    const std::string name = JobStepName(step);
    if (window)
      window->setStep(number > 0 ? qs(std::to_string(number) + "/" + std::to_string(count) + " " + name)
                                 : qs(name));
    if (step == JobStep::Backup) main_.showStatus(qs(trustText::kBackingUp));
    if (step == JobStep::Verify) main_.showStatus(qs(trustText::kVerifying));
  }
  void progress(JobStep, int, int jobPercent) override {
    if (window) window->SetProgressValue(jobPercent);
  }
  void stepEnded(JobStep step, bool ok, const std::string &text, double) override {
    if (ok && step == JobStep::Backup) backupNote = text;
  }
  void remark(const std::string &text) override {
    remarks.push_back(text);
    main_.showStatus(qs(text));
  }
  void jobEnded(const JobResult &result) override {
    if (window) window->finish(result.outcome == JobOutcome::Done);
  }

 private:
  RadioHost &main_;
};

}  // namespace

JobOptions RadioCommands::Session::jobOptions(JobOperation operation) {
  JobOptions o;
  o.recorder = history_.recorder();
  o.customer = customer_;
  o.operation = operation;
  o.backup = RadioCommands::backupBeforeWrite();
  o.verify = RadioCommands::verifyAfterWrite();
  o.port = device_;
  const Workspace &ws = main_.workspace();
  o.dataFile = ws.untitled ? std::string() : ws.fileName;
  return o;
}

JobResult RadioCommands::Session::runJob(const Workspace &config, JobOptions options, bool attended) {
  line_->closePort();  // the job's line opens the same device
  SerialJobLine line(device_, main_.versions(), PortName(main_.comPort()));
  line.setReplyTimeout(line_->replyTimeout());
  if (attended) line.setAttended(this);
  WindowListener listener(main_);
  ProgrammingJob job(line, listener, config, std::move(options));
  FrmProgress window(FrmProgress::Kind::Write, [&job] {
    job.start();
    return true;
  }, main_.hostWidget());
  listener.window = &window;
  progress_ = &window;
  running_ = TransferType::Write;
  lastMessage_.clear();
  ExecDialog(window);
  progress_ = nullptr;
  running_ = TransferType::None;
  main_.workspace().password = job.password();  // typed once, known for the rest of the run
  JobResult result = job.result();
  std::string status = result.message;
  if (result.outcome == JobOutcome::Done) {
    status = CompletionMessage(TransferType::Write);
    if (result.verified) status += " " + VerifiedMessage();
  }
  for (char &c : status)
    if (c == '\n' || c == '\r') c = ' ';
  if (!listener.backupNote.empty()) status += " " + listener.backupNote;
  if (!result.overrideReason.empty()) status += " " + Fill(trustText::kOverrideNoted, {result.overrideReason});
  status = withHistoryProblems(status);
  lastStatus_ = status;
  main_.showStatus(qs(status));
  return result;
}

void RadioCommands::Session::reportJob(const JobResult &result, const Tr &done) {
  if (result.outcome == JobOutcome::Done) {
    QString text = qs(done);
    if (result.verified) text += "\n" + qs(VerifiedMessage());
    ShowMessage(main_.hostWidget(), text, BoxIcon::None);
  } else if (!result.told && result.outcome == JobOutcome::Failed) {
    ShowMessage(main_.hostWidget(), qs(result.message), BoxIcon::Critical);
  }
}

bool RadioCommands::Session::writeChecks(bool single) {
  main_.storePendingInput();
  Workspace &ws = main_.workspace();
  if (!WriteAllowed(ws)) {
    ShowMessage(main_.hostWidget(), qs(Text(msg::kNothingToWrite)), BoxIcon::None);
    return false;
  }
  // A test-mode write also sends the tuning block: never zeros nobody read, loaded or typed
  // without the operator's say-so (they would replace the radio's factory calibration). A
  // group writes each radio's own values.
  if (single && link::TuningWriteNeedsConfirmation(ws) &&
      Ask(main_.hostWidget(), qs(link::UnknownTuningWarning()), Prompt::WarningCancelFirst) != Answer::Ok)
    return false;
  return openChosenPort();
}

std::unique_ptr<PlanGate> RadioCommands::Session::reviewPlan(const CodeplugData &config) {
  auto gate = std::make_unique<plan::RulesGate>(plan::WorkspaceLicence(main_.workspace()));
  const std::optional<std::string> reason = ReviewPlanBeforeWrite(gate->check(config).findings, main_.hostWidget());
  if (!reason) {
    main_.showStatus(qs(trustText::kPlanStopped));
    return nullptr;
  }
  gate->setOverrideReason(*reason);
  return gate;
}

void RadioCommands::Session::customerCommand() {
  FrmCustomer box(customer_, main_.hostWidget());
  if (ExecDialog(box) == QDialog::Accepted)
    main_.showStatus(qs(customer_.empty() ? Text(trustText::kCustomerNone) : Fill(trustText::kCustomerSet, {customer_})));
}

void RadioCommands::Session::writeToRadio() {
  if (busy()) return;
  if (!writeChecks(true)) return;
  line_->closePort();
  const std::unique_ptr<PlanGate> gate = reviewPlan(main_.workspace().working);
  if (!gate) return;
  if (Ask(main_.hostWidget(), writeQuestion(msg::kWriteQuestion1, msg::kWriteQuestion2),
          Prompt::QuestionOkCancel) != Answer::Ok) {
    line_->closePort();
    return;
  }
  JobOptions options = jobOptions(JobOperation::Write);
  options.gate = gate.get();
  // The operator confirmed a tuning block nobody read, loaded or typed above.
  options.zeroTuningConfirmed = link::TuningWriteNeedsConfirmation(main_.workspace());
  const JobResult result = runJob(main_.workspace(), std::move(options), true);
  reportJob(result, msg::kWriteDone);
  ended(TransferType::Write, result.outcome == JobOutcome::Done);
}

void RadioCommands::Session::writeToGroup() {
  if (busy()) return;
  if (!writeChecks(false)) return;
  line_->closePort();
  Workspace &ws = main_.workspace();
  // The plan is checked once before the run; each radio's job checks it again with its own
  // values and the same reason.
  const std::unique_ptr<PlanGate> gate = reviewPlan(ws.working);
  if (!gate) return;
  // The start question names the label every entry of the run carries.
  const std::string label =
      customer_.empty() ? Text(trustText::kCustomerNone) : Fill(trustText::kCustomerSet, {customer_});
  if (Ask(main_.hostWidget(), qs(trustText::kGroupStart) + "\n\n" + qs(label), Prompt::QuestionOkCancel) != Answer::Ok)
    return;
  const std::time_t start = std::time(nullptr);
  std::vector<GroupWriteEntry> entries;
  int written = 0, failed = 0;
  for (int n = 1;; ++n) {
    // A failed radio is a fact in the log and in the next-radio question; the write asks
    // nothing of its own.
    JobOptions options = jobOptions(JobOperation::Group);
    options.gate = gate.get();
    const JobResult r = runJob(ws, std::move(options), false);
    GroupWriteEntry entry;
    entry.number = n;
    entry.serial = r.radio.serial;
    entry.time = std::time(nullptr);
    entry.success = r.outcome == JobOutcome::Done;
    entry.result = !entry.success ? r.fact.text()
                   : r.verified   ? GroupRadioDoneText()
                                  : Text(trustText::kWrittenNotVerified);
    // The log says why plan errors did not stop the write.
    if (entry.success && !r.overrideReason.empty())
      entry.result += " " + Fill(trustText::kOverrideNoted, {r.overrideReason});
    entries.push_back(entry);
    ++(entry.success ? written : failed);
    ended(TransferType::Write, entry.success);
    const std::string serial = entry.serial.empty() ? Text(trustText::kUnknownSerial) : entry.serial;
    std::string text =
        entry.success ? Fill(trustText::kGroupRadioDone, {std::to_string(n), serial, entry.result})
                      : Fill(trustText::kGroupRadioFailed, {std::to_string(n), serial, entry.result});
    text += "\n\n" + GroupProgressText(written, failed) + "\n\n" + Text(trustText::kGroupFinishHint);
    if (Ask(main_.hostWidget(), qs(text), Prompt::QuestionOkFinish) != Answer::Ok) break;
  }
  // The log beside the data file (an untitled configuration, or a folder that takes no file:
  // the user's data folder).
  const GroupLogSave saved = SaveGroupLog(entries, ws.untitled ? std::string() : ws.fileName, start);
  std::string savedText;
  for (const std::string &problem : saved.problems) savedText += problem + "\n";
  if (saved.ok) savedText += GroupLogSavedMessage(saved.path);
  main_.showStatus(qs(savedText).replace('\n', ' '));
  FrmGroupLog log(entries, qs(savedText), main_.hostWidget());
  ExecDialog(log);
}

void RadioCommands::Session::restoreFromBackup() {
  if (busy()) return;
  // The backups as a list, newest first; a file elsewhere can still be chosen.
  FrmBackupList list(BackupFolder(), main_.hostWidget());
  if (ExecDialog(list) != QDialog::Accepted || list.chosenPath().isEmpty()) return;
  restoreImage(list.chosenPath());
}

void RadioCommands::Session::restoreImage(const QString &chosen) {
  if (busy()) return;
  // The image goes into a workspace of its own: the open configuration is not part of it.
  Workspace image;
  image.programFolder = main_.workspace().programFolder;
  image.testMode = main_.workspace().testMode;
  image.password = main_.workspace().password;
  image.loadDefaultFile = false;
  if (std::optional<std::string> refusal = PrepareRestore(image, chosen.toStdString())) {
    ShowMessage(main_.hostWidget(), qs(*refusal), BoxIcon::Critical);
    return;
  }
  const std::string serial = RadioSerialNumber(image.image);
  const QString kept = QFileInfo(chosen).lastModified().toString("yyyy-MM-dd HH:mm:ss");
  if (!openChosenPort()) return;
  line_->closePort();
  // The configuration the image holds is checked as any other write's.
  Workspace decoded = image;
  decoded.loadingFile = true;
  DecodeImage(decoded);
  const std::unique_ptr<PlanGate> gate = reviewPlan(decoded.working);
  if (!gate) return;
  const std::string text = Fill(trustText::kRestoreQuestion,
      {chosen.toStdString(), kept.toStdString(), serial.empty() ? Text(trustText::kUnknownSerial) : serial});
  if (Ask(main_.hostWidget(), qs(text), Prompt::WarningOkCancel) != Answer::Ok) return;
  JobOptions options = jobOptions(JobOperation::Restore);
  options.encode = false;  // the image goes out as it is
  options.dataFile.clear();
  options.gate = gate.get();
  const JobResult result = runJob(image, std::move(options), true);
  reportJob(result, trustText::kRestoreCompleted);
  ended(TransferType::Write, result.outcome == JobOutcome::Done);
}

void RadioCommands::Session::programSeveralRadios() {
  if (busy()) return;
  main_.storePendingInput();
  const Workspace &ws = main_.workspace();
  if (!WriteAllowed(ws)) {
    ShowMessage(main_.hostWidget(), qs(Text(msg::kNothingToWrite)), BoxIcon::None);
    return;
  }
  line_->closePort();
  running_ = TransferType::Write;
  FrmFleet window(ws, main_.versions(), ports(), jobOptions(JobOperation::Fleet), line_->replyTimeout(),
                  main_.hostWidget());
  window.setLicence(plan::WorkspaceLicence(ws));
  ExecDialog(window);
  running_ = TransferType::None;
  customer_ = window.customer();  // edited there, kept for the session
  main_.showStatus(qs(withHistoryProblems(window.summary().toStdString())));
}

}  // namespace n27
