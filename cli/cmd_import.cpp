// n27-cli import: a channel list in the community CSV format into a data file.

#include <iostream>

#include "channels/channel_context.h"
#include "channels/channel_csv.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"

namespace n27::cli {
namespace {

constexpr const char *kImportUsage =
    "Usage: n27-cli import FILE.dat LIST.csv [-o OUT.dat] [--append] [--replace] [--chinese]\n"
    "\n"
    "Reads a channel list in the community CSV format (columns Location, Frequency, Duplex,\n"
    "Offset, Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode, Mode,\n"
    "Skip, Power, matched by their header names) into the channels of FILE.dat and saves it in\n"
    "place (or to OUT.dat). Each row goes to the channel its Location names (a list counted\n"
    "from Location 0 moves up by one) and overwrites what is there. A row the radio cannot hold\n"
    "is skipped and reported with its line number and reason; nothing is bent into range.\n"
    "  -o, --output  the data file to write (default: FILE.dat itself)\n"
    "  --append      rows go, in file order, to the free channels after the highest channel\n"
    "                in use (then the gaps from channel 1); Location is not needed\n"
    "  --replace     the list replaces the channel plan: channels it does not fill are removed\n"
    "  --chinese     the summary in the texts of the Chinese interface\n"
    "Exit code: 0 every row imported, 3 saved but rows were skipped, 1 nothing imported or an\n"
    "error (nothing saved), 2 wrong use.\n";

int RunImport(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(
      args, {{{"-o", "--output"}, true}, {{"--append"}, false}, {{"--replace"}, false}, {{"--chinese"}, false}},
      kImportUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 2) return UsageError("import", "give a data file and a channel list", kImportUsage);
  if (parsed->has("--chinese")) SetLanguageIndex(kChinese);
  const std::string &dataPath = parsed->positional[0], &listPath = parsed->positional[1];

  const auto target = EditedFileTarget("import", *parsed, dataPath, {listPath});
  if (!target) return 1;
  std::string text, error;
  if (!csv::ReadChannelCsvFile(listPath, text, error)) return Fail("import", error);
  Workspace ws;
  if (!LoadWorkspace("import", dataPath, ws)) return 1;
  ChannelContext ctx(ws, [](const std::string &message, MessageIcon) {
    std::cerr << "n27-cli import: " << message << "\n";
  });
  csv::ImportOptions options;
  options.placement = parsed->has("--append") ? csv::Placement::Append : csv::Placement::AtLocation;
  options.replaceAll = parsed->has("--replace");
  const csv::ImportReport report = csv::ImportChannelCsv(ctx, text, options);
  if (!report.ok) return Fail("import", listPath + ": " + report.error);
  std::cout << csv::ImportSummaryText(report);
  if (report.imported() == 0) return Fail("import", "nothing saved");
  if (!SaveWorkspace("import", ws, *target)) return 1;
  return report.skipped.empty() ? 0 : 3;
}

}  // namespace
N27_CLI_COMMAND("import", "read a CSV channel list into a data file", RunImport);
}  // namespace n27::cli
