// What the engine takes from the line: only the block it asked for, only with a right
// checksum (or sent twice alike), and what it tells the user about the blocks it asked for again.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/bytes.h"
#include "base/messages.h"
#include "codeplug/memory_map.h"
#include "engine_harness.h"
#include "link/transfer_session.h"

namespace n27::test {
namespace {

const Bytes kProgramFrame = link::ProgramRequest().bytes;

bool isReadOf(const Bytes &request, std::size_t address) {
  return request.size() == 4 && request[0] == link::kRead && link::FrameAddress(request) == address;
}

int countRequests(const std::vector<Bytes> &sent, const Bytes &frame) {
  return static_cast<int>(std::count(sent.begin(), sent.end(), frame));
}

bool isDataFrame(const Bytes &reply) { return reply.size() == link::kDataFrameLength && reply[0] == link::kWrite; }

// Channel 1 receives on 400.00000 MHz (8 BCD digits, big-endian as the radio stores them).
void putChannelOne(sim::SimulatedRadio &radio) {
  uint8_t *r = radio.memory().data() + mem::ChannelRecordAddress(1);
  put32be(r, 0x40000000);
}

TEST(ReplyChecks, AFlippedBitIsAskedForAgainAndNeverStored) {
  Bench b;
  putChannelOne(b.radio);
  const std::size_t at = mem::ChannelRecordAddress(1);
  const std::size_t block = at - at % 16;
  int corrupted = 0;
  // One bit flipped on the line in the first answer for channel 1's block: 400.00000 would
  // read as something else.
  b.line = [&](const Bytes &request, Bytes &reply) {
    if (isReadOf(request, block) && corrupted++ == 0) reply[4 + at % 16 + 1] ^= 0x10;
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  EXPECT_EQ(b.run(), 0);  // no time-out: the block is asked for again at once
  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(b.ws.image.at(at + i), b.radio.memory()[at + i]);
  EXPECT_EQ(b.ws.image.at(at), 0x40);
  EXPECT_EQ(b.ws.image.at(at + 1), 0x00);
  // The same request twice in a row, no second program request, no question.
  const Bytes request = link::ReadRequest(block).bytes;
  EXPECT_EQ(countRequests(b.host.sent, request), 2);
  auto first = std::find(b.host.sent.begin(), b.host.sent.end(), request);
  ASSERT_NE(first, b.host.sent.end());
  EXPECT_EQ(*(first + 1), request);
  EXPECT_EQ(countRequests(b.host.sent, kProgramFrame), 1);
  EXPECT_TRUE(b.host.questions.empty());
  EXPECT_TRUE(b.host.notes.empty());
  EXPECT_EQ(b.engine.summary().rerequests, 1);
  EXPECT_EQ(b.engine.summary().agreed, 0);
  EXPECT_EQ(b.engine.summary().blocks, 160);
  EXPECT_EQ(SummaryText(b.engine.summary()), "Blocks: 160, asked for again: 1, restarts: 0.");
}

TEST(ReplyChecks, ARadioWithAnotherChecksumRuleIsReadFromTwoIdenticalReplies) {
  Bench b;
  for (std::size_t a = 0; a < 2560; ++a)
    if (a < 416 || a >= 512) b.radio.memory()[a] = static_cast<uint8_t>(a * 13 + 1);
  b.line = [](const Bytes &, Bytes &reply) {
    if (isDataFrame(reply)) reply.back() = static_cast<uint8_t>(reply.back() + 1);
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  EXPECT_EQ(b.run(), 0);
  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  for (std::size_t a = 0; a < 2560; ++a) {
    if (a >= 496 && a < 512) continue;
    ASSERT_EQ(b.ws.image.at(a), b.radio.memory()[a]) << a;
  }
  ASSERT_EQ(b.host.notes.size(), 1u);  // said once, not for every block
  EXPECT_EQ(b.host.notes[0], ChecksumNote());
  EXPECT_TRUE(b.host.messages.empty());
  EXPECT_EQ(b.engine.summary().agreed, 161);
  EXPECT_EQ(b.engine.summary().rerequests, 161);
}

TEST(ReplyChecks, TheSameDamageTwiceIsNotTakenOnceABlockPassedItsChecksum) {
  // A proxy flips the same bit of channel 1's block every time: 400.00000 MHz would read as
  // another frequency. Every other block (the password block first) comes through clean.
  Bench b;
  putChannelOne(b.radio);
  const std::size_t at = mem::ChannelRecordAddress(1);
  b.line = [&](const Bytes &request, Bytes &reply) {
    if (isReadOf(request, at)) reply[4 + 1] ^= 0x10;
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  EXPECT_EQ(countRequests(b.host.sent, link::ReadRequest(at).bytes), 4);
  EXPECT_EQ(b.host.questions, std::vector<std::string>{msg::kRetry.str()});  // Cancel
  EXPECT_EQ(b.host.results, std::vector<bool>{false});
  EXPECT_EQ(b.engine.summary().agreed, 0);
  EXPECT_TRUE(b.host.notes.empty());
  EXPECT_EQ(b.ws.image.at(at + 1), 0x00) << "the damaged byte was never stored";
}

TEST(ReplyChecks, AReadKeepsTheRadiosOwnBytesFrom416On) {
  // The radio's memory at 416..431 is not its identification reply: band byte 1 where the
  // reply says band 0, other bytes at 416 and 423..431. The block at 416 comes after the
  // reply, and the image holds what the radio's memory holds.
  Bench b;
  const uint8_t memory[16] = {0x11, 'N', '2', '7', 'P', 'R', 0x01, 0x22, 'V', '1', '0', '9',
                              0x33, 0x44, 0x55, 0x66};
  for (std::size_t i = 0; i < 16; ++i) b.radio.memory()[416 + i] = memory[i];
  ASSERT_EQ(b.radio.identificationReply()[6], 0);
  PrepareRead(b.ws);
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  CompleteRead(b.ws, b.engine.identification());
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(b.ws.image.at(416 + i), memory[i]) << 416 + i;
  EXPECT_EQ(b.ws.bandText, "136 - 174 MHz");
}

TEST(ReplyChecks, ABlockThatNeverComesTheSameTwiceIsUnanswered) {
  Bench b;
  int replies = 0;
  // Every answer for block 32 arrives damaged differently.
  b.line = [&](const Bytes &request, Bytes &reply) {
    if (!isReadOf(request, 32)) return;
    reply[4 + replies % 16] ^= static_cast<uint8_t>(1 + replies);
    ++replies;
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  EXPECT_EQ(replies, 4);  // the first request and three more
  EXPECT_EQ(countRequests(b.host.sent, link::ReadRequest(32).bytes), 4);
  EXPECT_EQ(b.host.questions, std::vector<std::string>{msg::kRetry.str()});  // Cancel
  EXPECT_EQ(b.host.results, std::vector<bool>{false});
  EXPECT_EQ(b.engine.summary().rerequests, 3);
  for (std::size_t a = 32; a < 48; ++a) EXPECT_EQ(b.ws.image.at(a), 0x00) << a;  // never stored

  // Retry starts the pass again; the block comes through clean the second time round.
  Bench r;
  int damaged = 0;
  r.line = [&](const Bytes &request, Bytes &reply) {
    if (!isReadOf(request, 32) || damaged >= 4) return;
    reply[4 + damaged % 16] ^= static_cast<uint8_t>(1 + damaged);
    ++damaged;
  };
  r.host.retryAnswers = {true};
  ASSERT_TRUE(r.engine.start(TransferType::Read));
  r.run();
  EXPECT_EQ(r.host.results, std::vector<bool>{true});
  EXPECT_EQ(r.engine.summary().rerequests, 3);
  EXPECT_EQ(r.engine.summary().restarts, 1);
  for (std::size_t a = 32; a < 48; ++a) EXPECT_EQ(r.ws.image.at(a), r.radio.memory()[a]) << a;
}

TEST(ReplyChecks, TheWrongChecksumOfThePasswordBlockIsAskedForAgain) {
  sim::RadioSettings s;
  s.password = "ab";
  Bench b(s);
  b.ws.password = "ab";
  bool damaged = false;
  // Damaged password bytes would otherwise bring up the password dialog.
  b.line = [&](const Bytes &request, Bytes &reply) {
    if (isReadOf(request, 480) && !damaged) {
      damaged = true;
      reply[4 + 12] ^= 0x01;
    }
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  EXPECT_EQ(b.host.results, std::vector<bool>{true});
  EXPECT_EQ(b.host.passwordDialogs, 0);
  EXPECT_EQ(b.engine.summary().rerequests, 1);
}

TEST(ReplyChecks, TheTuningBlockIsTakenOnlyWhenItWasAskedFor) {
  Bench b;
  for (std::size_t a = 0; a < 2560; ++a)
    if (a < 416 || a >= 512) b.radio.memory()[a] = static_cast<uint8_t>(a + 5);
  const Bytes tuning = link::DataFrame(496, b.radio.memory().data() + 496).bytes;
  // The radio answers block 32 with its tuning block (right checksum and all).
  b.line = [&](const Bytes &request, Bytes &reply) {
    if (isReadOf(request, 32)) reply = tuning;
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  EXPECT_EQ(b.host.questions.size(), 1u);  // block 32 is missing: Cancel
  EXPECT_EQ(b.host.results, std::vector<bool>{false});
  EXPECT_EQ(b.ws.tuning, (std::array<int16_t, 16>{}));

  // Asked for in test mode: taken into the tuning table, not into the image.
  Bench t;
  t.ws.testMode = true;
  t.radio.memory()[496] = 0x2A;
  ASSERT_TRUE(t.engine.start(TransferType::Read));
  t.run();
  ASSERT_EQ(t.host.results, std::vector<bool>{true});
  EXPECT_EQ(t.ws.tuning[0], 0x2A);
  EXPECT_EQ(t.ws.image.at(496), 0x00);
}

TEST(ReplyChecks, ABlockForAnotherAddressIsNotTakenForTheOneAskedFor) {
  Bench b;
  b.radio.memory()[64] = 0x11;
  b.radio.memory()[48] = 0x22;
  const Bytes frame64 = link::DataFrame(64, b.radio.memory().data() + 64).bytes;
  b.line = [&](const Bytes &request, Bytes &reply) {
    if (isReadOf(request, 48)) reply = frame64;
  };
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  EXPECT_EQ(b.host.results, std::vector<bool>{false});
  EXPECT_EQ(b.ws.image.at(48), 0x00);
}

TEST(TransferSession, AWriteSendsTheBandOfTheBandText) {
  // A file with band code 5 shows "Unknown Band" and would otherwise send band byte 5.
  Workspace ws = MakeWorkspace();
  ws.working.channelCount = 1;
  ws.working.channels[0].number = 1;
  ws.working.bandCode = 5;
  PrepareWrite(ws);
  EXPECT_EQ(ws.image.at(mem::kBandCode), 0);
  EXPECT_EQ(ws.working.bandCode, 0);

  ws.bandText = "136 - 174 MHz";
  ws.working.bandCode = 0;
  PrepareWrite(ws);
  EXPECT_EQ(ws.image.at(mem::kBandCode), 1);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(ws.image.at(mem::kModelName + i), "N27PR"[i]);
}

}  // namespace
}  // namespace n27::test
