#include "link/programming_job.h"

#include <cstdio>
#include <ctime>

#include "base/language.h"
#include "base/messages.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "link/backup.h"
#include "link/job_texts.h"
#include "link/transfer_session.h"
#include "link/verify.h"

namespace n27 {

namespace {

using namespace jobText;

JobFact fact(const Tr &text, const std::vector<std::string> &args = {}) {
  return {FillPattern(text.at(kEnglish), args), FillPattern(text.at(kChinese), args)};
}

// The reason a transfer gave, or a general one.
std::string reasonOf(const TransferOutcome &o) {
  if (o.cancelled) return kCancelled.str();
  // The retry question the line answered for itself: nothing answered.
  if (!o.message.empty() && o.message != msg::kRetry.str()) {
    std::string text = o.message;
    for (char &c : text)
      if (c == '\r' || c == '\n') c = ' ';
    return text;
  }
  return kNoAnswer.str();
}

// Bytes on the line for each step, so the job's bar moves with the time the line takes: a
// read block costs 27 bytes (request, frame, acknowledgement and its answer), a written
// block 22, the identify reads four blocks.
constexpr int kReadWeight = 160 * 27;
constexpr int kWriteWeight = 155 * 22;
constexpr int kIdentifyWeight = 4 * 27;

constexpr Tr kMoreFindings{"; and %1 more", "；另有 %1 条"};
constexpr Tr kOverriddenFact{"%1 (plan errors overridden: %2)", "%1（已忽略方案错误：%2）"};

double since(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}

}  // namespace

const std::string &JobFact::text() const {
  return LanguageIndex() == kChinese && !chinese.empty() ? chinese : english;
}

std::string JobStepName(JobStep step) {
  switch (step) {
    case JobStep::Identify: return kStepIdentify.str();
    case JobStep::Check: return kStepCheck.str();
    case JobStep::Backup: return kStepBackup.str();
    case JobStep::Write: return kStepWrite.str();
    case JobStep::Verify: return kStepVerify.str();
  }
  return {};
}

std::string BandFactText(int bandCode) {
  if (bandCode == 0) return "400–490 MHz";
  if (bandCode == 1) return "136–174 MHz";
  return Fill(kBandNumber, {std::to_string(bandCode)});
}

ProgrammingJob::ProgrammingJob(JobLine &line, JobListener &listener, const Workspace &config,
                               JobOptions options)
    : line_(line), listener_(listener), options_(std::move(options)), target_(config),
      configTuning_(config.tuningOrigin), configTuningSerial_(config.tuningSerial) {
  target_.history = EditHistory{};  // the job needs the data, not the way they were made
}

Workspace ProgrammingJob::scratch() const {
  Workspace ws;
  ws.programFolder = target_.programFolder;
  ws.testMode = target_.testMode;
  ws.password = target_.password;
  ws.dataVersion = target_.dataVersion;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  return ws;
}

void ProgrammingJob::start() {
  if (started_) return;
  started_ = true;
  jobStart_ = std::chrono::steady_clock::now();
  identify();
}

int ProgrammingJob::weightOf(JobStep step) const {
  switch (step) {
    case JobStep::Identify: return kIdentifyWeight;
    case JobStep::Backup: return options_.backup ? kReadWeight : 0;
    case JobStep::Write: return kWriteWeight;
    case JobStep::Verify: return options_.verify ? kReadWeight : 0;
    case JobStep::Check: return 0;
  }
  return 0;
}

int ProgrammingJob::weightBefore(JobStep step) const {
  int sum = 0;
  for (JobStep s : {JobStep::Identify, JobStep::Check, JobStep::Backup, JobStep::Write, JobStep::Verify}) {
    if (s == step) break;
    sum += weightOf(s);
  }
  return sum;
}

void ProgrammingJob::beginStep(JobStep step) {
  step_ = step;
  inStep_ = true;
  stepStart_ = std::chrono::steady_clock::now();
  int number = 0, count = 1 + int(options_.backup) + int(options_.verify);
  if (step == JobStep::Backup) number = 1;
  if (step == JobStep::Write) number = 1 + int(options_.backup);
  if (step == JobStep::Verify) number = count;
  listener_.stepStarted(step, number, count);
  transferProgress(0);
}

void ProgrammingJob::endStep(bool ok, const std::string &text) {
  if (!inStep_) return;
  inStep_ = false;
  const double seconds = since(stepStart_);
  result_.steps.push_back({step_, seconds, ok});
  listener_.stepEnded(step_, ok, text, seconds);
}

void ProgrammingJob::transferProgress(int percent) {
  const int total = weightBefore(JobStep::Verify) + weightOf(JobStep::Verify);
  const int done = weightBefore(step_) + weightOf(step_) * percent / 100;
  listener_.progress(step_, percent, total > 0 ? done * 100 / total : 0);
}

void ProgrammingJob::transferEnded(const TransferOutcome &o) {
  switch (step_) {
    case JobStep::Identify: identified(o); break;
    case JobStep::Backup: backedUp(o); break;
    case JobStep::Write: written(o); break;
    case JobStep::Verify: verified(o); break;
    case JobStep::Check: break;
  }
}

// ---------------------------------------------------------------------------------------
// Identify

void ProgrammingJob::identify() {
  beginStep(JobStep::Identify);
  radio_ = scratch();
  PrepareRadioInformationRead(radio_);
  line_.startTransfer(TransferType::RadioInformation, radio_, *this);
}

void ProgrammingJob::identified(const TransferOutcome &o) {
  if (!o.ok) return fail(fact(kNotIdentified, {reasonOf(o)}), {}, o.told);
  RadioIdentity &id = result_.radio;
  id.serial = RadioSerialNumber(radio_.image);
  id.model = o.radio.model;
  id.bandCode = o.radio.band;
  id.firmware = o.radio.firmware;
  touched_ = true;
  // A stray cable never writes the wrong radio: model, band and the radio's blocked state
  // are checked before anything else happens to it.
  if (id.model != target_.modelName)
    return fail(fact(kOtherModel, {id.model, target_.modelName}));
  const int configBand = BandCode(target_.bandText);
  if (id.bandCode != configBand)
    return fail(fact(kOtherBand, {BandFactText(id.bandCode), BandFactText(configBand)}));
  if (o.radio.killed) return fail(fact(msg::kKilled));
  if (o.radio.stunned) return fail(fact(msg::kStunned));
  if (options_.alreadyDone && options_.alreadyDone(id)) {
    touched_ = false;  // nothing happened to it
    endStep(true, {});
    return finish(JobOutcome::AlreadyDone, fact(kAlreadyDone));
  }
  if (options_.perRadio)
    if (std::optional<JobFact> refused = options_.perRadio(id, target_.working)) return fail(*refused);
  if (options_.encode) PrepareWrite(target_);
  endStep(true, {});
  check();
}

// ---------------------------------------------------------------------------------------
// Check

void ProgrammingJob::check() {
  if (!options_.gate) return backup();
  beginStep(JobStep::Check);
  PlanVerdict verdict;
  if (options_.encode) {
    verdict = options_.gate->check(target_.working);
  } else {
    // A restore writes an image: the gate looks at what the image holds.
    Workspace image = scratch();
    image.image = target_.image;
    image.loadingFile = true;
    DecodeImage(image);
    verdict = options_.gate->check(image.working);
  }
  overrideReason_ = verdict.overrideReason;
  result_.overrideReason = overrideReason_;
  // The first three findings of each kind name the problem; the logs and the history stay
  // readable when a plan breaks a rule on every channel (the check window lists them all).
  std::string errors, warnings;
  int errorCount = 0, warningCount = 0;
  for (const PlanFinding &f : verdict.findings) {
    const bool error = f.severity == FindingSeverity::Error;
    std::string &list = error ? errors : warnings;
    if (++(error ? errorCount : warningCount) <= 3) list += (list.empty() ? "" : "; ") + f.message;
  }
  if (errorCount > 3) errors += Fill(kMoreFindings, {std::to_string(errorCount - 3)});
  if (warningCount > 3) warnings += Fill(kMoreFindings, {std::to_string(warningCount - 3)});
  if (verdict.blocked) return fail(fact(kPlanBlocked, {errors}));
  if (!warnings.empty()) listener_.remark(Fill(kPlanWarnings, {warnings}));
  if (!errors.empty()) listener_.remark(Fill(kPlanOverridden, {errors, overrideReason_}));
  endStep(true, {});
  backup();
}

// ---------------------------------------------------------------------------------------
// Backup

void ProgrammingJob::backup() {
  if (!options_.backup) return write();
  beginStep(JobStep::Backup);
  radio_ = scratch();
  PrepareRead(radio_);
  line_.startTransfer(TransferType::Read, radio_, *this);
}

void ProgrammingJob::backedUp(const TransferOutcome &o) {
  target_.password = radio_.password;  // typed once for the backup, used for the write
  if (!o.ok) {
    record(JobOperation::Read, false, reasonOf(o), nullptr);
    BackupResult none;
    none.error = reasonOf(o);
    return fail(fact(kNotBackedUp, {reasonOf(o)}), WriteRefusedWithoutBackupMessage(none), o.told);
  }
  CompleteRead(radio_, o.radio);
  const std::string serial = RadioSerialNumber(radio_.image);
  if (serial != result_.radio.serial) {
    record(JobOperation::Read, false, fact(kOtherRadio, {serial, result_.radio.serial}).text(), &radio_);
    return fail(fact(kOtherRadio, {serial, result_.radio.serial}));
  }
  if (radio_.testMode) ownTuning_ = radio_.tuning;
  const BackupResult kept = keepRadio(BackupReason::BeforeWrite);
  if (!kept.ok) {
    record(JobOperation::Read, false, BackupFailedMessage(kept), &radio_);
    return fail(fact(kNotBackedUp, {kept.error}), WriteRefusedWithoutBackupMessage(kept));
  }
  result_.backupPath = kept.imagePath;
  record(JobOperation::Read, true, {}, &radio_);
  endStep(true, BackupKeptMessage(kept));
  write();
}

// ---------------------------------------------------------------------------------------
// Write

std::optional<JobFact> ProgrammingJob::chooseTuning() {
  if (!target_.testMode) return std::nullopt;
  const TuningOrigin &o = configTuning_;
  const std::string &serial = result_.radio.serial;
  const bool single = options_.operation == JobOperation::Write || options_.operation == JobOperation::Restore;
  // Values read from this very radio, or loaded or typed for the one radio being written.
  const bool fromThisRadio = o.source == TuningSource::Radio && !serial.empty() && configTuningSerial_ == serial;
  const bool givenForIt = single && (o.source == TuningSource::File || (o.source == TuningSource::None && o.edited));
  if (fromThisRadio || givenForIt) return std::nullopt;
  // Nothing read, loaded or typed: zeros only when the operator said so for this write.
  if (single && !o.known()) return options_.zeroTuningConfirmed ? std::nullopt : std::optional(fact(kNoTuning));
  if (ownTuning_) {
    if (o.known() && target_.tuning != *ownTuning_) listener_.remark(kOwnTuningKept.str());
    target_.tuning = *ownTuning_;
    target_.tuningOrigin = {TuningSource::Radio, {}, false};
    target_.tuningSerial = serial;
    return std::nullopt;
  }
  if (o.source == TuningSource::Radio)
    return fact(kOtherRadioTuning, {configTuningSerial_.empty() ? "?" : configTuningSerial_});
  return fact(kNoOwnTuning);
}

void ProgrammingJob::write() {
  if (std::optional<JobFact> refused = chooseTuning()) return fail(*refused);
  beginStep(JobStep::Write);
  result_.written = true;
  line_.startTransfer(TransferType::Write, target_, *this);
}

void ProgrammingJob::written(const TransferOutcome &o) {
  if (!o.ok) {
    record(options_.operation, false, reasonOf(o), &target_);
    return fail(fact(kWriteFailed, {reasonOf(o)}), {}, o.told);
  }
  record(options_.operation, true, {}, &target_);
  endStep(true, SummaryText(o.summary));
  if (!options_.verify) return finish(JobOutcome::Done, fact(kWrittenNotVerified));
  verify();
}

// ---------------------------------------------------------------------------------------
// Verify

void ProgrammingJob::verify() {
  beginStep(JobStep::Verify);
  radio_ = scratch();
  PrepareRead(radio_);
  line_.startTransfer(TransferType::Read, radio_, *this);
}

void ProgrammingJob::verified(const TransferOutcome &o) {
  if (!o.ok) {
    record(JobOperation::Verify, false, reasonOf(o), nullptr);
    return fail(fact(kNotReadBack, {reasonOf(o)}), {}, o.told);
  }
  CompleteRead(radio_, o.radio);
  const std::string serial = RadioSerialNumber(radio_.image);
  if (serial != result_.radio.serial) {
    record(JobOperation::Verify, false, fact(kOtherRadio, {serial, result_.radio.serial}).text(), &radio_);
    return fail(fact(kOtherRadio, {serial, result_.radio.serial}));
  }
  if (std::optional<int> at = FirstWriteDifference(target_, radio_)) {
    char where[32];
    std::snprintf(where, sizeof where, "0x%04X (%d)", *at, *at);
    record(JobOperation::Verify, false, VerifyFailedMessage(*at), &radio_);
    return fail(fact(kVerifyFailed, {where}), VerifyFailedMessage(*at));
  }
  result_.verified = true;
  // The read-back is the radio's state after the write: kept beside the before-write backup
  // (when backups are on), so the history can name and restore it. A failure changes nothing
  // about the write, which is verified.
  std::string after;
  if (options_.backup) {
    const BackupResult kept = keepRadio(BackupReason::AfterWrite);
    if (kept.ok) after = kept.imagePath;
    else listener_.remark(BackupFailedMessage(kept));
  }
  record(JobOperation::Verify, true, {}, &radio_, after);
  endStep(true, VerifiedMessage());
  finish(JobOutcome::Done, fact(kWrittenVerified));
}

// ---------------------------------------------------------------------------------------
// End

BackupResult ProgrammingJob::keepRadio(BackupReason reason) {
  // Pruning keeps every image the history names as a radio's latest state; a history that
  // cannot say prunes nothing.
  const auto keep = options_.recorder ? options_.recorder->protectedBackups() : std::set<std::string>{};
  const BackupResult kept = KeepBackup(radio_, reason, std::time(nullptr),
                                       options_.backupFolder.empty() ? BackupFolder() : options_.backupFolder, keep);
  if (options_.recorder && !kept.pruned.empty()) options_.recorder->backupsPruned(kept.pruned);
  return kept;
}

void ProgrammingJob::record(JobOperation operation, bool ok, const std::string &reason,
                            const Workspace *image, const std::string &backupAfter) {
  if (!ok) failureRecorded_ = true;
  if (!options_.recorder) return;
  JobRecord entry;
  entry.time = std::time(nullptr);
  entry.operation = operation;
  entry.ok = ok;
  entry.reason = reason;
  entry.overrideReason = overrideReason_;
  entry.radio = result_.radio;
  entry.port = options_.port;
  entry.dataFile = options_.dataFile;
  entry.backupBefore = result_.backupPath;
  entry.backupAfter = backupAfter;
  entry.customer = options_.customer;
  if (image) {
    entry.hasImage = true;
    entry.image = image->image;
  }
  // A history that cannot be written is worth a remark, never a different outcome.
  const std::string problem = options_.recorder->record(entry);
  if (!problem.empty()) listener_.remark(problem);
}

void ProgrammingJob::fail(const JobFact &why, const std::string &message, bool told) {
  // A radio refused after it was identified is recorded, unless its failed step was.
  if (touched_ && !failureRecorded_) record(options_.operation, false, why.text(), nullptr);
  endStep(false, message.empty() ? why.text() : message);
  result_.message = message.empty() ? why.text() : message;
  result_.told = told;
  finish(JobOutcome::Failed, why);
}

void ProgrammingJob::finish(JobOutcome outcome, const JobFact &what) {
  result_.outcome = outcome;
  result_.fact = what;
  // Every log that shows the fact (the group and fleet logs, the command line) shows why plan
  // errors did not stop the write.
  if (!overrideReason_.empty())
    result_.fact = {FillPattern(kOverriddenFact.at(kEnglish), {what.english, overrideReason_}),
                    FillPattern(kOverriddenFact.at(kChinese), {what.chinese, overrideReason_})};
  if (result_.message.empty()) result_.message = result_.fact.text();
  result_.seconds = since(jobStart_);
  listener_.jobEnded(result_);
}

}  // namespace n27
