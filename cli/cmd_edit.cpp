// n27-cli edit: channel edits of a data file, exactly as typed into the channel grid or the
// channel detail dialog.

#include <iostream>

#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/number_text.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"

namespace n27::cli {
namespace {

constexpr const char *kEditUsage =
    "Usage: n27-cli edit FILE.dat CHANNEL FIELD TEXT [CHANNEL FIELD TEXT ...] [-o OUT.dat]\n"
    "\n"
    "Applies each edit to channel CHANNEL (1..128) as if TEXT had been typed or chosen in that\n"
    "field, then saves the file in place (or to OUT.dat). An empty TEXT (\"\") clears: RX deletes\n"
    "the channel, TX leaves it without TX frequency. Giving the RX frequency of a channel that\n"
    "does not exist creates it with the defaults of a new channel. Warnings such as\n"
    "\"Frequency is out of range.\" go to stderr; an edit that cannot be applied stops the\n"
    "command and nothing is saved.\n"
    "\n"
    "FIELD  TEXT\n"
    "  1    RX frequency in MHz            462.125\n"
    "  2    TX frequency in MHz            467.125, \"\" for none\n"
    "  3    decode tone                    None, 67.0 ... 254.1, 123.4, D023N, D023I\n"
    "  4    encode tone                    as decode\n"
    "  5    TX power                       Low, Middle, High\n"
    "  6    scan add                       Add, Del\n"
    "  7    optional signalling            None, DTMF, FleetSync\n"
    "  8    PTT ID                         Off, BOT, EOT, Both\n"
    "  9    channel spacing                12.5K(Narrow), 25K(Wide)\n"
    " 10    SP unmute                      Carrier, \"Carrier + Opt.Sig.\", \"Carrier or Opt.Sig\"\n"
    "                                      (with a decode tone: QT/DQT, \"QT/DQT + Opt.Sig.\", ...)\n"
    " 11    busy channel lock-out          Off, Carrier, Repeater\n"
    " 12    autodial memory                0..7 (shown 1..8)\n"
    " 14    spare value                    0..65535\n"
    " 15    scan add                       0, 1\n"
    " 16    reverse (TX<->RX)              0, 1\n"
    " 17    talkaround (TX=RX)             0, 1\n"
    " 18    signal relation                0 And, 1 Or\n"
    " 19    Call 1                         0..15 (shown 1..16)\n"
    " 20    Call 2                         0..15 (shown 1..16)\n"
    " 21    user-defined scramble in Hz    1300..4100 (limited to it)\n"
    " 22    scramble                       0 Off, 1..11, 12 Define\n"
    " 23    compander                      0, 1\n"
    " 24    special DCS                    0, 1\n";

const char *statusText(EditStatus s) {
  switch (s) {
    case EditStatus::Ok: return "done";
    case EditStatus::Unmatched: return "the text is not one of this field's values";
    case EditStatus::NotNumeric: return "the field takes a number";
    case EditStatus::OutOfRange: return "the number is outside this field's values";
    case EditStatus::NoField: return "no such field (1..24, 13 unused)";
    case EditStatus::NoChannel: return "the channel does not exist; give its RX frequency (field 1) first";
    case EditStatus::BadChannel: return "no such channel (1..128)";
    case EditStatus::ListFull: return "the channel list is full";
  }
  return "failed";
}

int RunEdit(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"-o", "--output"}, true}}, kEditUsage, exitCode);
  if (!parsed) return exitCode;
  const auto &pos = parsed->positional;
  if (pos.size() < 4 || (pos.size() - 1) % 3 != 0)
    return UsageError("edit", "give a data file and one or more CHANNEL FIELD TEXT triples", kEditUsage);

  Workspace ws;
  const auto target = EditedFileTarget("edit", *parsed, pos[0]);
  if (!target) return 1;
  if (!LoadWorkspace("edit", pos[0], ws)) return 1;
  std::string where;
  ChannelContext ctx(ws, [&where](const std::string &text, MessageIcon) {
    std::cerr << "n27-cli edit: " << where << ": " << text << "\n";
  });

  for (std::size_t i = 1; i + 2 < pos.size(); i += 3) {
    where = "channel " + pos[i] + " field " + pos[i + 1];
    auto channel = ParseInteger(pos[i]);
    auto field = ParseInteger(pos[i + 1]);
    if (!channel || *channel < 1 || *channel > kChannelsPerGroup)
      return Fail("edit", where + ": " + statusText(EditStatus::BadChannel) + "; nothing saved");
    if (!field || *field < 1 || *field > kFieldCount || *field == 13)
      return Fail("edit", where + ": " + statusText(EditStatus::NoField) + "; nothing saved");
    EditStatus s = ChangeChannel(ctx, 1, static_cast<int>(*channel), static_cast<int>(*field),
                                 pos[i + 2], true);
    if (s != EditStatus::Ok)
      return Fail("edit", where + " \"" + pos[i + 2] + "\": " + statusText(s) + "; nothing saved");
  }
  return SaveWorkspace("edit", ws, *target) ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("edit", "change channel fields of a data file as typed in the channel grid", RunEdit);
}  // namespace n27::cli
