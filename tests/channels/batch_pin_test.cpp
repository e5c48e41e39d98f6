// Batch edit frequencies against values worked out by hand: each TX mode, the direction of
// each step, and the silent clamping at both edges of both bands.

#include <gtest/gtest.h>

#include "channel_test_util.h"
#include "channels/batch_engine.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"

namespace n27 {
namespace {

using test::ChannelFixture;

BatchItems only(std::initializer_list<int> on) {
  BatchItems items{};
  for (int i : on) items[i] = 1;
  return items;
}

BatchInput range(int from, int to) {
  BatchInput in;
  in.allChannels = false;
  in.fromText = std::to_string(from);
  in.toText = std::to_string(to);
  return in;
}

// RX 440.00000, 440.02500, 440.05000 on channels 1..3.
void threeChannels(ChannelFixture &f) {
  BatchInput in = range(1, 3);
  in.rxStart = "440";
  in.rxStep = "25";
  ApplyBatch(f.ctx, only({kItemRx}), in);
}

std::vector<std::string> tx(ChannelFixture &f, int from, int to) {
  std::vector<std::string> v;
  for (int n = from; n <= to; ++n) v.push_back(f.channel(n).tx.text());
  return v;
}

TEST(BatchPin, OffsetPlusAddsAndMinusSubtracts) {
  ChannelFixture f;
  threeChannels(f);
  BatchInput in = range(1, 3);
  in.txMode = TxMode::Offset;
  in.txOffset = "5";
  in.offsetSign = OffsetSign::Plus;
  ApplyBatch(f.ctx, only({kItemTx}), in);
  EXPECT_EQ(tx(f, 1, 3), (std::vector<std::string>{"44500000", "44502500", "44505000"}));

  in.offsetSign = OffsetSign::Minus;
  in.txOffset = "10.125";
  ApplyBatch(f.ctx, only({kItemTx}), in);
  EXPECT_EQ(tx(f, 1, 3), (std::vector<std::string>{"42987500", "42990000", "42992500"}));

  in.offsetSign = OffsetSign::None;  // neither sign: TX = RX
  ApplyBatch(f.ctx, only({kItemTx}), in);
  EXPECT_EQ(tx(f, 1, 3), (std::vector<std::string>{"44000000", "44002500", "44005000"}));

  // Past the top of the band the TX stops at 490.
  ChangeChannel(f.ctx, 1, 2, kFieldRx, "487.5");
  in.offsetSign = OffsetSign::Plus;
  in.txOffset = "2.5";
  ApplyBatch(f.ctx, only({kItemTx}), in);
  EXPECT_EQ(f.channel(2).tx.text(), "49000000");
  EXPECT_EQ(f.channel(1).tx.text(), "44250000");
}

TEST(BatchPin, TxStartStepsInItsOwnDirection) {
  ChannelFixture f;
  threeChannels(f);
  BatchInput in = range(1, 3);
  in.txMode = TxMode::Start;
  in.txStart = "450";
  in.txStep = "12.5";
  in.rxIncreasing = true;
  in.txIncreasing = false;
  ApplyBatch(f.ctx, only({kItemTx}), in);
  EXPECT_EQ(tx(f, 1, 3), (std::vector<std::string>{"45000000", "44998750", "44997500"}));

  in.rxIncreasing = false;
  in.txIncreasing = true;
  ApplyBatch(f.ctx, only({kItemTx}), in);
  EXPECT_EQ(tx(f, 1, 3), (std::vector<std::string>{"45000000", "45001250", "45002500"}));
  // The RX frequencies are untouched by a TX-only run.
  EXPECT_EQ(f.channel(3).rx.text(), "44005000");

  // Both together, opposite directions, from channel 5 to 7 (k = 0..2).
  in = range(5, 7);
  in.rxStart = "460.5";
  in.rxStep = "6.25";
  in.rxIncreasing = false;
  in.txMode = TxMode::Start;
  in.txStart = "465.5";
  in.txStep = "6.25";
  in.txIncreasing = true;
  ApplyBatch(f.ctx, only({kItemRx, kItemTx}), in);
  EXPECT_EQ(f.channel(5).rx.text(), "46050000");
  EXPECT_EQ(f.channel(6).rx.text(), "46049375");
  EXPECT_EQ(f.channel(7).rx.text(), "46048750");
  EXPECT_EQ(tx(f, 5, 7), (std::vector<std::string>{"46550000", "46550625", "46551250"}));
}

TEST(BatchPin, TxKeepsTheTransmitOffMark) {
  ChannelFixture f;
  threeChannels(f);                                  // new channels: mark 1
  ChangeChannel(f.ctx, 1, 2, kFieldTx, "445");       // typed TX: mark 0
  ChangeChannel(f.ctx, 1, 3, kFieldTx, "");          // cleared TX: mark 1, no TX
  ASSERT_EQ(f.channel(1).txOff, 1);
  ASSERT_EQ(f.channel(2).txOff, 0);
  ASSERT_EQ(f.channel(3).txOff, 1);
  for (TxMode mode : {TxMode::Default, TxMode::Offset, TxMode::Start}) {
    BatchInput in = range(1, 3);
    in.txMode = mode;
    in.txOffset = "1";
    in.txStart = "450";
    in.txStep = "1";
    ApplyBatch(f.ctx, only({kItemTx}), in);
    EXPECT_EQ(f.channel(1).txOff, 1);
    EXPECT_EQ(f.channel(2).txOff, 0);
    EXPECT_EQ(f.channel(3).txOff, 1);
  }
  EXPECT_EQ(tx(f, 1, 3), (std::vector<std::string>{"45000000", "45000100", "45000200"}));
}

struct Edge {
  const char *typed;
  const char *stored;
};

// One RX per channel (step 0), so each channel shows what one start value becomes.
void expectRxEdges(bool band136, std::initializer_list<Edge> edges) {
  ChannelFixture f(band136);
  for (const Edge &e : edges) {
    BatchInput in = range(1, 1);
    in.rxStart = e.typed;
    in.rxStep = "0";
    ApplyBatch(f.ctx, only({kItemRx}), in);
    EXPECT_EQ(f.channel(1).rx.text(), e.stored) << (band136 ? "136 band, " : "400 band, ") << e.typed;
    // The TX start goes through the TX limits the same way.
    in.txMode = TxMode::Start;
    in.txStart = e.typed;
    in.txStep = "0";
    ApplyBatch(f.ctx, only({kItemTx}), in);
    EXPECT_EQ(f.channel(1).tx.text(), e.stored) << "TX " << e.typed;
  }
  EXPECT_TRUE(f.messages.empty()) << "batch edit clamps without a message";
}

TEST(BatchPin, ClampsAtBothEdgesOfBothBands) {
  expectRxEdges(false, {{"399.99999", "40000000"},
                        {"400", "40000000"},
                        {"400.00001", "40000001"},
                        {"489.99999", "48999999"},
                        {"490", "49000000"},
                        {"490.00001", "49000000"},
                        {"491", "49000000"},
                        {"300", "40000000"}});
  expectRxEdges(true, {{"135.99999", "13600000"},
                       {"136", "13600000"},
                       {"136.00001", "13600001"},
                       {"173.99999", "17399999"},
                       {"174", "17400000"},
                       {"174.00001", "17400000"},
                       {"175", "17400000"},
                       {"400", "17400000"}});
}

TEST(BatchPin, StepsPastTheEdgeStopAtTheLimit) {
  {
    ChannelFixture f;
    BatchInput in = range(1, 4);
    in.rxStart = "489.5";
    in.rxStep = "250";
    ApplyBatch(f.ctx, only({kItemRx}), in);
    EXPECT_EQ(f.channel(3).rx.text(), "49000000");
    EXPECT_EQ(f.channel(4).rx.text(), "49000000") << "490.25 MHz is above the band";
    in.rxStart = "400.5";
    in.rxIncreasing = false;
    ApplyBatch(f.ctx, only({kItemRx}), in);
    EXPECT_EQ(f.channel(3).rx.text(), "40000000");
    EXPECT_EQ(f.channel(4).rx.text(), "40000000") << "399.75 MHz is below the band";
  }
  ChannelFixture f(true);
  BatchInput in = range(1, 4);
  in.rxStart = "173.99";
  in.rxStep = "5";
  ApplyBatch(f.ctx, only({kItemRx}), in);
  EXPECT_EQ(f.channel(1).rx.text(), "17399000");
  EXPECT_EQ(f.channel(2).rx.text(), "17399500");
  EXPECT_EQ(f.channel(3).rx.text(), "17400000");
  EXPECT_EQ(f.channel(4).rx.text(), "17400000");
  in.rxStart = "136.01";
  in.rxIncreasing = false;
  ApplyBatch(f.ctx, only({kItemRx}), in);
  EXPECT_EQ(f.channel(1).rx.text(), "13601000");
  EXPECT_EQ(f.channel(2).rx.text(), "13600500");
  EXPECT_EQ(f.channel(3).rx.text(), "13600000");
  EXPECT_EQ(f.channel(4).rx.text(), "13600000");
}

}  // namespace
}  // namespace n27
