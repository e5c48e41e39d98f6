#include "cli/job_console.h"

#include "cli/history_options.h"

#include <QEventLoop>

#include <cstdio>
#include <iostream>
#include <unistd.h>

#include "base/paths.h"
#include "cli/plan_options.h"
#include "link/port_directory.h"
#include "link/qt/job_line.h"
#include "link/verify.h"
#include "link/version_table.h"

namespace n27::cli {

const char *const kBackupOptionUsage =
    "  --no-backup        do not read the radio's memory into the backup folder first\n"
    "                     ($XDG_DATA_HOME/n27/backups; the newest 200 backups are kept)\n";

ConsoleJobListener::ConsoleJobListener(std::string command)
    : command_(std::move(command)), bar_(::isatty(STDERR_FILENO)) {}

void ConsoleJobListener::endBar() {
  if (!barShown_) return;
  std::fprintf(stderr, "\n");
  barShown_ = false;
}

void ConsoleJobListener::stepStarted(JobStep step, int number, int count) {
  label_ = number > 0 ? std::to_string(number) + "/" + std::to_string(count) + " " + JobStepName(step)
                      : JobStepName(step);
}

void ConsoleJobListener::progress(JobStep, int, int jobPercent) {
  if (!bar_) return;
  constexpr int kWidth = 40;
  const int filled = jobPercent * kWidth / 100;
  std::fprintf(stderr, "\r%-12s [%s%s] %3d%%", label_.c_str(),
               std::string(static_cast<std::size_t>(filled), '#').c_str(),
               std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(), jobPercent);
  std::fflush(stderr);
  barShown_ = true;
}

void ConsoleJobListener::stepEnded(JobStep step, bool ok, const std::string &text, double) {
  if (!ok) return;  // the job's end says why
  endBar();
  if (!text.empty()) std::cerr << text << "\n";
  if (step == JobStep::Write) std::cerr << CompletionMessage(TransferType::Write) << "\n";
}

void ConsoleJobListener::remark(const std::string &text) {
  endBar();
  std::cerr << text << "\n";
}

void ConsoleJobListener::jobEnded(const JobResult &result) {
  endBar();
  if (result.outcome != JobOutcome::Failed) return;
  // The plan check printed its findings one a line: the refusal need not repeat them.
  const bool planRefused = !result.steps.empty() && result.steps.back().step == JobStep::Check;
  Fail(command_, planRefused ? PlanRefusedText() : result.message);
}

JobResult RunJob(const std::string &command, const Workspace &config, JobOptions job,
                 const LinkOptions &options, JobListener &listener, bool attended) {
  JobResult failed;
  failed.outcome = JobOutcome::Failed;
  auto device = ResolvePortArgument(ListSerialPorts(PortSettingsPath()), options.port);
  if (!device) {
    failed.message = PortOpenErrorText(PortProblem::Missing, options.port);
    failed.fact = {failed.message, failed.message};
    listener.jobEnded(failed);
    return failed;
  }
  const VersionTable versions = VersionTable::Load(VersionFile());
  TerminalUi ui(command, options.retries);
  SerialJobLine line(*device, versions, options.port);
  line.setReplyTimeout(std::chrono::milliseconds(options.replyTimeoutMs));
  if (attended) line.setAttended(&ui);
  else line.setRetries(options.retries);
  job.port = *device;

  // Hands every event on and ends the loop with the job.
  struct Relay : JobListener {
    JobListener &to;
    QEventLoop loop;
    bool ended = false;
    explicit Relay(JobListener &l) : to(l) {}
    void stepStarted(JobStep s, int n, int c) override { to.stepStarted(s, n, c); }
    void progress(JobStep s, int p, int j) override { to.progress(s, p, j); }
    void stepEnded(JobStep s, bool ok, const std::string &t, double d) override { to.stepEnded(s, ok, t, d); }
    void remark(const std::string &t) override { to.remark(t); }
    void jobEnded(const JobResult &r) override {
      to.jobEnded(r);
      ended = true;
      loop.quit();
    }
  } relay(listener);
  ProgrammingJob programming(line, relay, config, std::move(job));
  programming.start();
  if (!relay.ended) relay.loop.exec();
  return programming.result();
}

std::optional<Args> ParseWriteCommand(const std::string &command, const std::vector<std::string> &args,
                                      std::vector<OptionDef> extra, const std::string &usage, LinkOptions &link,
                                      int &rc) {
  std::vector<OptionDef> defs = LinkOptionDefs();
  defs.insert(defs.end(), extra.begin(), extra.end());
  AddPlanOptions(defs);
  AddHistoryOptions(defs);
  auto parsed = ParseCommand(args, defs, usage.c_str(), rc);
  if (!parsed) return std::nullopt;
  std::string error;
  if (!ReadLinkOptions(*parsed, link, error)) {
    rc = UsageError(command, error, usage.c_str());
    return std::nullopt;
  }
  if (std::string problem = OverrideProblem(*parsed); !problem.empty()) {
    rc = UsageError(command, problem, usage.c_str());
    return std::nullopt;
  }
  return parsed;
}

}  // namespace n27::cli
