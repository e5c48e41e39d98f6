// The two small tables the program reads beside itself or from the user's folder, fed
// arbitrary bytes: "dec.tbl" (the DCS decode table) and "BatchFun.ini" (which fields batch
// edit sets), then a batch edit run with those items and typed texts. A short table changes
// nothing and says so; the items are on or off; the batch leaves a list the data file and
// the radio can hold.
//
// Input: [dec.tbl length][dec.tbl …][BatchFun.ini length][BatchFun.ini …][batch inputs …]

#include <cstdint>
#include <set>
#include <string>

#include "base/file_io.h"
#include "channels/batch_engine.h"
#include "channels/channel_ops.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_scratch.h"
#include "fuzz/fuzz_workspace.h"

using namespace n27;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz::Input in{data, size};
  const auto text = [&in] { return in.bytes(in.byte() % 12); };
  const std::string dec = in.bytes(in.byte());
  const std::string batch = in.bytes(in.byte() % 32);
  fuzz::ClearScratch();
  fuzz::WriteScratch(fuzz::ScratchPath("dec.tbl"), dec);
  fuzz::WriteScratch(fuzz::ScratchPath(kBatchFileName), batch);

  Workspace ws = fuzz::NewWorkspace();
  int messages = 0;
  ChannelContext ctx(ws, [&](const std::string &, MessageIcon) { ++messages; });
  ctx.decTable.fill(7);
  const bool read = ReadDecTable(ctx, fuzz::ScratchPath("dec.tbl"));
  FUZZ_CHECK(read == (dec.size() >= kDecTableSize) && messages == (read ? 0 : 1));
  for (int i = 0; i < kDecTableSize; ++i) {
    const uint16_t v = ctx.decTable[static_cast<std::size_t>(i)];
    if (!read) FUZZ_CHECK(v == 7);
    else FUZZ_CHECK(v == static_cast<uint8_t>(dec[static_cast<std::size_t>(i)]) + (i >= 50 ? 256 : 0));
  }

  const BatchItems items = LoadBatchItems(fuzz::ScratchFolder());
  for (std::size_t i = 0; i < items.size(); ++i) {
    FUZZ_CHECK(items[i] <= 1);
    if (batch.size() >= items.size() && i != kItemOptSignal && i != kItemRelation && i != kItemCall1 &&
        i != kItemCall2 && i != kItemTalkaround && i != kItemReverse)
      FUZZ_CHECK(items[i] == (batch[i] != 0));
  }
  if (batch.size() < items.size())  // the defaults are written for the next start
    FUZZ_CHECK(ReadWholeFile(fuzz::ScratchPath(kBatchFileName)).value_or("").size() == items.size());

  // A batch edit with these items and whatever was typed.
  BatchInput b;
  const uint8_t flags = in.byte();
  b.allChannels = flags & 1;
  b.clearOutside = flags & 2;
  b.rxIncreasing = flags & 4;
  b.txMode = static_cast<TxMode>(flags / 8 % 3);
  b.encodeDefault = flags & 0x40;
  b.decodeRandom = flags & 0x80;
  b.fromText = text();
  b.toText = text();
  b.rxStart = text();
  b.rxStep = text();
  b.txOffset = text();
  b.txStart = text();
  b.txStep = text();
  b.decodeStart = in.byte() * 2;
  b.decodeInterval = text();
  b.encodeStart = in.byte() * 2;
  b.encodeInterval = text();
  b.power = in.byte() % 3;
  b.busyLock = in.byte() % 4;
  b.pttId = in.byte() % 4;
  ApplyBatch(ctx, items, b, SeededRandom(in.byte()));

  const CodeplugData &d = ws.working;
  FUZZ_CHECK(d.channelCount >= 0 && d.channelCount <= kMaxChannels);
  std::set<int> numbers;
  for (int k = 0; k < d.channelCount; ++k) {
    const ChannelRecord &ch = d.channels[k];
    FUZZ_CHECK(ch.number >= 1 && ch.number <= kMaxChannels && numbers.insert(ch.number).second);
    FUZZ_CHECK(ch.rx.raw().size() == 8 && ch.rx.raw().find_first_not_of("0123456789") == std::string::npos);
  }
  CodeplugData back;
  FUZZ_CHECK(ParseDataFile(SerializeDataFile(d), back) && back == d);
  return 0;
}
