// n27-cli fleet: one configuration written to many radios on several cables at once.

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "base/messages.h"
#include "base/paths.h"
#include "cli/cli_command.h"
#include "cli/history_options.h"
#include "cli/job_console.h"
#include "cli/plan_options.h"
#include "link/fleet_run.h"
#include "link/group_write.h"
#include "link/port_directory.h"
#include "link/qt/job_line.h"
#include "link/transfer_session.h"
#include "link/version_table.h"

namespace n27::cli {
namespace {

const std::string kFleetUsage = std::string(
    "Usage: n27-cli fleet FILE.dat --port P1 --port P2 [--port ...] [--count N]\n"
    "                     [--messages LIST.csv] [--no-backup] [--licence LICENCE.csv]\n"
    "                     [--override REASON] [--customer TEXT] [--database URL]\n"
    "                     [--no-history] [--password PW] [--retries N]\n"
    "\n"
    "Writes FILE.dat to one radio after another on several cables at once, with no key press\n"
    "per radio. Each cable without a radio sends the program request once a second; a radio\n"
    "that answers is identified (model, band, state and serial number checked before anything\n"
    "is written), its plan checked, backed up, written and verified. Unplug it and plug in\n"
    "the next. The plan is checked before the run too: an error (of the channels, the scan\n"
    "banks or the customer's licence) stops it before any radio, unless --override gives a\n"
    "reason, which then goes into each radio's output line, the log's Detail and the radio\n"
    "history; every radio's steps are recorded there. A radio whose serial number was done\n"
    "in this run is not written again (\"already done\"); a radio that failed is written\n"
    "again when it is plugged in again. One line per event:\n"
    "  COM66 N27-0042: written and verified (4.3 s)\n"
    "The run ends after N radios are done (--count), or on q + Enter, at the end of the input\n"
    "(without --count) or on Ctrl+C; the jobs running are finished first. Each radio's\n"
    "configuration is kept as SERIAL.dat in FILE-fleet-YYYYMMDD-HHMMSS/ beside FILE.dat, the\n"
    "log as FILE-fleet-YYYYMMDD-HHMMSS.csv. Exit code 0 only when every radio it started\n"
    "succeeded.\n"
    "  --port PORT        a cable (give two or more): a device path or COM + number\n"
    "  --count N          end after N radios are done\n"
    "  --messages LIST    per-radio message lines: CSV with the columns Serial, Line1, Line2;\n"
    "                     rows without a serial number go to the radios in turn\n") +
    kBackupOptionUsage + kPlanOptionsUsage + kHistoryOptionsUsage +
    "  --password PW      the radios' programming password, when they have one\n"
    "  --retries N        answer \"Check Connection. Retry or Cancel?\" with Retry N times\n";

int gSignalPipe[2] = {-1, -1};
void onSignal(int) {
  const char c = 'x';
  (void)!::write(gSignalPipe[1], &c, 1);
  std::signal(SIGINT, SIG_DFL);  // a second Ctrl+C ends at once
}

// One line per event on stdout; remarks and cable problems on stderr.
class FleetConsole : public FleetListener {
 public:
  FleetConsole(FleetRun *&run, const ConsolePlanGate &gate) : run_(run), gate_(gate) {}
  void cableChanged(int cable) override {
    const CableView &v = run_->cable(cable);
    const bool found = v.state == CableState::Identifying && shown_[cable] != CableState::Identifying;
    if (found) std::cout << v.port << ": " << CableStateText(v.state) << "\n" << std::flush;
    if (v.state == CableState::Waiting && !v.outcome.empty() && problems_[cable] != v.outcome &&
        shown_[cable] == CableState::Waiting) {
      problems_[cable] = v.outcome;
      std::cerr << v.port << ": " << v.outcome << "\n";
    }
    shown_[cable] = v.state;
  }
  void radioEnded(int, const FleetLogEntry &ended) override {
    FleetLogEntry entry = ended;
    entry.detail = WithOverride(entry);
    details_[entry.number] = entry.detail;
    std::cout << FleetEventLine(entry) << "\n" << std::flush;
  }
  void remark(int cable, const std::string &text) override {
    std::cerr << run_->cable(cable).port << ": " << text << "\n";
  }
  void runEnded() override { QCoreApplication::exit(0); }
  // The run's log with the reason of an override in the Detail of each radio written with it.
  std::vector<FleetLogEntry> log() const {
    std::vector<FleetLogEntry> entries = run_->log();
    for (FleetLogEntry &e : entries)
      if (auto it = details_.find(e.number); it != details_.end()) e.detail = it->second;
    return entries;
  }

 private:
  JobFact WithOverride(const FleetLogEntry &e) const {
    const std::string reason = gate_.overrideReason(e.steps);
    return {WithOverrideReason(e.detail.english, reason, kEnglish),
            WithOverrideReason(e.detail.chinese, reason, kChinese)};
  }
  FleetRun *&run_;
  const ConsolePlanGate &gate_;
  std::map<int, JobFact> details_;
  std::map<int, CableState> shown_;
  std::map<int, std::string> problems_;
};

int RunFleet(const std::vector<std::string> &args) {
  int rc = 0;
  LinkOptions link;
  auto parsed = ParseWriteCommand("fleet", args, {{{"--no-backup"}, false}, {{"--count"}, true}, {{"--messages"}, true}},
                                  kFleetUsage, link, rc);
  if (!parsed) return rc;
  std::string error;
  if (parsed->positional.size() != 1)
    return UsageError("fleet", "give one data file to write", kFleetUsage.c_str());
  std::vector<std::string> ports;
  for (const auto &[name, value] : parsed->options)
    if (name == "--port") ports.push_back(value);
  if (ports.size() < 2) return UsageError("fleet", "give two or more ports (--port P1 --port P2)", kFleetUsage.c_str());
  FleetOptions options;
  if (parsed->has("--count")) {
    const std::string count = parsed->value("--count");
    char *end = nullptr;
    const long n = std::strtol(count.c_str(), &end, 10);
    if (count.empty() || *end || n < 1 || n > 100000)
      return UsageError("fleet", "--count takes a number from 1 to 100000", kFleetUsage.c_str());
    options.count = static_cast<int>(n);
  }

  Workspace ws;
  PrepareLinkWorkspace(ws, link);
  const std::string dataFile = parsed->positional.front();
  if (!LoadWorkspace("fleet", dataFile, ws)) return 1;
  if (!WriteAllowed(ws)) return Fail("fleet", msg::kNothingToWrite.str());
  if (parsed->has("--messages")) {
    options.messages = MessageList::Load(parsed->value("--messages"), error);
    if (!options.messages) return Fail("fleet", error);
  }
  ConsolePlanGate gate(*parsed, ws);
  if (!PlanAllowsRun("fleet", gate, ws)) return 1;

  // Every cable's device, each once.
  const std::vector<PortEntry> known = ListSerialPorts(PortSettingsPath());
  const VersionTable versions = VersionTable::Load(VersionFile());
  std::vector<std::unique_ptr<SerialJobLine>> lines;
  std::vector<CableLine *> cables;
  std::set<std::string> devices;
  for (const std::string &port : ports) {
    auto device = ResolvePortArgument(known, port);
    if (!device) return Fail("fleet", PortOpenErrorText(PortProblem::Missing, port));
    if (!devices.insert(*device).second) return Fail("fleet", port + " is given twice");
    lines.push_back(std::make_unique<SerialJobLine>(*device, versions, port));
    lines.back()->setReplyTimeout(std::chrono::milliseconds(link.replyTimeoutMs));
    lines.back()->setRetries(link.retries);
    cables.push_back(lines.back().get());
  }

  const std::time_t start = std::time(nullptr);
  std::error_code ec;
  std::string absolute = std::filesystem::absolute(dataFile, ec).string();
  if (ec) absolute = dataFile;
  options.job.operation = JobOperation::Fleet;
  options.job.backup = !parsed->has("--no-backup");
  options.job.verify = true;
  options.job.dataFile = absolute;
  options.runFolder = FleetRunFolder(absolute, start);
  options.job.gate = &gate;
  CommandHistory history(*parsed);
  options.job.recorder = history.recorder();
  options.job.customer = history.customer();

  FleetRun *runPointer = nullptr;
  FleetConsole console(runPointer, gate);
  FleetRun run(cables, console, ws, std::move(options));
  runPointer = &run;

  // q + Enter or the end of the input (without --count) ends the run; so does Ctrl+C.
  const bool endOnEof = !parsed->has("--count");
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) input.setEnabled(false);
    if ((n <= 0 && endOnEof) || (n > 0 && (buffer[0] == 'q' || buffer[0] == 'Q'))) run.stop();
  });
  if (::pipe(gSignalPipe) != 0) return Fail("fleet", "no pipe for Ctrl+C");
  QSocketNotifier interrupt(gSignalPipe[0], QSocketNotifier::Read);
  QObject::connect(&interrupt, &QSocketNotifier::activated, [&] {
    char c;
    (void)!::read(gSignalPipe[0], &c, 1);
    std::cerr << "\n";
    run.stop();
  });
  std::signal(SIGINT, onSignal);

  std::cout << "Waiting for radios on";
  for (const std::string &port : ports) std::cout << " " << port;
  std::cout << " (q + Enter to finish)\n" << std::flush;
  run.start();
  if (!run.ended()) QCoreApplication::exec();
  std::signal(SIGINT, SIG_DFL);

  std::cout << run.totalText() << "\n";
  const GroupLogSave saved = SaveRunLog(FleetLogCsv(console.log()), absolute, start, "fleet");
  for (const std::string &problem : saved.problems) Fail("fleet", problem);
  if (saved.ok) std::cerr << "Log: " << saved.path << "\n";
  return run.allSucceeded() && saved.ok ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("fleet", "write a data file to many radios on several cables at once", RunFleet);
}  // namespace n27::cli
