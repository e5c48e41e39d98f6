// n27-cli export: the channels of a data file as a channel list in the community CSV format.

#include <iostream>

#include "base/file_io.h"
#include "channels/channel_context.h"
#include "channels/channel_csv.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/command_files.h"

namespace n27::cli {
namespace {

constexpr const char *kExportUsage =
    "Usage: n27-cli export FILE.dat -o LIST.csv\n"
    "\n"
    "Writes every channel in use, in channel order, as a CSV channel list with the full\n"
    "21-column header that other channel-list programmers read (frequencies in MHz with six\n"
    "decimals, power as watts: Low 1.0W, Middle 2.5W, High 5.0W). The file opens in a\n"
    "spreadsheet, and `n27-cli import` reads it back to the same channels.\n"
    "  -o, --output  the list to write; \"-\" writes to standard output\n";

int RunExport(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"-o", "--output"}, true}}, kExportUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) return UsageError("export", "give exactly one data file", kExportUsage);
  const std::string out = parsed->value("-o");
  if (out.empty()) return UsageError("export", "no output file given (-o LIST.csv)", kExportUsage);

  if (auto clash = CommandFiles(TestModeOn())
                        .in(parsed->positional.front(), FileKind::Data)
                        .out(out, FileKind::List)
                        .clash())
    return Fail("export", *clash);
  Workspace ws;
  if (!LoadWorkspace("export", parsed->positional.front(), ws)) return 1;
  ChannelContext ctx(ws);
  std::vector<std::string> warnings;
  const std::string text = csv::ExportChannelCsv(ctx, &warnings);
  for (const std::string &w : warnings) std::cerr << "n27-cli export: " << w << "\n";
  if (out == "-") {
    std::cout << text;
    return std::cout ? 0 : 1;
  }
  if (FileOutcome saved = SaveFile(out, text); !saved.ok())
    return Fail("export", out + ": cannot be written: " + saved.reason());
  std::cout << out << ": " << ws.working.channelCount << " channels\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("export", "write the channels of a data file as a CSV channel list", RunExport);
}  // namespace n27::cli
