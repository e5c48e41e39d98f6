// n27-cli show: a data file in readable text.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/show_sections.h"

#include <iostream>

namespace n27::cli {
namespace {

constexpr const char *kShowUsage =
    "Usage: n27-cli show FILE.dat\n"
    "\n"
    "Prints the configuration of a data file: model, band, every channel and the settings.\n";

int RunShow(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {}, kShowUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) return UsageError("show", "give exactly one data file", kShowUsage);

  Workspace ws;
  if (!LoadWorkspace("show", parsed->positional.front(), ws)) return 1;
  std::cout << "File: " << ws.fileName << "\n"
            << "Model: " << ws.modelName << "\n"
            << "Band: " << ws.bandText << "\n";
  PrintChannelTable(ws, std::cout);
  PrintSettingsSections(ws, std::cout);
  return 0;
}

}  // namespace
N27_CLI_COMMAND("show", "print the configuration of a data file", RunShow);
}  // namespace n27::cli
