// n27-cli show: a data file in readable text.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/show_sections.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <iterator>
#include <vector>

#include "channels/channel_context.h"
#include "channels/field_codec.h"

namespace n27::cli {
namespace {

constexpr const char *kUsage =
    "Usage: n27-cli show FILE.dat\n"
    "\n"
    "Prints the configuration of a data file: model, band, every channel and the settings.\n";

// The channel fields in grid order, then those the detail dialog adds.
struct Column {
  const char *header;
  int field;  // 0: the channel number
};
constexpr Column kColumns[] = {
    {"No.", 0},          {"RX Freq", kFieldRx},       {"TX Freq", kFieldTx},
    {"Decode", kFieldDecode}, {"Encode", kFieldEncode}, {"Power", kFieldPower},
    {"Scan", kFieldScanAdd}, {"Opt.Sig", kFieldOptSignal}, {"PTT ID", kFieldPttId},
    {"Spacing", kFieldSpacing}, {"SP Unmute", kFieldSpUnmute}, {"BCL", kFieldBusyLock},
    {"Autodial", kFieldAutodial}, {"Reverse", kFieldReverse}, {"Talkaround", kFieldTalkaround},
    {"Relation", kFieldRelation}, {"Call1", kFieldCall1}, {"Call2", kFieldCall2},
    {"Scramble", kFieldScramble}, {"Scr.Freq", kFieldScrambleFreq},
    {"Compander", kFieldCompander}, {"Special DCS", kFieldSpecialDcs}};
constexpr std::size_t kColumnCount = std::size(kColumns);

void PrintChannels(Workspace &ws, std::ostream &out) {
  const CodeplugData &d = ws.working;
  out << "Channels: " << d.channelCount << "\n";
  if (d.channelCount == 0) return;
  ChannelContext ctx(ws);
  std::vector<std::array<std::string, kColumnCount>> rows(1);
  for (std::size_t c = 0; c < kColumnCount; ++c) rows[0][c] = kColumns[c].header;
  for (int k = 1; k <= d.channelCount; ++k) {
    const ChannelRecord &ch = *d.slot(k);
    auto &row = rows.emplace_back();
    for (std::size_t c = 0; c < kColumnCount; ++c)
      row[c] = kColumns[c].field == 0 ? std::to_string(ch.number)
                                      : ValueToText(ctx, ch, kColumns[c].field);
  }
  std::array<std::size_t, kColumnCount> width{};
  for (const auto &row : rows)
    for (std::size_t c = 0; c < kColumnCount; ++c) width[c] = std::max(width[c], row[c].size());
  for (const auto &row : rows) {
    std::string line;
    for (std::size_t c = 0; c < kColumnCount; ++c) {
      line += row[c];
      if (c + 1 < kColumnCount) line += std::string(width[c] - row[c].size() + 2, ' ');
    }
    out << line << "\n";
  }
}

int RunShow(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {}, kUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) return UsageError("show", "give exactly one data file", kUsage);

  Workspace ws;
  if (!LoadWorkspace("show", parsed->positional.front(), ws)) return 1;
  std::cout << "File: " << ws.fileName << "\n"
            << "Model: " << ws.modelName << "\n"
            << "Band: " << ws.bandText << "\n";
  PrintChannels(ws, std::cout);
  PrintSettingsSections(ws, std::cout);
  return 0;
}

}  // namespace
N27_CLI_COMMAND("show", "print the configuration of a data file", RunShow);
}  // namespace n27::cli
