// n27-cli batch: the batch channel edit from the command line. Only the fields whose options
// are given take part; the result is what the Batch Channel Edit window gives with the same
// inputs and those items ticked.

#include <algorithm>
#include <cctype>
#include <iostream>

#include "channels/batch_engine.h"
#include "base/ascii_case.h"
#include "channels/field_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"
#include "cli/cli_command.h"
#include "cli/cli_util.h"

namespace n27::cli {
namespace {

constexpr const char *kBatchUsage =
    "Usage: n27-cli batch FILE.dat [options]\n"
    "\n"
    "Sets fields of a run of channels in one go, as the Batch Channel Edit window does, and\n"
    "saves the file in place (or to -o OUT.dat). Only the fields whose options are given change.\n"
    "Frequencies outside the band are limited to it without a message.\n"
    "\n"
    "Range:\n"
    "  --from N --to M          channels N..M (each 1..16); without them channels 1..32\n"
    "  --clear-outside          first delete the channels 1..32 outside the range\n"
    "RX frequency (creates the channels that do not exist yet):\n"
    "  --rx-start MHZ           RX frequency of the first channel\n"
    "  --rx-step KHZ            step from channel to channel (default 0)\n"
    "  --rx-down                step downwards\n"
    "TX frequency (channels that exist):\n"
    "  --tx copy|offset|start   TX = RX; TX = RX + or - an offset; or its own start and step\n"
    "  --tx-offset MHZ          the offset for --tx offset (added unless --tx-minus)\n"
    "  --tx-minus               subtract the offset\n"
    "  --tx-start MHZ --tx-step KHZ --tx-down   for --tx start\n"
    "Tones (None, 67.0 ... 254.1, D023N ... D765N, D023I ... D765I; the list of the windows):\n"
    "  --decode TONE            decode tone of the first channel, then stepped through the list\n"
    "  --decode-interval N      list entries from channel to channel (default 1)\n"
    "  --decode-down            step backwards through the list\n"
    "  --decode-random          a random tone per channel instead\n"
    "  --encode TONE, --encode-interval N, --encode-down, --encode-random   the same for encode\n"
    "  --encode-copy            encode tone = the channel's decode tone\n"
    "  --seed N                 repeatable random tones\n"
    "Values:\n"
    "  --power Low|Middle|High\n"
    "  --signalling None|DTMF|FleetSync\n"
    "  --ptt-id Off|BOT|EOT|Both\n"
    "  --spacing 12.5|25\n"
    "  --busy-lockout Off|Carrier|Repeater|\"Option Signalling\"\n"
    "                           (Repeater on a channel without decode tone stores Carrier)\n"
    "  --relation And|Or\n"
    "  --call1 1..16, --call2 1..16\n"
    "  --scan-add on|off, --talkaround on|off, --reverse on|off, --compander on|off\n";


// Position of a text among a list of texts, in either language, ignoring case.
template <std::size_t N>
int choice(const Tr (&table)[N], const std::string &text) {
  for (int language : {kEnglish, kChinese})
    for (std::size_t i = 0; i < N; ++i)
      if (AsciiLower(table[i].at(language)) == AsciiLower(text)) return static_cast<int>(i);
  return -1;
}

int toneChoice(const std::string &text) {
  if (AsciiLower(text) == "off" || AsciiLower(text) == "none") return 0;
  int p = FindToneEntry(text);
  if (p < 0) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    p = FindToneEntry(upper);
  }
  if (p < 0 && IsNumeric(text)) {
    // "100" for the list entry "100.0".
    auto d = ParseDecimal(text);
    p = FindToneEntry(FormatFixed(RoundTo(*d, 1, Rounding::HalfAwayFromZero), 1, 1));
  }
  return p;
}

int onOff(const std::string &text) {
  std::string t = AsciiLower(text);
  if (t == "on" || t == "1" || t == "yes") return 1;
  if (t == "off" || t == "0" || t == "no") return 0;
  return -1;
}

int RunBatch(const std::vector<std::string> &args) {
  const std::vector<OptionDef> optionDefs = {
      {{"-o", "--output"}, true},  {{"--from"}, true},        {{"--to"}, true},
      {{"--clear-outside"}, false}, {{"--rx-start"}, true},   {{"--rx-step"}, true},
      {{"--rx-down"}, false},       {{"--tx"}, true},         {{"--tx-offset"}, true},
      {{"--tx-minus"}, false},      {{"--tx-start"}, true},   {{"--tx-step"}, true},
      {{"--tx-down"}, false},       {{"--decode"}, true},     {{"--decode-interval"}, true},
      {{"--decode-down"}, false},   {{"--decode-random"}, false}, {{"--encode"}, true},
      {{"--encode-interval"}, true}, {{"--encode-down"}, false}, {{"--encode-random"}, false},
      {{"--encode-copy"}, false},   {{"--seed"}, true},       {{"--power"}, true},
      {{"--signalling"}, true},     {{"--ptt-id"}, true},     {{"--spacing"}, true},
      {{"--busy-lockout"}, true},   {{"--relation"}, true},   {{"--call1"}, true},
      {{"--call2"}, true},          {{"--scan-add"}, true},   {{"--talkaround"}, true},
      {{"--reverse"}, true},        {{"--compander"}, true},
  };
  int exitCode = 0;
  auto parsed = ParseCommand(args, optionDefs, kBatchUsage, exitCode);
  if (!parsed) return exitCode;
  const Args &a = *parsed;
  if (a.positional.size() != 1) return UsageError("batch", "give exactly one data file", kBatchUsage);
  auto bad = [](const std::string &what) { return UsageError("batch", what, kBatchUsage); };

  BatchItems items{};
  BatchInput in;
  if (a.has("--from") || a.has("--to")) {
    in.allChannels = false;
    in.fromText = a.value("--from", "1");
    in.toText = a.value("--to", in.fromText);
    for (const std::string &t : {in.fromText, in.toText})
      if (auto n = ParseInteger(t); !n || *n < 1 || *n > 16) return bad("--from and --to take 1..16");
  }
  in.clearOutside = a.has("--clear-outside");

  auto number = [&](const char *option, std::string &target) {
    if (!a.has(option)) return true;
    target = a.value(option);
    return IsNumeric(target);
  };
  if (a.has("--rx-step") && !a.has("--rx-start")) return bad("--rx-step needs --rx-start");
  if (a.has("--rx-start")) {
    items[kItemRx] = 1;
    if (!number("--rx-start", in.rxStart) || !number("--rx-step", in.rxStep))
      return bad("--rx-start and --rx-step take numbers");
    in.rxIncreasing = !a.has("--rx-down");
  }
  if (a.has("--tx")) {
    items[kItemTx] = 1;
    std::string mode = AsciiLower(a.value("--tx"));
    if (mode == "copy") {
      in.txMode = TxMode::Default;
    } else if (mode == "offset") {
      in.txMode = TxMode::Offset;
      if (!a.has("--tx-offset") || !number("--tx-offset", in.txOffset))
        return bad("--tx offset needs --tx-offset MHZ");
      in.offsetSign = a.has("--tx-minus") ? OffsetSign::Minus : OffsetSign::Plus;
    } else if (mode == "start") {
      in.txMode = TxMode::Start;
      if (!a.has("--tx-start") || !number("--tx-start", in.txStart) || !number("--tx-step", in.txStep))
        return bad("--tx start needs --tx-start MHZ (and a numeric --tx-step)");
      in.txIncreasing = !a.has("--tx-down");
    } else {
      return bad("--tx takes copy, offset or start");
    }
  } else if (a.has("--tx-offset") || a.has("--tx-start") || a.has("--tx-step")) {
    return bad("give --tx copy|offset|start with the TX options");
  }

  auto tone = [&](const char *prefix, int &start, std::string &interval, bool &increasing,
                  bool &random) -> std::string {
    std::string p = prefix;
    random = a.has(p + "-random");
    if (a.has(p)) {
      start = toneChoice(a.value(p));
      if (start < 0) return "\"" + a.value(p) + "\" is not in the tone list";
    }
    if (a.has(p + "-interval")) {
      interval = a.value(p + "-interval");
      if (!IsNumeric(interval)) return p + "-interval takes a number";
    }
    increasing = !a.has(p + "-down");
    return {};
  };
  if (a.has("--decode") || a.has("--decode-random")) {
    items[kItemDecode] = 1;
    if (auto e = tone("--decode", in.decodeStart, in.decodeInterval, in.decodeIncreasing, in.decodeRandom);
        !e.empty())
      return bad(e);
  }
  if (a.has("--encode") || a.has("--encode-random") || a.has("--encode-copy")) {
    items[kItemEncode] = 1;
    in.encodeDefault = a.has("--encode-copy");
    if (auto e = tone("--encode", in.encodeStart, in.encodeInterval, in.encodeIncreasing, in.encodeRandom);
        !e.empty())
      return bad(e);
  }

  auto pick = [&](const char *name, int item, int &target, int position) {
    if (!a.has(name)) return true;
    if (position < 0) return false;
    items[item] = 1;
    target = position;
    return true;
  };
  std::string spacing = AsciiLower(a.value("--spacing"));
  int spacingPos = spacing == "12.5" || spacing == "narrow" ? 0
                   : spacing == "25" || spacing == "wide"   ? 1
                                                            : choice(kSpacingTexts, a.value("--spacing"));
  auto call = [&](const char *name) {
    auto n = ParseInteger(a.value(name));
    return n && *n >= 1 && *n <= 16 ? static_cast<int>(*n - 1) : -1;
  };
  if (!pick("--power", kItemPower, in.power, choice(kPowerTexts, a.value("--power"))))
    return bad("--power takes Low, Middle or High");
  if (!pick("--signalling", kItemOptSignal, in.optSignal, choice(kOptSignalTexts, a.value("--signalling"))))
    return bad("--signalling takes None, DTMF or FleetSync");
  if (!pick("--ptt-id", kItemPttId, in.pttId, choice(kPttIdTexts, a.value("--ptt-id"))))
    return bad("--ptt-id takes Off, BOT, EOT or Both");
  if (!pick("--spacing", kItemSpacing, in.spacing, spacingPos)) return bad("--spacing takes 12.5 or 25");
  if (!pick("--busy-lockout", kItemBusyLock, in.busyLock, choice(kBusyLockTexts, a.value("--busy-lockout"))))
    return bad("--busy-lockout takes Off, Carrier, Repeater or \"Option Signalling\"");
  if (!pick("--relation", kItemRelation, in.relation, choice(kRelationTexts, a.value("--relation"))))
    return bad("--relation takes And or Or");
  if (!pick("--call1", kItemCall1, in.call1, call("--call1"))) return bad("--call1 takes 1..16");
  if (!pick("--call2", kItemCall2, in.call2, call("--call2"))) return bad("--call2 takes 1..16");
  const std::pair<const char *, std::pair<int, bool *>> checks[] = {
      {"--scan-add", {kItemScanAdd, &in.scanAdd}},
      {"--talkaround", {kItemTalkaround, &in.talkaround}},
      {"--reverse", {kItemReverse, &in.reverse}},
      {"--compander", {kItemCompander, &in.compander}},
  };
  for (const auto &[name, target] : checks) {
    if (!a.has(name)) continue;
    int v = onOff(a.value(name));
    if (v < 0) return bad(std::string(name) + " takes on or off");
    items[target.first] = 1;
    *target.second = v == 1;
  }

  RandomSource random;
  if (a.has("--seed")) {
    auto seed = ParseInteger(a.value("--seed"));
    if (!seed) return bad("--seed takes a number");
    random = SeededRandom(static_cast<uint64_t>(*seed));
  }

  Workspace ws;
  const auto target = EditedFileTarget("batch", a, a.positional[0]);
  if (!target) return 1;
  if (!LoadWorkspace("batch", a.positional[0], ws)) return 1;
  ChannelContext ctx(ws, [](const std::string &text, MessageIcon) {
    std::cerr << "n27-cli batch: " << text << "\n";
  });
  BatchRange range = ResolveBatchRange(in);
  BatchResult r = ApplyBatch(ctx, items, in, random);
  if (!SaveWorkspace("batch", ws, *target)) return 1;
  std::cout << "channels " << range.from << ".." << range.to << ": " << r.created << " created, "
            << r.changed << " changed, " << r.deleted << " deleted outside the range\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("batch", "set fields of a run of channels at once (batch channel edit)", RunBatch);
}  // namespace n27::cli
