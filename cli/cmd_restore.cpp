// n27-cli restore: writes a raw image (a backup) back to a radio.

#include <filesystem>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/history_options.h"
#include "cli/job_console.h"
#include "cli/plan_options.h"
#include "link/restore.h"

namespace n27::cli {
namespace {

const std::string kUsage = std::string(
    "Usage: n27-cli restore --port PORT IMAGE.img [--verify] [--no-backup] [--licence FILE]\n"
    "                       [--override REASON] [--customer TEXT] [--database URL]\n"
    "                       [--no-history] [--password PW] [--retries N]\n"
    "\n"
    "Writes a raw memory image (2560 or 2561 bytes: a backup from the backup folder, or an\n"
    "image saved by read --image-out) back to the radio as it is. The image must be of this\n"
    "model, of a known band and hold at least one channel; the radio must match its model and\n"
    "band and accept the programming password, as for any write. The radio's information,\n"
    "password and tuning blocks (432..511) are never written. First the radio's current\n"
    "memory is kept in the backup folder. The image's configuration is checked as a write's\n"
    "plan is (against --licence when given): an error stops the restore unless --override\n"
    "gives a reason. The restore is recorded in the radio history. Not available in the\n"
    "factory test mode.\n"
    "  --verify           read the radio back after the write and compare every written\n"
    "                     block; a difference fails the restore and names its address\n") +
    kBackupOptionUsage + kPlanOptionsUsage + kHistoryOptionsUsage + kLinkOptionsUsage;

int RunRestore(const std::vector<std::string> &args) {
  int rc = 0;
  auto optionDefs = LinkOptionDefs();
  optionDefs.push_back({{"--no-backup"}, false});
  optionDefs.push_back({{"--verify"}, false});
  AddPlanOptions(optionDefs);
  AddHistoryOptions(optionDefs);
  auto parsed = ParseCommand(args, optionDefs, kUsage.c_str(), rc);
  if (!parsed) return rc;
  LinkOptions link;
  std::string error;
  if (!ReadLinkOptions(*parsed, link, error)) return UsageError("restore", error, kUsage.c_str());
  if (parsed->positional.size() != 1)
    return UsageError("restore", "give one image file to restore", kUsage.c_str());
  if (std::string problem = OverrideProblem(*parsed); !problem.empty())
    return UsageError("restore", problem, kUsage.c_str());

  Workspace ws;
  PrepareLinkWorkspace(ws, link);
  if (auto refused = PrepareRestore(ws, parsed->positional.front())) return Fail("restore", *refused);
  JobOptions job;
  job.operation = JobOperation::Restore;
  job.encode = false;  // the image goes out as it is
  job.backup = !parsed->has("--no-backup");
  job.verify = parsed->has("--verify");
  std::error_code ec;
  job.dataFile = std::filesystem::absolute(parsed->positional.front(), ec).string();  // what was put back
  if (ec) job.dataFile = parsed->positional.front();
  ConsolePlanGate gate(*parsed, ws);
  job.gate = &gate;
  CommandHistory history(*parsed);
  job.recorder = history.recorder();
  job.customer = history.customer();
  ConsoleJobListener console("restore");
  return RunJob("restore", ws, job, link, console).outcome == JobOutcome::Done ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("restore", "write a raw image (a backup) back to a radio", RunRestore);
}  // namespace n27::cli
