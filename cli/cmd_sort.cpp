// n27-cli sort: sorts channels by RX frequency, as the channel grid's sort command does.

#include "channels/channel_block_ops.h"
#include "channels/channel_context.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"

namespace n27::cli {
namespace {

constexpr const char *kSortUsage =
    "Usage: n27-cli sort FILE.dat [--desc] [--range A-B] [-o OUT.dat]\n"
    "\n"
    "Sorts the channels by RX frequency, lowest first (--desc: highest first), over the whole\n"
    "list or over the rows A..B (1..128). Rows without a channel stay where they are; channels\n"
    "of the same frequency keep their order. The scan bank priority channels, the DW channel\n"
    "and the current channel follow their channels. The file is saved in place (or to OUT.dat).\n";

int RunSort(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"--desc"}, false}, {{"--range", "-r"}, true},
                                    {{"-o", "--output"}, true}},
                             kSortUsage, exitCode);
  if (!parsed) return exitCode;
  const auto &pos = parsed->positional;
  if (pos.size() != 1) return UsageError("sort", "give one data file", kSortUsage);
  RowSelection rows;
  if (parsed->has("--range")) {
    auto range = ParseRowRange(parsed->value("--range"));
    if (!range)
      return UsageError("sort", "\"" + parsed->value("--range") + "\" is not rows A-B within 1..128",
                        kSortUsage);
    rows = RowRange(range->first, range->second);
  }

  Workspace ws;
  const auto target = EditedFileTarget("sort", *parsed, pos[0]);
  if (!target) return 1;
  if (!LoadWorkspace("sort", pos[0], ws)) return 1;
  ChannelContext ctx(ws);
  if (SortRows(ctx, rows, parsed->has("--desc")) == BlockOutcome::Refused)
    return Fail("sort", BlockOutcomeMessage(BlockOutcome::Refused));
  return SaveWorkspace("sort", ws, *target) ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("sort", "sort channels by RX frequency; settings follow", RunSort);
}  // namespace n27::cli
