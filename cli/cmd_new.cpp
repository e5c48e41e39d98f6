// n27-cli new: a new configuration for a band, saved to a data file.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/command_files.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"

#include <iostream>

namespace n27::cli {
namespace {

constexpr const char *kNewUsage =
    "Usage: n27-cli new [--band 0|1] [--empty] -o OUT.dat\n"
    "\n"
    "Creates a new configuration and saves it to OUT.dat (with its .NVD side file).\n"
    "  --band 0|1     0 = 400 - 490 MHz (default), 1 = 136 - 174 MHz\n"
    "  --empty        do not start from the shipped default data file Init/N27PR_<band>.dat:\n"
    "                 no channels, default settings only\n"
    "  -o, --output   the data file to write\n";

int RunNew(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"--band", "-b"}, true}, {{"--empty"}, false},
                                   {{"-o", "--output"}, true}},
                             kNewUsage, exitCode);
  if (!parsed) return exitCode;
  if (!parsed->positional.empty())
    return UsageError("new", "unexpected argument \"" + parsed->positional.front() + "\"", kNewUsage);
  const std::string out = DataFileName(parsed->value("-o"));
  if (out.empty()) return UsageError("new", "no output file given (-o OUT.dat)", kNewUsage);
  const std::string band = parsed->value("--band", "0");
  if (band != "0" && band != "1")
    return UsageError("new", "the band is 0 (400 - 490 MHz) or 1 (136 - 174 MHz), not \"" + band + "\"",
                      kNewUsage);

  Workspace ws;
  PrepareWorkspace(ws);
  ws.bandText = BandText(band == "1" ? 1 : 0);
  SetBandLimits(ws);
  ws.loadDefaultFile = !parsed->has("--empty");
  NewConfiguration(ws);
  if (!SaveWorkspace("new", ws, out)) return 1;
  std::cout << out << ": " << ws.working.channelCount << " channels, " << ws.bandText << "\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("new", "create a new configuration and save it to a data file", RunNew);
}  // namespace n27::cli
