#pragma once
// What the read, write and info commands share: the line options, the answers to the
// transfer's questions (retry N times, then cancel; never switch release), the system's
// messages on stderr, a progress bar on a terminal, and running one transfer to its end.

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_util.h"
#include "codeplug/workspace.h"
#include "link/transfer_engine.h"

namespace n27::cli {

struct LinkOptions {
  std::string port;            // device path or "COM" + number
  std::string password;
  bool passwordGiven = false;
  int retries = 0;             // "retry" answers to the retry question before "cancel"
  int replyTimeoutMs = kReplyTimeoutMs;
};

// --port, --password, --retries and --reply-timeout (milliseconds; for tests).
std::vector<OptionDef> LinkOptionDefs();
// The usage lines of those options.
extern const char *const kLinkOptionsUsage;
// Reads the options; false with a message in `error`.
bool ReadLinkOptions(const Args &args, LinkOptions &out, std::string &error);

// The workspace a transfer needs from the program folder: test mode and the entered password.
void PrepareLinkWorkspace(Workspace &ws, const LinkOptions &options);

// Opens the port and runs one transfer on ws until it ends; the caller has prepared the
// image. True on success; `radio` receives the radio's identification (read and write),
// `summary` what the transfer went through, `message` the last message the transfer showed
// (the reason of a failure; "" when there was none).
bool RunTransfer(const std::string &command, Workspace &ws, TransferType type,
                 const LinkOptions &options, link::Identification *radio = nullptr,
                 TransferSummary *summary = nullptr, std::string *message = nullptr);

// Why a file cannot be written at `path` ("the folder /x does not exist", "is a folder" …),
// looked at before a transfer so that a read is not thrown away afterwards; nullopt when it
// looks writable.
std::optional<std::string> TargetProblem(const std::string &path);

}  // namespace n27::cli
