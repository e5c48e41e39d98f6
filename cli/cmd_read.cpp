// n27-cli read: reads a radio into a data file.

#include <ctime>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/radio_link.h"
#include "codeplug/configuration.h"
#include "cli/cli_util.h"
#include "cli/command_files.h"
#include "cli/history_options.h"
#include "link/backup.h"
#include "link/transfer_session.h"

namespace n27::cli {
namespace {

const std::string kReadUsage = std::string(
    "Usage: n27-cli read --port PORT -o OUT.dat [--image-out OUT.img] [--no-backup]\n"
    "                    [--customer TEXT] [--database URL] [--no-history] [--password PW]\n"
    "                    [--retries N]\n"
    "\n"
    "Reads the radio's memory and saves it as an untitled read would be saved: OUT.dat with\n"
    "its .NVD side file (and, in the factory test mode, the radio's tuning values in\n"
    "OUT.ted). The read is recorded in the radio history (the radio's serial number, the\n"
    "file, the backup and the image); a history that cannot record it changes nothing but\n"
    "says so. The system's messages go to stderr; exit code 0 only on success.\n"
    "  -o, --output       the data file to write\n"
    "  --image-out FILE   also write the raw 2561-byte memory image\n"
    "  --no-backup        do not keep the read in the backup folder as well\n"
    "                     ($XDG_DATA_HOME/n27/backups: the raw image and the data file, named\n"
    "                     by date, time and the radio's serial number; the newest 200 are kept,\n"
    "                     and every backup the radio history names as a radio's latest state)\n") +
    kHistoryOptionsUsage + kLinkOptionsUsage;

int RunRead(const std::vector<std::string> &args) {
  auto optionDefs = LinkOptionDefs();
  optionDefs.push_back({{"-o", "--output"}, true});
  optionDefs.push_back({{"--image-out"}, true});
  optionDefs.push_back({{"--no-backup"}, false});
  AddHistoryOptions(optionDefs);
  int rc = 0;
  auto parsed = ParseCommand(args, optionDefs, kReadUsage.c_str(), rc);
  if (!parsed) return rc;
  LinkOptions link;
  std::string error;
  if (!ReadLinkOptions(*parsed, link, error)) return UsageError("read", error, kReadUsage.c_str());
  const std::string out = DataFileName(parsed->value("-o"));
  if (out.empty()) return UsageError("read", "no output file given (-o OUT.dat)", kReadUsage.c_str());
  if (!parsed->positional.empty())
    return UsageError("read", "unexpected argument \"" + parsed->positional.front() + "\"", kReadUsage.c_str());

  // The files must be writable before the radio is read, or the read would be thrown away.
  const std::string imageOut = parsed->value("--image-out");
  if (auto clash = CommandFiles(TestModeOn()).out(out, FileKind::Data).out(imageOut, FileKind::Image).clash())
    return Fail("read", *clash);
  std::vector<std::string> targets = DataFileCompanions(out, TestModeOn());
  targets.push_back(out);
  targets.push_back(imageOut);
  for (const std::string &target : targets) {
    if (target.empty()) continue;
    if (auto problem = TargetProblem(target)) return Fail("read", *problem);
  }

  Workspace ws;
  PrepareLinkWorkspace(ws, link);
  NewConfiguration(ws);
  PrepareRead(ws);
  CommandHistory history(*parsed);
  ReadRecord record(history, link.port);
  link::Identification radio;
  TransferSummary summary;
  std::string message;
  const bool read = RunTransfer("read", ws, TransferType::Read, link, &radio, &summary, &message);
  std::cerr << SummaryText(summary) << "\n";
  if (!read) {
    record.failed(ws, radio, message);
    return 1;
  }
  CompleteRead(ws, radio);
  std::string backup;
  if (!parsed->has("--no-backup")) {
    // Kept before the data file is saved: whatever happens to OUT.dat, the read is not lost.
    const BackupResult kept = record.keepBackup(ws);
    std::cerr << (kept.ok ? BackupKeptMessage(kept) : BackupFailedMessage(kept)) << "\n";
    backup = kept.imagePath;
  }
  if (!SaveWorkspace("read", ws, out)) {
    record.done(ws, radio, "", backup);
    // Something changed since the check (the folder went away, the disk filled up): the
    // radio's data are kept, not dropped.
    if (auto kept = KeepRadioImage(ws, std::time(nullptr)))
      std::cerr << KeptImageMessage(*kept) << "\n(n27-cli decode " << *kept
                << " -o OUT.dat turns it into a data file.)\n";
    else
      std::cerr << KeepReadAfterFailedSave(ws) << "\n";
    return 1;
  }
  record.done(ws, radio, out, backup);
  if (!imageOut.empty() && !WriteImageFile("read", ws.image, imageOut)) return 1;
  std::cerr << CompletionMessage(TransferType::Read) << "\n";
  std::cout << out << ": " << ws.working.channelCount << " channels, " << ws.modelName << " "
            << ws.bandText << ", firmware " << ws.firmwareVersion << "\n";
  if (ws.testMode) std::cout << TuningFilePath(out) << ": the radio's tuning values\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("read", "read a radio into a data file", RunRead);
}  // namespace n27::cli
