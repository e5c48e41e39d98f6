// n27-cli restore: writes a raw image (a backup) back to a radio.

#include <QTemporaryFile>

#include <filesystem>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/history_options.h"
#include "cli/job_console.h"
#include "cli/plan_options.h"
#include "base/settings.h"
#include "history/history_store.h"
#include "link/restore.h"

namespace n27::cli {
namespace {

const std::string kRestoreUsage = std::string(
    "Usage: n27-cli restore --port PORT (IMAGE.img | --entry ID) [--verify] [--no-backup]\n"
    "                       [--licence FILE] [--override REASON] [--customer TEXT]\n"
    "                       [--database URL] [--no-history] [--password PW] [--retries N]\n"
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
    "  --entry ID         restore the image the radio history keeps with entry ID (n27-cli\n"
    "                     history lists them): the radio as that step left it, also when its\n"
    "                     backup file is gone or was made on another bench\n"
    "  --verify           read the radio back after the write and compare every written\n"
    "                     block; a difference fails the restore and names its address\n") +
    kBackupOptionUsage + kPlanOptionsUsage + kHistoryOptionsUsage + kLinkOptionsUsage;

int RunRestore(const std::vector<std::string> &args) {
  int rc = 0;
  LinkOptions link;
  auto parsed = ParseWriteCommand("restore", args, {{{"--no-backup"}, false}, {{"--verify"}, false}, {{"--entry"}, true}},
                                  kRestoreUsage, link, rc);
  if (!parsed) return rc;
  const bool fromEntry = parsed->has("--entry");
  int entry = 0;
  if (parsed->positional.size() != (fromEntry ? 0u : 1u))
    return UsageError("restore", "give one image file to restore, or --entry ID", kRestoreUsage.c_str());
  if (fromEntry && (!n27::ParseInteger(parsed->value("--entry"), entry) || entry < 1))
    return UsageError("restore", "--entry wants the number of a history entry", kRestoreUsage.c_str());

  Workspace ws;
  PrepareLinkWorkspace(ws, link);
  CommandHistory history(*parsed);
  QTemporaryFile kept;  // the entry's image, for the checks of any image to restore
  std::string image = fromEntry ? std::string() : parsed->positional.front();
  if (fromEntry) {
    if (!history.store()) return Fail("restore", history.problem());
    std::string why;
    const auto bytes = history.store()->image(entry, why);
    if (!bytes) return Fail("restore", "entry " + std::to_string(entry) + ": " + why);
    if (!kept.open()) return Fail("restore", "no temporary file for the entry's image");
    const auto size = static_cast<qint64>(RadioImage::kSize);
    if (kept.write(reinterpret_cast<const char *>(bytes->bytes().data()), size) != size || !kept.flush())
      return Fail("restore", "the entry's image could not be kept in a temporary file");
    image = kept.fileName().toStdString();
  }
  if (auto refused = PrepareRestore(ws, image)) return Fail("restore", *refused);
  JobOptions job;
  job.operation = JobOperation::Restore;
  job.encode = false;  // the image goes out as it is
  job.backup = !parsed->has("--no-backup");
  job.verify = parsed->has("--verify");
  std::error_code ec;
  if (!fromEntry) job.dataFile = std::filesystem::absolute(image, ec).string();  // what was put back
  if (ec) job.dataFile = image;
  ConsolePlanGate gate(*parsed, ws);
  job.gate = &gate;
  job.recorder = history.recorder();
  job.customer = history.customer();
  ConsoleJobListener console("restore");
  return RunJob("restore", ws, job, link, console).outcome == JobOutcome::Done ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("restore", "write a raw image (a backup) back to a radio", RunRestore);
}  // namespace n27::cli
