// n27-cli write: writes a data file to a radio.

#include <iostream>

#include "base/messages.h"
#include "cli/cli_command.h"
#include "cli/radio_link.h"
#include "link/test_data.h"
#include "link/transfer_session.h"

namespace n27::cli {
namespace {

const std::string kUsage = std::string(
    "Usage: n27-cli write --port PORT FILE.dat [--password PW] [--retries N]\n"
    "                     [--send-zero-tuning]\n"
    "\n"
    "Writes the configuration of FILE.dat to the radio. The radio's information and password\n"
    "blocks are never written. In the factory test mode the tuning values of FILE.ted (beside\n"
    "FILE.dat) are written too; without that file the write is refused, since it would\n"
    "replace the radio's calibration with zeros, unless --send-zero-tuning is given. The\n"
    "system's messages go to stderr; exit code 0 only on success.\n"
    "  --send-zero-tuning  test mode: write a tuning block of zeros when FILE.ted is missing\n") +
    kLinkOptionsUsage;

int RunWrite(const std::vector<std::string> &args) {
  int rc = 0;
  auto optionDefs = LinkOptionDefs();
  optionDefs.push_back({{"--send-zero-tuning"}, false});
  auto parsed = ParseCommand(args, optionDefs, kUsage.c_str(), rc);
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
  if (link::TuningWriteNeedsConfirmation(ws) && !parsed->has("--send-zero-tuning"))
  {
    const std::string ted = TuningFilePath(parsed->positional.front());
    std::string problem = TuningFileReadProblem(ted);
    return Fail("write", link::UnknownTuningWarning(false) + "\n" + ted + ": " +
                             (problem.empty() ? "cannot be read" : problem) +
                             " Give --send-zero-tuning to write zeros all the same.");
  }
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
