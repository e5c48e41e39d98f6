#include "cli/write_steps.h"

#include <ctime>
#include <iostream>

#include "codeplug/configuration.h"
#include "link/backup.h"
#include "link/transfer_session.h"
#include "link/verify.h"

namespace n27::cli {

namespace {

// A read of the radio into `radio`, as the read command does it.
bool readRadio(const std::string &command, const LinkOptions &link, Workspace &radio,
               std::string &reason) {
  PrepareLinkWorkspace(radio, link);
  NewConfiguration(radio);
  PrepareRead(radio);
  link::Identification ident;
  if (!RunTransfer(command, radio, TransferType::Read, link, &ident, nullptr, &reason)) {
    if (reason.empty()) reason = "the radio could not be read";
    return false;
  }
  CompleteRead(radio, ident);
  return true;
}

}  // namespace

const char *const kWriteStepsUsage =
    "  --no-backup        do not read the radio's memory into the backup folder first\n"
    "                     ($XDG_DATA_HOME/n27/backups; the newest 200 backups are kept)\n";

StepOutcome BackupBeforeWrite(const std::string &command, const LinkOptions &link) {
  StepOutcome out;
  Workspace radio;
  std::string why;
  if (!readRadio(command, link, radio, why)) {
    out.reason = "the radio's memory could not be read for its backup: " + why;
    Fail(command, out.reason + "\nNothing was written to the radio.");
    return out;
  }
  out.serial = RadioSerialNumber(radio.image);
  const BackupResult kept = KeepBackup(radio, BackupReason::BeforeWrite, std::time(nullptr));
  if (!kept.ok) {
    out.reason = BackupFailedMessage(kept);
    Fail(command, WriteRefusedWithoutBackupMessage(kept));
    return out;
  }
  std::cerr << BackupKeptMessage(kept) << "\n";
  out.ok = true;
  return out;
}

StepOutcome WriteImage(const std::string &command, Workspace &ws, const LinkOptions &link) {
  StepOutcome out;
  TransferSummary summary;
  out.ok = RunTransfer(command, ws, TransferType::Write, link, nullptr, &summary, &out.reason);
  std::cerr << SummaryText(summary) << "\n";
  if (out.ok) {
    out.reason.clear();
    std::cerr << CompletionMessage(TransferType::Write) << "\n";
  } else if (out.reason.empty()) {
    out.reason = "the write did not complete";
  }
  return out;
}

StepOutcome VerifyWrite(const std::string &command, const Workspace &sent, const LinkOptions &link) {
  StepOutcome out;
  Workspace back;
  std::string why;
  if (!readRadio(command, link, back, why)) {
    out.reason = "the radio could not be read back to verify the write: " + why;
    Fail(command, out.reason);
    return out;
  }
  out.serial = RadioSerialNumber(back.image);
  if (auto address = FirstWriteDifference(sent, back)) {
    out.reason = VerifyFailedMessage(*address);
    Fail(command, out.reason);
    return out;
  }
  std::cerr << VerifiedMessage() << "\n";
  out.ok = true;
  return out;
}

}  // namespace n27::cli
