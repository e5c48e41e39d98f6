// Channel edits through ChangeChannel and the list operations: what a dealer's edit does to
// the channel list, the scan bank choices and the listening windows.

#include <cstdio>
#include <fstream>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "channel_test_util.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"

namespace n27 {
namespace {

using test::ChannelFixture;

struct Recorder : ChannelListener {
  std::vector<std::pair<int, bool>> changed;
  int all = 0;
  bool scanOpen = false;
  int scanAsked = 0;
  void channelChanged(int number, bool refresh) override { changed.push_back({number, refresh}); }
  void allChannelsChanged() override { ++all; }
  bool reshowScanChoices() override {
    ++scanAsked;
    return scanOpen;
  }
};

TEST(ChannelOps, NewChannelGetsItsDefaults) {
  ChannelFixture f;
  // A stale slot (a channel deleted earlier) must not leak into the new channel.
  f.ws.working.channels[0].scramble = 7;
  f.ws.working.channels[0].compander = 1;
  f.ws.working.channels[0].optSignal = 2;
  Recorder r;
  f.ctx.addListener(&r);
  ASSERT_EQ(ChangeChannel(f.ctx, 1, 5, kFieldRx, "470", false), EditStatus::Ok);
  ASSERT_TRUE(f.exists(5));
  const ChannelRecord &c = f.channel(5);
  EXPECT_EQ(c.rx.text(), "47000000");
  EXPECT_EQ(c.tx.text(), "47000000");
  EXPECT_EQ(c.decode.text(), "FFFF");
  EXPECT_EQ(c.encode.text(), "FFFF");
  EXPECT_EQ(c.inUse, 1);
  EXPECT_EQ(c.txOff, 1);
  EXPECT_EQ(c.power, 1);
  EXPECT_EQ(c.spacing, 1);
  EXPECT_EQ(c.scanAdd, 1);
  EXPECT_EQ(c.optSignal + c.busyLock + c.spUnmute + c.pttId + c.call1 + c.call2 + c.scramble +
                c.compander + c.reverse + c.talkaround,
            0);
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldPower), "Middle");
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldSpacing), "25K(Wide)");
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldScanAdd), "Add");
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldDecode), "None");
  EXPECT_EQ(r.changed, (std::vector<std::pair<int, bool>>{{5, false}}));
  // The new channel became its bank's choice.
  EXPECT_EQ(f.ws.working.scan.words[1], 5);
}

TEST(ChannelOps, NewChannelTxIsClampedToTheTxLimits) {
  ChannelFixture f(true);
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "145.5");
  EXPECT_EQ(f.channel(1).tx.text(), "14550000");
  ChangeChannel(f.ctx, 1, 2, kFieldRx, "180");
  EXPECT_EQ(f.channel(2).rx.text(), "17400000");
  EXPECT_EQ(f.channel(2).tx.text(), "17400000");
  EXPECT_EQ(f.messages.size(), 1u);
}

TEST(ChannelOps, ClearingTxAndRx) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 3, kFieldRx, "440");
  ChangeChannel(f.ctx, 1, 3, kFieldEncode, "D023N");
  ChangeChannel(f.ctx, 1, 3, kFieldReverse, "1");
  ChangeChannel(f.ctx, 1, 3, kFieldTx, "");
  ChannelRecord &c = f.channel(3);
  EXPECT_EQ(c.tx.text(), "FFFFFFFF");
  EXPECT_EQ(c.encode.text(), "FFFF");
  EXPECT_EQ(c.txOff, 1);
  EXPECT_EQ(c.reverse, 0);
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldTx), "");
  ChangeChannel(f.ctx, 1, 3, kFieldTx, "445");
  EXPECT_EQ(c.tx.text(), "44500000");
  EXPECT_EQ(c.txOff, 0);
  // Clearing RX deletes the channel; other edits of a missing channel do nothing.
  EXPECT_EQ(ChangeChannel(f.ctx, 1, 3, kFieldRx, ""), EditStatus::Ok);
  EXPECT_FALSE(f.exists(3));
  EXPECT_EQ(ChangeChannel(f.ctx, 1, 3, kFieldPower, "High"), EditStatus::NoChannel);
  EXPECT_EQ(ChangeChannel(f.ctx, 1, 3, kFieldTx, "445"), EditStatus::NoChannel);
  EXPECT_EQ(f.ws.working.channelCount, 0);
}

TEST(ChannelOps, ToneFollowsWhileBothAreOff) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "440");
  ChangeChannel(f.ctx, 1, 1, kFieldDecode, "D023N");
  EXPECT_EQ(f.channel(1).encode.text(), "0201");
  ChangeChannel(f.ctx, 1, 1, kFieldDecode, "67.0");
  EXPECT_EQ(f.channel(1).decode.text(), "0100");
  EXPECT_EQ(f.channel(1).encode.text(), "0201");
  // The other way round, and a text that is no tone keeps the code.
  ChangeChannel(f.ctx, 1, 2, kFieldRx, "441");
  EXPECT_EQ(ChangeChannel(f.ctx, 1, 2, kFieldEncode, "d023n"), EditStatus::Unmatched);
  EXPECT_EQ(f.channel(2).encode.text(), "FFFF");
  ChangeChannel(f.ctx, 1, 2, kFieldEncode, "100");
  EXPECT_EQ(f.channel(2).encode.text(), "83E8");
  EXPECT_EQ(f.channel(2).decode.text(), "83E8");
  EXPECT_EQ(ValueToText(f.ctx, f.channel(2), kFieldDecode), "100.0");
}

TEST(ChannelOps, ListFieldsTakeTheirTexts) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "440");
  ChannelRecord &c = f.channel(1);
  auto set = [&](int field, const char *text) { return ChangeChannel(f.ctx, 1, 1, field, text); };
  EXPECT_EQ(set(kFieldPower, "High"), EditStatus::Ok);
  EXPECT_EQ(c.power, 2);
  EXPECT_EQ(set(kFieldPower, "Max"), EditStatus::Unmatched);
  EXPECT_EQ(c.power, 2);
  set(kFieldPttId, "Both");
  EXPECT_EQ(c.pttId, 3);
  set(kFieldPttId, "?");
  EXPECT_EQ(c.pttId, 0);
  set(kFieldSpacing, "12.5K(Narrow)");
  EXPECT_EQ(c.spacing, 0);
  set(kFieldSpacing, "?");
  EXPECT_EQ(c.spacing, 1);
  set(kFieldScanAdd, "Del");
  EXPECT_EQ(c.scanAdd, 0);
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldScanAdd), "Del");
  // SP unmute texts depend on the decode tone.
  EXPECT_EQ(set(kFieldSpUnmute, "QT/DQT or Opt.Sig"), EditStatus::Unmatched);
  set(kFieldSpUnmute, "Carrier or Opt.Sig");
  EXPECT_EQ(c.spUnmute, 2);
  set(kFieldDecode, "D023N");
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldSpUnmute), "QT/DQT or Opt.Sig");
  // Busy lock-out: the first three texts only.
  EXPECT_EQ(set(kFieldBusyLock, "Option Signalling"), EditStatus::Unmatched);
  set(kFieldBusyLock, "Repeater");
  EXPECT_EQ(c.busyLock, 2);
  // The Chinese interface shows and takes the Chinese texts (and still understands English).
  SetLanguageIndex(kChinese);
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldPower), "高");
  set(kFieldPower, "低");
  EXPECT_EQ(c.power, 0);
  set(kFieldPower, "Middle");
  EXPECT_EQ(c.power, 1);
  SetLanguageIndex(kEnglish);
}

TEST(ChannelOps, NoneDropsTheChoicesThatNeedSignalling) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "440");
  ChannelRecord &c = f.channel(1);
  c.busyLock = 3;
  c.spUnmute = 2;
  c.optSignal = 1;
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldBusyLock), "Option Signalling");
  ChangeChannel(f.ctx, 1, 1, kFieldOptSignal, "None");
  EXPECT_EQ(c.optSignal, 0);
  EXPECT_EQ(c.busyLock, 0);
  EXPECT_EQ(c.spUnmute, 0);
  c.busyLock = 2;
  ChangeChannel(f.ctx, 1, 1, kFieldOptSignal, "FleetSync");
  EXPECT_EQ(c.optSignal, 2);
  ChangeChannel(f.ctx, 1, 1, kFieldOptSignal, "None");
  EXPECT_EQ(c.busyLock, 2);
}

TEST(ChannelOps, NumberFieldsAndBadInput) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "440");
  ChannelRecord &c = f.channel(1);
  auto set = [&](int field, const char *text) { return ChangeChannel(f.ctx, 1, 1, field, text); };
  EXPECT_EQ(set(kFieldScrambleFreq, "5000"), EditStatus::Ok);
  EXPECT_EQ(c.scrambleFreq, 4100);
  set(kFieldScrambleFreq, "1000");
  EXPECT_EQ(c.scrambleFreq, 1300);
  EXPECT_EQ(set(kFieldScrambleFreq, "abc"), EditStatus::NotNumeric);
  EXPECT_EQ(c.scrambleFreq, 1300);
  set(kFieldCall1, "15");
  EXPECT_EQ(c.call1, 15);
  set(kFieldAutodial, "7");
  EXPECT_EQ(ValueToText(f.ctx, c, kFieldAutodial), "8");
  EXPECT_EQ(set(kFieldCall1, "x"), EditStatus::NotNumeric);
  EXPECT_EQ(set(kFieldCall1, "16"), EditStatus::OutOfRange);
  EXPECT_EQ(set(kFieldReverse, "-1"), EditStatus::OutOfRange);
  EXPECT_EQ(c.call1, 15);
  EXPECT_EQ(c.reverse, 0);
  EXPECT_EQ(set(13, "1"), EditStatus::NoField);
  EXPECT_EQ(set(25, "1"), EditStatus::NoField);
  EXPECT_EQ(ChangeChannel(f.ctx, 1, 129, kFieldRx, "440"), EditStatus::BadChannel);
  EXPECT_EQ(ChangeChannel(f.ctx, 2, 1, kFieldRx, "440"), EditStatus::BadChannel);
  EXPECT_EQ(ChangeChannel(f.ctx, 0, 1, kFieldRx, "440"), EditStatus::BadChannel);
  EXPECT_EQ(f.ws.working.channelCount, 1);
}

TEST(ChannelOps, ScanBankChoicesStayValid) {
  ChannelFixture f;
  for (int n : {33, 40, 35, 1}) ChangeChannel(f.ctx, 1, n, kFieldRx, "440");
  auto &banks = f.ws.working.scan.words;
  // Bank 3 (channels 33..48): the first channel became the choice and stays it; a choice
  // whose channel is missing becomes the bank's channel last in list order.
  EXPECT_EQ(banks[3], 1);
  banks[3] = 16;
  RepairScanGroups(f.ctx);
  EXPECT_EQ(banks[3], 3);
  EXPECT_EQ(FillGroupChannels(f.ws.working, 3), (std::vector<int>{33, 35, 40}));
  banks[3] = 8;  // channel 40 chosen
  ChangeChannel(f.ctx, 1, 35, kFieldRx, "");
  EXPECT_EQ(banks[3], 8);
  ChangeChannel(f.ctx, 1, 40, kFieldRx, "");
  EXPECT_EQ(banks[3], 1);
  ChangeChannel(f.ctx, 1, 33, kFieldRx, "");
  EXPECT_EQ(banks[3], 255);
  EXPECT_EQ(banks[1], 1);
  EXPECT_TRUE(FillGroupChannels(f.ws.working, 3).empty());
  // While the scan window is open it reshows and nothing is stored.
  Recorder scan;
  scan.scanOpen = true;
  f.ctx.addListener(&scan);
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "");
  EXPECT_EQ(banks[1], 1);
  EXPECT_EQ(scan.scanAsked, 1);
  f.ctx.removeListener(&scan);
  RepairScanGroups(f.ctx);
  EXPECT_EQ(banks[1], 255);
}

TEST(ChannelOps, DeleteMovesLaterEntriesDown) {
  ChannelFixture f;
  for (int n : {7, 3, 9}) ChangeChannel(f.ctx, 1, n, kFieldRx, "440");
  EXPECT_FALSE(DeleteChannel(f.ctx, 0));
  EXPECT_FALSE(DeleteChannel(f.ctx, 4));
  EXPECT_TRUE(DeleteChannel(f.ctx, 1));
  EXPECT_EQ(f.ws.working.channelCount, 2);
  EXPECT_EQ(f.ws.working.channels[0].number, 3);
  EXPECT_EQ(f.ws.working.channels[1].number, 9);
}

TEST(ChannelOps, ReLimitTxFollowsTheBand) {
  ChannelFixture f;
  ChangeChannel(f.ctx, 1, 1, kFieldRx, "480");
  ChangeChannel(f.ctx, 1, 2, kFieldRx, "440");
  ChangeChannel(f.ctx, 1, 2, kFieldTx, "");
  Recorder r;
  f.ctx.addListener(&r);
  f.ws.upperLimit = 470.0;  // a narrower TX band, as a band without extension has
  f.ws.bandText = "400 - 470 MHz";
  ReLimitTxFre(f.ctx);
  EXPECT_EQ(f.channel(1).tx.text(), "47000000");
  EXPECT_EQ(f.channel(1).rx.text(), "48000000");
  EXPECT_EQ(f.channel(2).tx.text(), "FFFFFFFF");
  EXPECT_EQ(r.all, 1);
  EXPECT_TRUE(f.messages.empty());
}

TEST(ChannelOps, DecTable) {
  ChannelFixture f;
  std::string path = testing::TempDir() + "/dec_short.tbl";
  {
    std::ofstream(path, std::ios::binary) << std::string(82, '\x05');
  }
  f.ctx.decTable.fill(9);
  EXPECT_FALSE(ReadDecTable(f.ctx, path));
  EXPECT_FALSE(ReadDecTable(f.ctx, path + ".missing"));
  EXPECT_EQ(f.messages, std::vector<std::string>(2, "Read dec.TBL File Error!"));
  EXPECT_EQ(f.ctx.decTable[0], 9);  // kept as it was
  std::remove(path.c_str());

  // The shipped table: the 83 DCS codes, 50 below 256 and 33 above.
  f.ws.programFolder = N27_PROGRAM_DIR;
  ASSERT_TRUE(ReadDecTable(f.ctx));
  EXPECT_EQ(f.ctx.decTable[0], 023);
  EXPECT_EQ(f.ctx.decTable[49], 0371);
  EXPECT_EQ(f.ctx.decTable[50], 0411);
  EXPECT_EQ(f.ctx.decTable[82], 0754);
}

TEST(ChannelFixture, AMissingChannelFailsTheTestInsteadOfCrashingIt) {
  ChannelFixture f;
  EXPECT_NONFATAL_FAILURE(f.channel(99), "channel 99 does not exist");
}

}  // namespace
}  // namespace n27
