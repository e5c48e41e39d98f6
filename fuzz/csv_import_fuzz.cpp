// The channel list import fed arbitrary text, into a configuration that may already hold
// channels. Whatever the text: a refused or empty import changes nothing; what it stores is a
// list the data file and the radio can hold, as the report says; and the list exported again
// imports into an empty configuration as the same list.
//
// Input: [options][channels already there][text …].

#include <cstdint>
#include <set>
#include <string>

#include "base/language.h"
#include "channels/channel_csv.h"
#include "channels/channel_ops.h"
#include "channels/freq_codec.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "fuzz/fuzz_check.h"

using namespace n27;

namespace {

struct Setup {
  Workspace ws;
  ChannelContext ctx{ws};
  explicit Setup(bool band136) {
    ws.bandText = band136 ? kBand136 : kBand400;
    SetBandLimits(ws);
    ws.working.channelCount = 0;
    for (int g = 1; g <= 8; ++g) ws.working.scan.words[g] = 255;
  }
};

bool Digits(const std::string &s) {
  if (s.size() != 8) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

void CheckList(const CodeplugData &d) {
  FUZZ_CHECK(d.channelCount >= 0 && d.channelCount <= kMaxChannels);
  std::set<int> numbers;
  for (int k = 0; k < d.channelCount; ++k) {
    const ChannelRecord &ch = d.channels[k];
    FUZZ_CHECK(ch.number >= 1 && ch.number <= kMaxChannels && numbers.insert(ch.number).second);
    FUZZ_CHECK(Digits(ch.rx.raw()) && ch.rx.raw() != "00000000");
    FUZZ_CHECK(ch.tx.raw() == kNoTxFrequency || Digits(ch.tx.raw()));
  }
  CodeplugData back;
  FUZZ_CHECK(ParseDataFile(SerializeDataFile(d), back) && back == d);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  const uint8_t options = data[0], existing = data[1];
  SetLanguageIndex(options & 0x10 ? kChinese : kEnglish);
  const std::string_view text(reinterpret_cast<const char *>(data + 2), size - 2);

  Setup s(options & 0x08);
  const char *rx = options & 0x08 ? "145.00000" : "446.00000";
  if (existing & 0x80)
    for (int n = 1; n <= 128; n += 1 + (existing & 0x3F)) AddChannel(s.ctx, 1, n, rx);
  const CodeplugData before = s.ws.working;

  csv::ImportOptions o;
  o.placement = options & 1 ? csv::Placement::Append : csv::Placement::AtLocation;
  o.replaceAll = options & 2;
  const csv::ImportReport r = csv::ImportChannelCsv(s.ctx, text, o);
  FUZZ_CHECK(!csv::ImportSummaryText(r).empty());
  if (!r.ok || r.imported() == 0) {
    FUZZ_CHECK(r.ok || !r.error.empty());
    FUZZ_CHECK(s.ws.working == before);
    return 0;
  }
  const CodeplugData &after = s.ws.working;
  CheckList(after);
  FUZZ_CHECK(static_cast<int>(r.channels.size()) == r.imported());
  std::set<int> written(r.channels.begin(), r.channels.end());
  FUZZ_CHECK(written.size() == r.channels.size());
  for (int n : r.channels) FUZZ_CHECK(after.findChannel(n) != 0);
  int kept = 0;
  for (int k = 0; k < before.channelCount; ++k)
    if (!written.count(before.channels[k].number)) kept += after.findChannel(before.channels[k].number) != 0;
  FUZZ_CHECK(after.channelCount == r.imported() + kept);
  if (o.replaceAll) FUZZ_CHECK(kept == 0 && r.removed == before.channelCount - r.replaced);

  // What export writes, an empty configuration imports as the same list.
  std::vector<std::string> warnings;
  const std::string exported = csv::ExportChannelCsv(s.ctx, &warnings);
  FUZZ_CHECK(warnings.empty());
  Setup fresh(options & 0x08);
  const csv::ImportReport again = csv::ImportChannelCsv(fresh.ctx, exported, {});
  FUZZ_CHECK(again.ok && again.skipped.empty() && again.imported() == after.channelCount);
  FUZZ_CHECK(csv::ExportChannelCsv(fresh.ctx) == exported);
  return 0;
}
