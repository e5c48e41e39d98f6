#pragma once
// The steps around a write that write, restore and the group write share: the backup of the
// radio's memory before it is overwritten, the write itself, and the verify that reads the
// radio back. Each prints what it did on stderr.

#include <string>

#include "cli/radio_link.h"
#include "codeplug/workspace.h"

namespace n27::cli {

// What a step found out about the radio, and why it failed.
struct StepOutcome {
  bool ok = false;
  std::string serial;  // the radio's serial number when its memory was read
  std::string reason;  // why it failed (for the group log); printed already
};

// Reads the radio into a scratch workspace and keeps it as a before-write backup. A failed
// read or a backup that cannot be kept means the write must not start.
StepOutcome BackupBeforeWrite(const std::string &command, const LinkOptions &link);

// Writes ws.image as it is (the caller has run PrepareWrite, or PrepareRestore).
StepOutcome WriteImage(const std::string &command, Workspace &ws, const LinkOptions &link);

// Reads the radio back and compares the written blocks with what was sent from `sent`.
StepOutcome VerifyWrite(const std::string &command, const Workspace &sent, const LinkOptions &link);

// The usage lines of --no-backup and --verify.
extern const char *const kWriteStepsUsage;

}  // namespace n27::cli
