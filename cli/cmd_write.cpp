// n27-cli write: writes a data file to a radio.

#include <iostream>

#include "base/messages.h"
#include "cli/cli_command.h"
#include "cli/radio_link.h"
#include "link/transfer_session.h"

namespace n27::cli {
namespace {

const std::string kUsage = std::string(
    "Usage: n27-cli write --port PORT FILE.dat [--password PW] [--retries N]\n"
    "\n"
    "Writes the configuration of FILE.dat to the radio. The radio's information, password\n"
    "and tuning blocks are never written. The system's messages go to stderr; exit code 0\n"
    "only on success.\n") + kLinkOptionsUsage;

int RunWrite(const std::vector<std::string> &args) {
  int rc = 0;
  auto parsed = ParseCommand(args, LinkOptionDefs(), kUsage.c_str(), rc);
  if (!parsed) return rc;
  LinkOptions link;
  std::string error;
  if (!ReadLinkOptions(*parsed, link, error)) return UsageError("write", error, kUsage.c_str());
  if (parsed->positional.size() != 1)
    return UsageError("write", "give one data file to write", kUsage.c_str());

  Workspace ws;
  PrepareLinkWorkspace(ws, link);  // test mode first: it brings the file's tuning values along
  if (!LoadWorkspace("write", parsed->positional.front(), ws)) return 1;
  if (!WriteAllowed(ws)) return Fail("write", msg::kNothingToWrite.str());
  PrepareWrite(ws);
  TransferSummary summary;
  const bool written = RunTransfer("write", ws, TransferType::Write, link, nullptr, &summary);
  std::cerr << SummaryText(summary) << "\n";
  if (!written) return 1;
  std::cerr << CompletionMessage(TransferType::Write) << "\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("write", "write a data file to a radio", RunWrite);
}  // namespace n27::cli
