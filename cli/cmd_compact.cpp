// n27-cli compact: closes the gaps of the channel list, as the channel grid's compact command.

#include "channels/channel_block_ops.h"
#include "channels/channel_context.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"

namespace n27::cli {
namespace {

constexpr const char *kCompactUsage =
    "Usage: n27-cli compact FILE.dat [-o OUT.dat]\n"
    "\n"
    "Closes the gaps of the channel list: the channels keep their order and become channels\n"
    "1..n. The scan bank priority channels, the DW channel and the current channel follow their\n"
    "channels. The file is saved in place (or to OUT.dat).\n";

int RunCompact(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"-o", "--output"}, true}}, kCompactUsage, exitCode);
  if (!parsed) return exitCode;
  const auto &pos = parsed->positional;
  if (pos.size() != 1) return UsageError("compact", "give one data file", kCompactUsage);

  Workspace ws;
  const auto target = EditedFileTarget("compact", *parsed, pos[0]);
  if (!target) return 1;
  if (!LoadWorkspace("compact", pos[0], ws)) return 1;
  ChannelContext ctx(ws);
  if (CompactChannels(ctx) == BlockOutcome::Refused)
    return Fail("compact", BlockOutcomeMessage(BlockOutcome::Refused));
  return SaveWorkspace("compact", ws, *target) ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("compact", "renumber the channels 1..n, closing the gaps; settings follow", RunCompact);
}  // namespace n27::cli
