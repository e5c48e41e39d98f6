#include "link/fleet_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "base/language.h"
#include "base/paths.h"
#include "codeplug/configuration.h"
#include "link/backup.h"
#include "link/group_write.h"
#include "link/job_texts.h"

namespace n27 {

namespace {

constexpr Tr kWaiting{"waiting for a radio", "等待对讲机"};
constexpr Tr kIdentifying{"identifying", "识别中"};
constexpr Tr kChecking{"checking", "检查中"};
constexpr Tr kBackingUp{"backing up", "备份中"};
constexpr Tr kWriting{"writing", "写入中"};
constexpr Tr kVerifying{"verifying", "校验中"};
constexpr Tr kCableDone{"done", "完成"};
constexpr Tr kCableFailed{"failed", "失败"};
constexpr Tr kTotal{"%1 done, %2 failed, %3 cables waiting", "完成 %1 台，失败 %2 台，%3 条线缆等待中"};
constexpr Tr kNoMessageRow{"the message list has no line left for this radio: not written",
                           "信息列表中已没有分配给本机的行：未写入"};
constexpr Tr kConfigNotKept{"The configuration of %1 could not be kept as %2: %3", "无法将 %1 的配置保存为 %2：%3"};

std::string stepsText(const std::vector<StepTime> &steps) {
  std::string text;
  for (const StepTime &s : steps) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s", s.seconds);
    text += (text.empty() ? "" : "; ") + JobStepName(s.step) + " " + seconds;
  }
  return text;
}

}  // namespace

std::string CableStateText(CableState state) {
  switch (state) {
    case CableState::Waiting: return kWaiting.str();
    case CableState::Identifying: return kIdentifying.str();
    case CableState::Checking: return kChecking.str();
    case CableState::BackingUp: return kBackingUp.str();
    case CableState::Writing: return kWriting.str();
    case CableState::Verifying: return kVerifying.str();
    case CableState::Done: return kCableDone.str();
    case CableState::Failed: return kCableFailed.str();
    case CableState::AlreadyDone: return jobText::kAlreadyDone.str();
  }
  return {};
}

struct FleetRun::Cable {
  CableLine *line = nullptr;
  CableView view;
  std::unique_ptr<JobEvents> events;
  std::unique_ptr<ProgrammingJob> job;
  const MessageRow *row = nullptr;  // the message lines handed to its radio
  bool jobRunning = false;
  bool polling = false;
  bool present = false;  // the radio of the last job is still on the cable
  bool retryWanted = false;  // retry() came while a poll was out
  std::chrono::steady_clock::time_point pollStart;
};

// What a job tells its cable's row.
class FleetRun::JobEvents : public JobListener {
 public:
  JobEvents(FleetRun &run, int cable) : run_(run), cable_(cable) {}
  void stepStarted(JobStep step, int, int) override {
    static constexpr CableState kStates[] = {CableState::Identifying, CableState::Checking,
                                             CableState::BackingUp, CableState::Writing,
                                             CableState::Verifying};
    view().state = kStates[static_cast<int>(step)];
    run_.changed(cable_);
  }
  void progress(JobStep, int, int job) override {
    if (job == view().percent) return;
    view().percent = job;
    run_.changed(cable_);
  }
  void stepEnded(JobStep step, bool ok, const std::string &, double) override {
    if (step == JobStep::Identify && ok) {
      view().serial = run_.cables_[static_cast<std::size_t>(cable_)].job->result().radio.serial;
      run_.changed(cable_);
    }
  }
  void remark(const std::string &text) override { run_.listener_.remark(cable_, text); }
  void jobEnded(const JobResult &result) override { run_.jobEnded(cable_, result); }

 private:
  CableView &view() { return run_.cables_[static_cast<std::size_t>(cable_)].view; }
  FleetRun &run_;
  int cable_;
};


FleetRun::FleetRun(std::vector<CableLine *> lines, FleetListener &listener, const Workspace &config,
                   FleetOptions options)
    : listener_(listener), config_(config), options_(std::move(options)) {
  cables_.resize(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    cables_[i].line = lines[i];
    cables_[i].view.port = lines[i]->name();
    cables_[i].events = std::make_unique<JobEvents>(*this, static_cast<int>(i));
  }
}

FleetRun::~FleetRun() {
  for (Cable &c : cables_) c.line->cancel();
}

int FleetRun::cables() const { return static_cast<int>(cables_.size()); }

const CableView &FleetRun::cable(int i) const { return cables_[static_cast<std::size_t>(i)].view; }

int FleetRun::waiting() const {
  return static_cast<int>(std::count_if(cables_.begin(), cables_.end(),
                                        [](const Cable &c) { return !c.jobRunning; }));
}

std::string FleetRun::totalText() const {
  return Fill(kTotal, {std::to_string(done_), std::to_string(failed_), std::to_string(waiting())});
}

void FleetRun::changed(int i) { listener_.cableChanged(i); }

void FleetRun::start() {
  if (started_) return;
  started_ = true;
  for (int i = 0; i < cables(); ++i) pollNow(i);
}

void FleetRun::stop() {
  stopping_ = true;
  checkEnd();
}

void FleetRun::pollNow(int i) {
  Cable &c = cables_[static_cast<std::size_t>(i)];
  if (stopping_ || c.jobRunning || c.polling) return checkEnd();
  c.polling = true;
  c.pollStart = std::chrono::steady_clock::now();
  // A radio left on the cable after its job is let out of programming mode again.
  c.line->poll(c.present, [this, i](bool answered, const std::string &problem) { polled(i, answered, problem); });
}

void FleetRun::polled(int i, bool answered, const std::string &problem) {
  Cable &c = cables_[static_cast<std::size_t>(i)];
  c.polling = false;
  if (stopping_) return checkEnd();
  const bool retry = std::exchange(c.retryWanted, false);
  if (answered && (!c.present || (retry && c.view.canRetry))) return startJob(i);
  if (!answered && c.present) {
    // Unplugged: the cable waits for the next radio; the row keeps the last outcome.
    c.present = false;
    c.view.state = CableState::Waiting;
    c.view.canRetry = false;
    c.view.percent = 0;
    changed(i);
  }
  if (!problem.empty() && c.view.outcome != problem) {
    c.view.outcome = problem;
    changed(i);
  }
  schedulePoll(i);
}

void FleetRun::schedulePoll(int i) {
  Cable &c = cables_[static_cast<std::size_t>(i)];
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - c.pollStart);
  const int wait = std::max(0, options_.pollIntervalMs - static_cast<int>(spent.count()));
  c.line->wakeAfter(wait, [this, i] { pollNow(i); });
}

void FleetRun::startJob(int i) {
  Cable &c = cables_[static_cast<std::size_t>(i)];
  JobOptions o = options_.job;
  o.port = c.line->name();
  o.alreadyDone = [this](const RadioIdentity &id) { return !id.serial.empty() && doneSerials_.count(id.serial) > 0; };
  c.row = nullptr;
  if (options_.messages) {
    o.perRadio = [this, i](const RadioIdentity &id, CodeplugData &data) -> std::optional<JobFact> {
      Cable &cable = cables_[static_cast<std::size_t>(i)];
      cable.row = options_.messages->take(id.serial);
      if (!cable.row) return JobFact{kNoMessageRow.at(kEnglish), kNoMessageRow.at(kChinese)};
      data.message1.assign(cable.row->line1);
      data.message2.assign(cable.row->line2);
      return std::nullopt;
    };
  }
  c.jobRunning = true;
  c.present = false;
  c.view.state = CableState::Identifying;
  c.view.serial.clear();
  c.view.percent = 0;
  c.view.canRetry = false;
  changed(i);
  c.job = std::make_unique<ProgrammingJob>(*c.line, *c.events, config_, std::move(o));
  c.job->start();
}

bool FleetRun::retry(int i) {
  if (i < 0 || i >= cables()) return false;
  Cable &c = cables_[static_cast<std::size_t>(i)];
  if (stopping_ || c.jobRunning || !c.view.canRetry) return false;
  if (c.polling) {
    c.retryWanted = true;  // the poll's answer starts it
    return true;
  }
  startJob(i);
  return true;
}

void FleetRun::jobEnded(int i, const JobResult &r) {
  Cable &c = cables_[static_cast<std::size_t>(i)];
  c.jobRunning = false;
  c.present = true;
  FleetLogEntry entry;
  entry.number = ++numbers_;
  entry.port = c.view.port;
  entry.serial = r.radio.serial;
  entry.firmware = r.radio.firmware;
  entry.time = std::time(nullptr);
  entry.steps = r.steps;
  entry.outcome = r.outcome;
  entry.detail = r.fact;
  entry.seconds = r.seconds;
  c.view.serial = r.radio.serial;
  c.view.outcome = r.fact.text();
  c.view.percent = r.outcome == JobOutcome::Done ? 100 : c.view.percent;
  switch (r.outcome) {
    case JobOutcome::Done:
      ++done_;
      if (!r.radio.serial.empty()) doneSerials_.insert(r.radio.serial);
      c.view.state = CableState::Done;
      keepConfiguration(i, *c.job);
      break;
    case JobOutcome::AlreadyDone: c.view.state = CableState::AlreadyDone; break;
    default:
      ++failed_;
      c.view.state = CableState::Failed;
      c.view.canRetry = true;
      if (options_.messages) options_.messages->giveBack(c.row);
      break;
  }
  log_.push_back(entry);
  listener_.radioEnded(i, entry);
  changed(i);
  if (options_.count > 0 && done_ >= options_.count) stopping_ = true;
  if (stopping_) return checkEnd();
  c.pollStart = std::chrono::steady_clock::now();
  schedulePoll(i);
}

void FleetRun::keepConfiguration(int i, const ProgrammingJob &job) {
  if (options_.runFolder.empty()) return;
  const std::string serial = job.result().radio.serial;
  std::error_code ec;
  std::filesystem::create_directories(options_.runFolder, ec);
  const std::string name = serial.empty() ? "no-serial-" + std::to_string(numbers_) : SerialFileName(serial);
  const std::string path = JoinPath(options_.runFolder, name + ".dat");
  Workspace kept = job.target();
  FileOutcome why;
  if (SaveDataFile(kept, path, &why) != FileStatus::Ok)
    listener_.remark(i, Fill(kConfigNotKept, {serial, path, why.reason()}));
}

void FleetRun::checkEnd() {
  if (ended_ || !stopping_) return;
  for (const Cable &c : cables_)
    if (c.jobRunning || c.polling) return;
  ended_ = true;
  for (Cable &c : cables_) c.line->cancel();
  listener_.runEnded();
}

// ---------------------------------------------------------------------------------------

std::string FleetLogCsv(const std::vector<FleetLogEntry> &entries) {
  std::string csv = "Number,Port,Serial,Firmware,Time,Steps,Result,Detail\r\n";
  for (const FleetLogEntry &e : entries) {
    const char *result = e.outcome == JobOutcome::Done          ? "OK"
                         : e.outcome == JobOutcome::AlreadyDone ? "ALREADY DONE"
                                                                : "FAILED";
    csv += std::to_string(e.number) + "," + CsvField(e.port) + "," + CsvField(e.serial) + "," +
           CsvField(e.firmware) + "," + LocalTimeText(e.time) + "," + CsvField(stepsText(e.steps)) +
           "," + result + "," + CsvField(e.detail.text()) + "\r\n";
  }
  return csv;
}

std::string FleetEventLine(const FleetLogEntry &e) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, " (%.1f s)", e.seconds);
  const std::string serial = e.serial.empty() ? "?" : e.serial;
  return e.port + " " + serial + ": " + e.detail.text() + seconds;
}

std::string FleetRunFolder(const std::string &dataFile, std::time_t start) {
  return RunLogPath(dataFile, start, "fleet", "");
}

}  // namespace n27
