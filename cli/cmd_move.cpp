// n27-cli move: moves a block of channels to another place in the channel list, as the
// channel grid's move commands do; the settings that name a channel follow it.

#include "channels/channel_block_ops.h"
#include "channels/channel_context.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"

namespace n27::cli {
namespace {

constexpr const char *kMoveUsage =
    "Usage: n27-cli move FILE.dat FROM[-TO] AT [-o OUT.dat]\n"
    "\n"
    "Moves the rows FROM..TO of the channel list (channel numbers 1..128, empty rows\n"
    "included) so that the block starts at row AT; the rows in between close up on the other\n"
    "side (moving 5-7 to 2 puts channels 2..4 at 5..7). The scan bank priority channels, the\n"
    "DW channel and the current channel follow their channels. The file is saved in place\n"
    "(or to OUT.dat). A block that would run past channel 128 is refused and nothing is saved.\n";

int RunMove(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"-o", "--output"}, true}}, kMoveUsage, exitCode);
  if (!parsed) return exitCode;
  const auto &pos = parsed->positional;
  if (pos.size() != 3) return UsageError("move", "give a data file, FROM[-TO] and AT", kMoveUsage);
  auto block = ParseRowRange(pos[1]);
  if (!block) return UsageError("move", "\"" + pos[1] + "\" is not a row or rows A-B within 1..128", kMoveUsage);
  auto at = ParseRowRange(pos[2]);
  if (!at || at->first != at->second)
    return UsageError("move", "\"" + pos[2] + "\" is not a row within 1..128", kMoveUsage);

  Workspace ws;
  const auto target = EditedFileTarget("move", *parsed, pos[0]);
  if (!target) return 1;
  if (!LoadWorkspace("move", pos[0], ws)) return 1;
  ChannelContext ctx(ws);
  const BlockOutcome outcome = MoveBlock(ctx, block->first, block->second, at->first);
  if (outcome == BlockOutcome::BadRow)
    return Fail("move", "rows " + pos[1] + " do not fit from row " + pos[2] +
                            " (the block would run past channel 128); nothing saved");
  if (outcome == BlockOutcome::Refused)
    return Fail("move", BlockOutcomeMessage(outcome));
  return SaveWorkspace("move", ws, *target) ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("move", "move a block of channels to another row; settings follow", RunMove);
}  // namespace n27::cli
