// The simulated radio itself: it stays small however long it runs, saves a completed write
// before it acknowledges the end request, and its noisy line puts faults on the replies.

#include <gtest/gtest.h>

#include "engine_harness.h"

namespace n27::test {
namespace {

TEST(SimulatedRadio, MemoryDoesNotGrowWithEveryTransfer) {
  Bench b;
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(b.engine.start(i % 2 ? TransferType::Write : TransferType::Read));
    b.run();
    ASSERT_EQ(b.host.results.back(), true);
    b.radio.takeEvents();
  }
  // Only the last session's addresses are kept.
  EXPECT_EQ(b.radio.writtenAddresses().size(), 155u);
  EXPECT_EQ(b.radio.readAddresses().size(), 1u);  // the password block of the write
  EXPECT_TRUE(b.radio.takeEvents().empty());

  // A programmer that never sends the program request again cannot grow the lists either.
  sim::SimulatedRadio radio;
  radio.receive(link::ProgramRequest().bytes);
  for (int i = 0; i < 10000; ++i) radio.receive(link::ReadRequest(16).bytes);
  EXPECT_LE(radio.readAddresses().size(), 4096u);
  EXPECT_LE(radio.takeEvents().size(), 4096u);
}

TEST(SimulatedRadio, ACompletedWriteIsSavedBeforeTheEndIsAcknowledged) {
  sim::SimulatedRadio radio;
  int saves = 0;
  std::size_t repliesBeforeSave = 0;
  std::vector<Bytes> replies;
  radio.onCompletedWrite = [&] {
    ++saves;
    EXPECT_EQ(radio.memory()[32], 0xAB);  // the frame is in the memory being saved
  };
  radio.receive(link::ProgramRequest().bytes);
  uint8_t data[16] = {0xAB};
  EXPECT_EQ(radio.receive(link::DataFrame(32, data).bytes).size(), 1u);
  replies = radio.receive(Bytes{link::kEnd});
  repliesBeforeSave = replies.size();
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(repliesBeforeSave, 1u);  // the acknowledgement comes back after the save
  // An end request without a stored frame saves nothing.
  radio.receive(link::ProgramRequest().bytes);
  radio.receive(Bytes{link::kEnd});
  EXPECT_EQ(saves, 1);
}

TEST(SimulatedRadio, ANoisyLineInjectsFaultsAndTheRadioListensAgainAfterStopping) {
  sim::Faults f;
  f.randomFaultRate = 1.0;  // every reply
  f.randomSeed = 3;
  sim::SimulatedRadio radio({}, f);
  int delivered = 0;
  for (int i = 0; i < 200; ++i) {
    if (i % 5 == 0) radio.receive(link::ProgramRequest().bytes);
    for (const Bytes &r : radio.receive(link::ReadRequest(64).bytes)) {
      ++delivered;
      // Whatever arrives is damaged: never the radio's block with a right checksum.
      EXPECT_FALSE(r.size() == 21 && r[0] == link::kWrite &&
                   r[20] == link::Checksum(r.data(), 20) && link::FrameAddress(r) == 64);
    }
  }
  EXPECT_GT(delivered, 0);
  EXPECT_GE(radio.faultsInjected(), 50);
  int kinds[8] = {};
  for (const sim::Event &e : radio.takeEvents()) ++kinds[e.kind];
  EXPECT_GT(kinds[sim::Event::Drop], 0);
  EXPECT_GT(kinds[sim::Event::Garble], 0);
  EXPECT_GT(kinds[sim::Event::BadChecksum], 0);
  EXPECT_GT(kinds[sim::Event::Stop], 0);
}

}  // namespace
}  // namespace n27::test
