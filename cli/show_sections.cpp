#include "cli/show_sections.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "channels/channel_context.h"
#include "channels/field_codec.h"

#include "features/feature_areas.h"
#include "features/radio_information.h"
#include "features/setting_text.h"

namespace n27::cli {

namespace {
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

}  // namespace

void PrintChannelTable(Workspace &ws, std::ostream &out) {
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


// Every feature window's settings, as the windows show them, in the order of the print list.
void PrintSettingsSections(const Workspace &ws, std::ostream &out) {
  for (const features::Area *area : features::FeatureAreas()) {
    out << "\n";
    if (area == &features::RadioInformationArea()) {
      // The radio information is read from a radio and shown; a data file does not hold it.
      out << area->section.get() << "\n  not kept in data files: read it from the radio\n";
      continue;
    }
    const bool fileOnly = area->key == "dtmf" || area->key == "fleetsync";
    features::WriteAreaText(*area, ws, out, fileOnly ? "(kept in the data file; not written to the radio)" : "");
  }
}

}  // namespace n27::cli
