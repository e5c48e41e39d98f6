// n27-cli write: writes a data file to a radio, or to a group of radios one after another.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "base/file_io.h"
#include "base/messages.h"
#include "cli/cli_command.h"
#include "cli/history_options.h"
#include "cli/job_console.h"
#include "cli/plan_options.h"
#include "link/group_write.h"
#include "link/test_data.h"
#include "link/transfer_session.h"

namespace n27::cli {
namespace {

const std::string kWriteUsage = std::string(
    "Usage: n27-cli write --port PORT FILE.dat [--verify] [--no-backup] [--group]\n"
    "                     [--licence LICENCE.csv] [--override REASON] [--customer TEXT]\n"
    "                     [--database URL] [--no-history] [--password PW] [--retries N]\n"
    "                     [--send-zero-tuning]\n"
    "\n"
    "Writes the configuration of FILE.dat to the radio. First the radio is identified (its\n"
    "model, band and state are checked before anything is written), then its current memory\n"
    "is read and kept in the backup folder; when that fails, nothing is written. Before the\n"
    "write the plan is checked (the channels, the scan banks and the customer's licence): an\n"
    "error stops it, its findings printed one a line, unless --override gives a reason;\n"
    "warnings are printed. Every step is recorded in the radio history. The radio's\n"
    "information and password blocks are never written. In the factory test mode the tuning\n"
    "values of FILE.ted (beside FILE.dat) are written too; without that file the write is\n"
    "refused, since it would replace the radio's calibration with zeros, unless\n"
    "--send-zero-tuning is given. The system's messages go to stderr; exit code 0 only on\n"
    "success.\n"
    "  --verify           read the radio back after the write and compare every written\n"
    "                     block; a difference fails the write and names its address\n") +
    kBackupOptionUsage +
    "  --group            write a group of radios in a row (always verified): after each\n"
    "                     radio press Enter for the next one (connected to the same PORT,\n"
    "                     which may be a link that points to the next radio's device), or\n"
    "                     q (or end of input) to finish. A radio that fails is reported and\n"
    "                     the run goes on; in the test mode each radio keeps its own tuning\n"
    "                     values. The log (number, serial number, time, result) is printed\n"
    "                     at the end and saved beside FILE.dat as\n"
    "                     FILE-group-YYYYMMDD-HHMMSS.csv (in ~/.local/share/n27 when that\n"
    "                     folder takes no file); exit code 0 only when every radio succeeded.\n"
    "  --send-zero-tuning  test mode: write a tuning block of zeros when FILE.ted is missing\n" +
    kPlanOptionsUsage + kHistoryOptionsUsage + kLinkOptionsUsage;

int runGroup(const Workspace &ws, const std::string &dataFile, JobOptions job, const LinkOptions &link,
             ConsolePlanGate &gate) {
  if (!PlanAllowsRun("write", gate, ws)) return 1;
  const std::time_t start = std::time(nullptr);
  std::vector<GroupWriteEntry> log;
  int written = 0, failed = 0;
  job.operation = JobOperation::Group;
  job.verify = true;
  for (int number = 1;; ++number) {
    std::cerr << "--- " << number << " ---\n";
    ConsoleJobListener console("write");
    const JobResult r = RunJob("write", ws, job, link, console);
    GroupWriteEntry entry;
    entry.number = number;
    entry.serial = r.radio.serial;
    entry.time = std::time(nullptr);
    entry.success = r.outcome == JobOutcome::Done;
    entry.result = WithOverrideReason(entry.success ? GroupRadioDoneText() : r.fact.text(),
                                      gate.overrideReason(r.steps));
    (entry.success ? written : failed) += 1;
    log.push_back(entry);
    std::cerr << (entry.success ? "OK" : "FAILED") << ": " << entry.result << "\n";
    std::cout << GroupProgressText(written, failed) << "\n" << GroupNextPrompt() << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) {
      std::cout << "\n";
      break;
    }
    if (!line.empty() && (line[0] == 'q' || line[0] == 'Q')) break;
  }
  std::cout << GroupLogText(log);
  const GroupLogSave saved = SaveGroupLog(log, job.dataFile.empty() ? dataFile : job.dataFile, start);
  for (const std::string &problem : saved.problems) Fail("write", problem);
  if (saved.ok) std::cerr << GroupLogSavedMessage(saved.path) << "\n";
  return failed == 0 && saved.ok ? 0 : 1;
}

int RunWrite(const std::vector<std::string> &args) {
  int rc = 0;
  LinkOptions link;
  auto parsed = ParseWriteCommand(
      "write", args,
      {{{"--send-zero-tuning"}, false}, {{"--no-backup"}, false}, {{"--verify"}, false}, {{"--group"}, false}},
      kWriteUsage, link, rc);
  if (!parsed) return rc;
  if (parsed->positional.size() != 1)
    return UsageError("write", "give one data file to write", kWriteUsage.c_str());

  Workspace ws;
  PrepareLinkWorkspace(ws, link);  // test mode first: it brings the file's tuning values along
  const std::string dataFile = parsed->positional.front();
  if (!LoadWorkspace("write", dataFile, ws)) return 1;
  if (!WriteAllowed(ws)) return Fail("write", msg::kNothingToWrite.str());
  const bool group = parsed->has("--group");
  // A single write of tuning values nobody read, loaded or typed needs the operator's word;
  // a group keeps each radio's own.
  if (!group && link::TuningWriteNeedsConfirmation(ws) && !parsed->has("--send-zero-tuning")) {
    const std::string ted = TuningFilePath(dataFile);
    std::string problem = TuningFileReadProblem(ted);
    return Fail("write", link::UnknownTuningWarning(false) + "\n" + ted + ": " +
                             (problem.empty() ? "cannot be read" : problem) +
                             " Give --send-zero-tuning to write zeros all the same.");
  }
  JobOptions job;
  job.backup = !parsed->has("--no-backup");
  job.verify = parsed->has("--verify");
  job.zeroTuningConfirmed = parsed->has("--send-zero-tuning");
  std::error_code ec;
  job.dataFile = std::filesystem::absolute(dataFile, ec).string();
  if (ec) job.dataFile = dataFile;
  ConsolePlanGate gate(*parsed, ws);
  job.gate = &gate;
  CommandHistory history(*parsed);
  job.recorder = history.recorder();
  job.customer = history.customer();
  if (group) return runGroup(ws, dataFile, job, link, gate);
  ConsoleJobListener console("write");
  return RunJob("write", ws, job, link, console).outcome == JobOutcome::Done ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("write", "write a data file to a radio (or to a group of radios)", RunWrite);
}  // namespace n27::cli
