// Batch edit: ranges, RX/TX generation, tone stepping and random choice, special values,
// the item flags file.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "channel_test_util.h"
#include "channels/batch_engine.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

using test::ChannelFixture;

BatchItems onlyItems(std::initializer_list<int> on) {
  BatchItems items{};
  for (int i : on) items[i] = 1;
  return items;
}

BatchInput fromTo(int from, int to) {
  BatchInput in;
  in.allChannels = false;
  in.fromText = std::to_string(from);
  in.toText = std::to_string(to);
  return in;
}

TEST(Batch, RangeTexts) {
  EXPECT_EQ(CorrectRangeText("40"), "16");
  EXPECT_EQ(CorrectRangeText("3.7"), "3");
  EXPECT_EQ(CorrectRangeText("0"), "1");
  EXPECT_EQ(CorrectRangeText(""), "1");
  EXPECT_EQ(CorrectRangeText("x"), "1");
  BatchInput in = fromTo(9, 4);
  EXPECT_EQ(ResolveBatchRange(in).from, 4);
  EXPECT_EQ(ResolveBatchRange(in).to, 9);
  in.allChannels = true;
  EXPECT_EQ(ResolveBatchRange(in).to, 32);
}

TEST(Batch, RxSteppingCreatesChannels) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 3, kFieldRx, "450");
  ChangeChannel(f.ctx, 1, 3, kFieldTx, "455");
  BatchInput in = fromTo(1, 16);
  in.rxStart = "440";
  in.rxStep = "12.5";
  BatchResult r = ApplyBatch(f.ctx, onlyItems({kItemRx}), in);
  EXPECT_EQ(r.created, 15);
  EXPECT_EQ(r.changed, 1);
  EXPECT_EQ(in.rxStart, "440.00000");  // normalised for the window
  EXPECT_EQ(f.channel(5).rx.text(), "44005000");
  EXPECT_EQ(f.channel(5).tx.text(), "44005000");
  EXPECT_EQ(f.channel(16).rx.text(), "44018750");
  EXPECT_EQ(f.channel(3).rx.text(), "44002500");
  EXPECT_EQ(f.channel(3).tx.text(), "45500000");  // TX not ticked: kept
  EXPECT_FALSE(f.exists(17));

  // Decreasing past the lower limit clamps silently.
  BatchInput down = fromTo(1, 16);
  down.rxStart = "400.1";
  down.rxStep = "25";
  down.rxIncreasing = false;
  ApplyBatch(f.ctx, onlyItems({kItemRx}), down);
  EXPECT_EQ(f.channel(4).rx.text(), "40002500");
  EXPECT_EQ(f.channel(5).rx.text(), "40000000");
  EXPECT_EQ(f.channel(16).rx.text(), "40000000");
  EXPECT_TRUE(f.messages.empty());
}

TEST(Batch, TxModes) {
  ChannelFixture f;
  BatchInput in = fromTo(1, 3);
  in.rxStart = "440";
  in.rxStep = "100";
  in.txMode = TxMode::Offset;
  in.txOffset = "5";
  in.offsetSign = OffsetSign::Minus;
  ApplyBatch(f.ctx, onlyItems({kItemRx, kItemTx}), in);
  EXPECT_EQ(f.channel(1).tx.text(), "43500000");
  EXPECT_EQ(f.channel(3).tx.text(), "43520000");
  EXPECT_EQ(f.channel(1).txOff, 1) << "a batch TX keeps the transmit-off mark of the new channel";

  in.txMode = TxMode::Start;
  in.txStart = "489.99";
  in.txStep = "5";
  ApplyBatch(f.ctx, onlyItems({kItemTx}), in);
  EXPECT_EQ(f.channel(1).tx.text(), "48999000");
  EXPECT_EQ(f.channel(2).tx.text(), "48999500");
  EXPECT_EQ(f.channel(3).tx.text(), "49000000");  // clamped

  in.txMode = TxMode::Default;
  ChangeChannel(f.ctx, 1, 2, kFieldTx, "");
  ApplyBatch(f.ctx, onlyItems({kItemTx}), in);
  EXPECT_EQ(f.channel(2).tx.text(), f.channel(2).rx.text());
  // TX items leave channels that do not exist alone; non-numeric steps count as 0.
  in = fromTo(1, 5);
  in.txMode = TxMode::Start;
  in.txStart = "450";
  in.txStep = "abc";
  ApplyBatch(f.ctx, onlyItems({kItemTx}), in);
  EXPECT_EQ(in.txStep, "0");
  EXPECT_EQ(f.channel(3).tx.text(), "45000000");
  EXPECT_FALSE(f.exists(4));
}

TEST(Batch, ToneSteppingCyclesThroughTheWholeList) {
  ChannelFixture f;
  // 283 channels do not exist, so step one channel 283 times by moving the start along.
  BatchInput in = fromTo(1, 16);
  in.rxStart = "440";
  ApplyBatch(f.ctx, onlyItems({kItemRx}), in);
  std::vector<std::string> seen;
  for (int run = 0; run < 18; ++run) {
    in.decodeStart = (50 + run * 16) % kToneCount;
    ApplyBatch(f.ctx, onlyItems({kItemDecode}), in);
    for (int n = 1; n <= 16; ++n) seen.push_back(f.channel(n).decode.text());
  }
  // From "254.1": all DCS entries, then Off, then "67.0" — 283 long.
  EXPECT_EQ(seen[0], "0131");
  EXPECT_EQ(seen[1], "0200");
  EXPECT_EQ(seen[232], "0373");
  EXPECT_EQ(seen[233], "FFFF");
  EXPECT_EQ(seen[234], "0100");
  EXPECT_EQ(seen[283], seen[0]);
  // Decreasing from Off wraps to the last entry; a large interval wraps as often as needed.
  in.decodeStart = 0;
  in.decodeIncreasing = false;
  in.decodeInterval = "1";
  ApplyBatch(f.ctx, onlyItems({kItemDecode}), in);
  EXPECT_EQ(f.channel(1).decode.text(), "FFFF");
  EXPECT_EQ(f.channel(2).decode.text(), "0373");
  in.decodeInterval = "283";
  in.decodeIncreasing = true;
  in.decodeStart = 13;
  ApplyBatch(f.ctx, onlyItems({kItemDecode}), in);
  EXPECT_EQ(f.channel(16).decode.text(), "010C");
}

TEST(Batch, RandomAndCopiedTones) {
  ChannelFixture f;
  BatchInput in = fromTo(1, 3);
  in.rxStart = "440";
  in.decodeRandom = true;
  in.encodeDefault = true;
  std::vector<double> draws = {0.0, 0.5, 0.999999};
  std::size_t i = 0;
  ApplyBatch(f.ctx, onlyItems({kItemRx, kItemDecode, kItemEncode}), in, [&] { return draws[i++]; });
  EXPECT_EQ(f.channel(1).decode.text(), "FFFF");
  EXPECT_EQ(f.channel(2).decode.text(), ToneToCode(ToneListEntry(141)));
  EXPECT_EQ(f.channel(3).decode.text(), "0373");
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(f.channel(n).encode, f.channel(n).decode);
  // Without a source the engine draws its own and stays in the list.
  in.encodeDefault = false;
  in.encodeRandom = true;
  ApplyBatch(f.ctx, onlyItems({kItemDecode, kItemEncode}), in);
  for (int n = 1; n <= 3; ++n) EXPECT_NE(ToneCodeText(f.channel(n).encode.text()), "");
}

TEST(Batch, ValueItemsAndSpecialValues) {
  ChannelFixture f;
  BatchInput in = fromTo(1, 2);
  in.rxStart = "440";
  ApplyBatch(f.ctx, onlyItems({kItemRx}), in);
  ChangeChannel(f.ctx, 1, 2, kFieldDecode, "D023N");
  ChangeChannel(f.ctx, 1, 1, kFieldEncode, "67.0");
  f.channel(1).decode.assign("FFFF");
  f.channel(1).spUnmute = 2;
  in.power = 2;
  in.pttId = 3;
  in.spacing = 0;
  in.busyLock = 2;  // Repeater
  in.optSignal = 0;
  in.relation = 1;
  in.call1 = 4;
  in.call2 = 0;
  in.scanAdd = false;
  in.talkaround = true;
  in.compander = true;
  ApplyBatch(f.ctx,
             onlyItems({kItemPower, kItemPttId, kItemSpacing, kItemBusyLock, kItemOptSignal,
                   kItemRelation, kItemCall1, kItemCall2, kItemScanAdd, kItemTalkaround,
                   kItemCompander}),
             in);
  const ChannelRecord &a = f.channel(1), &b = f.channel(2);
  EXPECT_EQ(a.busyLock, 1);  // no decode tone: "Carrier"
  EXPECT_EQ(b.busyLock, 2);
  EXPECT_EQ(a.spUnmute, 0);  // None drops the signalling choice
  EXPECT_EQ(b.power, 2);
  EXPECT_EQ(b.pttId, 3);
  EXPECT_EQ(b.spacing, 0);
  EXPECT_EQ(b.relation, 1);
  EXPECT_EQ(b.call1, 4);
  EXPECT_EQ(ValueToText(f.ctx, b, kFieldCall1), "4");
  EXPECT_EQ(b.scanAdd, 0);
  EXPECT_EQ(b.talkaround, 1);
  EXPECT_EQ(b.compander, 1);
  // With reverse, the tone that counts is the encode tone.
  in.reverse = true;
  ApplyBatch(f.ctx, onlyItems({kItemReverse}), in);
  ApplyBatch(f.ctx, onlyItems({kItemBusyLock}), in);
  EXPECT_EQ(f.channel(1).busyLock, 2);
}

TEST(Batch, ClearOutsideTouchesOnlyTheFirst32) {
  ChannelFixture f;
  for (int n : {1, 5, 20, 33, 128}) ChangeChannel(f.ctx, 1, n, kFieldRx, "440");
  BatchInput in = fromTo(4, 8);
  in.clearOutside = true;
  BatchResult r = ApplyBatch(f.ctx, BatchItems{}, in);
  EXPECT_EQ(r.deleted, 2);
  EXPECT_FALSE(f.exists(1));
  EXPECT_TRUE(f.exists(5));
  EXPECT_FALSE(f.exists(20));
  EXPECT_TRUE(f.exists(33));
  EXPECT_TRUE(f.exists(128));
  EXPECT_EQ(f.ws.working.scan.words[1], 5);
}

TEST(Batch, ItemFlagsFile) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(testing::TempDir()) / "batch_items";
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::string file = (dir / kBatchFileName).string();

  BatchItems items = LoadBatchItems(dir.string());
  EXPECT_EQ(items, DefaultBatchItems());
  auto written = ReadWholeFile(file);
  ASSERT_TRUE(written);
  EXPECT_EQ(*written, std::string("\1\1\1\1\1\0\1\1\1\0\0\0\0\1\0\0\0\0\0\0", 20));

  // The items that need a second thought are off at every start.
  BatchItems all;
  all.fill(1);
  ASSERT_TRUE(SaveBatchItems(dir.string(), all));
  items = LoadBatchItems(dir.string());
  for (int i = 0; i < kBatchItemCount; ++i) {
    bool forcedOff = i == 5 || i == 10 || i == 11 || i == 12 || i == 16 || i == 17;
    EXPECT_EQ(items[i], forcedOff ? 0 : 1) << i;
  }
  // A short file counts as missing.
  { std::ofstream(file, std::ios::binary) << "\1\1"; }
  EXPECT_EQ(LoadBatchItems(dir.string()), DefaultBatchItems());
  EXPECT_EQ(ReadWholeFile(file)->size(), 20u);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace n27
