// The transfer engine driven through whole transfers against the simulated radio and through
// single exchanges with scripted replies and timer events.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/messages.h"
#include "base/numbered_text.h"
#include "codeplug/memory_map.h"
#include "engine_harness.h"
#include "link/tuning_block.h"

namespace n27::test {
namespace {

const Bytes kProgramFrame = link::ProgramRequest().bytes;

std::vector<std::size_t> dataFrameAddresses(const std::vector<Bytes> &sent) {
  std::vector<std::size_t> out;
  for (const auto &f : sent)
    if (f.size() == link::kDataFrameLength && f[0] == link::kWrite) out.push_back(link::FrameAddress(f));
  return out;
}

std::vector<std::size_t> readAddresses(const std::vector<Bytes> &sent) {
  std::vector<std::size_t> out;
  for (const auto &f : sent)
    if (f.size() == 4 && f[0] == link::kRead) out.push_back(link::FrameAddress(f));
  return out;
}

int countProgramRequests(const std::vector<Bytes> &sent) {
  return static_cast<int>(std::count(sent.begin(), sent.end(), kProgramFrame));
}

void fillPattern(sim::SimulatedRadio &radio) {
  for (std::size_t a = 0; a < mem::kTransferEnd; ++a)
    if (a < 416 || a >= 512) radio.memory()[a] = static_cast<uint8_t>(a * 7 + 3);
}

TEST(TransferEngine, ReadFetchesEveryBlockInOrderAndEndsWithTheEndRequest) {
  Bench b;
  fillPattern(b.radio);
  b.ws.image.set(2560, 0x42);
  b.ws.image.fill(0, mem::kFillEnd, 0xFF);
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();

  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  EXPECT_TRUE(b.host.messages.empty());
  EXPECT_EQ(b.host.closes, 1);
  EXPECT_FALSE(b.host.timerRunning);
  // The handshake, then 160 blocks.
  ASSERT_GE(b.host.sent.size(), 5u);
  EXPECT_EQ(b.host.sent[0], kProgramFrame);
  EXPECT_EQ(b.host.sent[1], Bytes{0x02});
  EXPECT_EQ(b.host.sent[2], Bytes{0x06});
  EXPECT_EQ(b.host.sent[3], (Bytes{0x52, 0x01, 0xE0, 0x10}));
  EXPECT_EQ(b.host.sent[4], Bytes{0x06});
  EXPECT_EQ(b.host.sent.back(), Bytes{0x45});
  std::vector<std::size_t> expected{480};
  for (std::size_t a = 0; a < 2560; a += 16) expected.push_back(a);
  EXPECT_EQ(readAddresses(b.host.sent), expected);

  // The image holds the radio's memory; the tuning block stays erased, 2560 untouched.
  for (std::size_t a = 0; a < 2560; ++a) {
    if (a >= 496 && a < 512)
      EXPECT_EQ(b.ws.image.at(a), 0xFF) << a;
    else
      ASSERT_EQ(b.ws.image.at(a), b.radio.memory()[a]) << a;
  }
  EXPECT_EQ(b.ws.image.at(2560), 0x42);
  EXPECT_EQ(b.engine.identification().firmware, "V101");

  // Progress rises by whole percent, halves to even, and stops at 99.
  const auto &p = b.host.progressValues;
  ASSERT_FALSE(p.empty());
  EXPECT_EQ(p.front(), 0);  // the start of the pass
  EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
  EXPECT_EQ(p.back(), 99);
}

TEST(TransferEngine, ProgressRoundsHalvesToEven) {
  EXPECT_EQ(TransferEngine::ProgressPercent(64, 2560), 2);    // 2.5
  EXPECT_EQ(TransferEngine::ProgressPercent(192, 2560), 8);   // 7.5
  EXPECT_EQ(TransferEngine::ProgressPercent(80, 2560), 3);    // 3.125
  EXPECT_EQ(TransferEngine::ProgressPercent(2544, 2560), 99); // 99.375
  EXPECT_EQ(TransferEngine::ProgressPercent(10, 0), 0);
}

TEST(TransferEngine, WriteSendsEveryBlockButTheInformationPasswordAndTuningBlocks) {
  Bench b;
  for (std::size_t a = 0; a < 2561; ++a) b.ws.image.set(a, static_cast<uint8_t>(a ^ 0x5A));
  const auto before = b.radio.memory();
  ASSERT_TRUE(b.engine.start(TransferType::Write));
  b.run();

  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  std::vector<std::size_t> expected;
  for (std::size_t a = 0; a < 432; a += 16) expected.push_back(a);
  for (std::size_t a = 512; a < 2560; a += 16) expected.push_back(a);
  EXPECT_EQ(dataFrameAddresses(b.host.sent), expected);
  EXPECT_EQ(b.radio.writtenAddresses(), expected);
  for (std::size_t a = 0; a < 2560; ++a) {
    if (a >= 432 && a < 512)
      ASSERT_EQ(b.radio.memory()[a], before[a]) << a;
    else
      ASSERT_EQ(b.radio.memory()[a], b.ws.image.at(a)) << a;
  }
  // Each frame carries the right checksum.
  for (const auto &f : b.host.sent) {
    if (f.size() == link::kDataFrameLength) {
      ASSERT_EQ(f[20], link::Checksum(f.data(), 20));
    }
  }
  EXPECT_EQ(b.host.progressValues.back(), 99);
  EXPECT_TRUE(b.radio.takeCompletedWrite());
}

TEST(TransferEngine, ReadAndWriteMirrorTheIdentificationIntoTheImage) {
  Bench b;
  b.ws.image.set(422, 0x77);
  ASSERT_TRUE(b.engine.start(TransferType::Write));
  // Stop after the identification exchange: no radio beyond it.
  b.engine.onBytesReceived(Bytes{0x06});
  b.engine.onBytesReceived(b.radio.identificationReply());
  Bytes id = b.radio.identificationReply();
  for (std::size_t i = 0; i <= 5; ++i) EXPECT_EQ(b.ws.image.at(416 + i), id[i]);
  EXPECT_EQ(b.ws.image.at(422), 0x77);  // the band byte is not copied
  for (std::size_t i = 7; i <= 11; ++i) EXPECT_EQ(b.ws.image.at(416 + i), id[i]);
}

TEST(TransferEngine, RadioInformationReadFetchesItsFourBlocksWithoutPasswordOrCheck) {
  sim::RadioSettings s;
  s.model = "X1";  // a model the identification check would refuse: there is none here
  s.password = "1234";
  Bench b(s);
  b.ws.image.fill(0, 2560, 0xFF);
  ASSERT_TRUE(b.engine.start(TransferType::RadioInformation));
  b.run();
  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  EXPECT_EQ(readAddresses(b.host.sent), (std::vector<std::size_t>{432, 448, 464, 480}));
  EXPECT_EQ(b.host.passwordDialogs, 0);
  EXPECT_TRUE(b.host.progressValues.empty());
  for (std::size_t a = 432; a < 496; ++a) EXPECT_EQ(b.ws.image.at(a), b.radio.memory()[a]);
  EXPECT_EQ(b.ws.image.at(416), 0xFF);  // the identification is not copied
}

TEST(TransferEngine, ReplyThresholdTakesTheFirstBytesAndDropsTheRest) {
  Bench b;
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  // Not awaited yet? The program request sets the flag; 06 06 is one acknowledgement.
  b.engine.onBytesReceived(Bytes{0x06, 0x06});
  EXPECT_EQ(b.engine.readState(), 2);
  EXPECT_EQ(b.host.sent.back(), Bytes{0x02});
  // The identification reply in three pieces.
  Bytes id = b.radio.identificationReply();
  b.engine.onBytesReceived(id.data(), 3);
  b.engine.onBytesReceived(id.data() + 3, 5);
  EXPECT_EQ(b.engine.readState(), 2);
  b.engine.onBytesReceived(id.data() + 8, 6);
  EXPECT_EQ(b.engine.readState(), 31);
  // A reply that fits nothing is ignored and leaves the timer running.
  b.engine.onBytesReceived(Bytes{0x15});
  EXPECT_EQ(b.engine.readState(), 31);
  EXPECT_TRUE(b.host.timerRunning);
}

TEST(TransferEngine, BytesWhileNoReplyIsAwaitedAreDropped) {
  Bench b;
  b.engine.onBytesReceived(Bytes{0x06});  // no transfer
  EXPECT_TRUE(b.host.sent.empty());
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  // During the retry question (flag cleared) a late acknowledgement must not advance.
  b.host.duringQuestion = [&] { b.engine.onBytesReceived(Bytes{0x06}); };
  b.host.retryAnswers = {true};
  for (int i = 0; i < 6; ++i) b.engine.onReplyTimeout();
  EXPECT_EQ(b.host.questions.size(), 1u);
  EXPECT_EQ(b.engine.readState(), 1);  // restarted, nothing advanced
  EXPECT_EQ(b.engine.programRetryCount(), 0);
}

TEST(TransferEngine, SilentRadioGetsSixProgramRequestsThenTheRetryQuestion) {
  Bench b;
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  for (int i = 0; i < 5; ++i) {
    b.engine.onReplyTimeout();
    EXPECT_TRUE(b.host.questions.empty());
  }
  EXPECT_EQ(countProgramRequests(b.host.sent), 6);
  b.engine.onReplyTimeout();  // Cancel
  EXPECT_EQ(b.host.questions, std::vector<std::string>{msg::kRetry.str()});
  EXPECT_EQ(b.host.results, std::vector<bool>{false});
  EXPECT_TRUE(b.host.messages.empty());  // Cancel closes without a message
  EXPECT_EQ(b.host.closes, 1);
  EXPECT_FALSE(b.engine.running());
  b.engine.onReplyTimeout();  // a stray timer event after the end changes nothing
  EXPECT_EQ(b.host.results.size(), 1u);
}

TEST(TransferEngine, RetryRestartsFromTheProgramRequestAndBlockZero) {
  sim::Faults f;
  f.dropReply = 30;  // somewhere in the block phase
  Bench b({}, f);
  b.host.retryAnswers = {true};
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  EXPECT_EQ(b.run(), 1);
  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  EXPECT_EQ(countProgramRequests(b.host.sent), 2);
  auto reads = readAddresses(b.host.sent);
  EXPECT_EQ(std::count(reads.begin(), reads.end(), 0u), 2);  // block 0 twice
  // The bar went back to 0 and climbed again to 99.
  const auto &p = b.host.progressValues;
  EXPECT_EQ(std::count(p.begin(), p.end(), 0), 2);
  EXPECT_EQ(p.back(), 99);
}

TEST(TransferEngine, GarbledAndBadChecksumReplies) {
  {  // A garbled reply is ignored: time-out, retry, success.
    sim::Faults f;
    f.garbleReply = 12;
    Bench b({}, f);
    b.host.retryAnswers = {true};
    ASSERT_TRUE(b.engine.start(TransferType::Write));
    EXPECT_EQ(b.run(), 1);
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
  }
  {  // A data frame with a wrong checksum is asked for again; the right one is stored.
    sim::Faults f;
    f.badChecksumReply = 8;
    Bench b({}, f);
    fillPattern(b.radio);
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    EXPECT_EQ(b.run(), 0);
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
    EXPECT_EQ(b.engine.summary().rerequests, 1);
    EXPECT_EQ(b.ws.image.at(16), b.radio.memory()[16]);
  }
}

TEST(TransferEngine, MissingAnswerToTheEndRequestStillSucceeds) {
  sim::Faults f;
  f.noEndAck = true;
  for (TransferType t : {TransferType::Read, TransferType::Write, TransferType::RadioInformation}) {
    Bench b({}, f);
    ASSERT_TRUE(b.engine.start(t));
    EXPECT_EQ(b.run(), 1);
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
    EXPECT_TRUE(b.host.questions.empty());
  }
}

TEST(TransferEngine, RadioThatStopsAnsweringEndsAsFailedAfterCancel) {
  sim::Faults f;
  f.stopAfterBlocks = 20;
  Bench b({}, f);
  b.host.retryAnswers = {true};  // one retry, then Cancel
  ASSERT_TRUE(b.engine.start(TransferType::Write));
  b.run();
  EXPECT_EQ(b.host.questions.size(), 2u);
  EXPECT_EQ(b.host.results, std::vector<bool>{false});
}

TEST(TransferEngine, RadioInformationTimeOutRules) {
  {  // No answer at all: six requests, then the message with OK only, failed.
    Bench b;
    ASSERT_TRUE(b.engine.start(TransferType::RadioInformation));
    for (int i = 0; i < 6; ++i) b.engine.onReplyTimeout();
    EXPECT_EQ(countProgramRequests(b.host.sent), 6);
    EXPECT_TRUE(b.host.questions.empty());
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].first, msg::kRetry.str());
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  {  // A missing identification (state 2): the same message, no question.
    Bench b;
    ASSERT_TRUE(b.engine.start(TransferType::RadioInformation));
    b.engine.onBytesReceived(Bytes{0x06});
    b.engine.onReplyTimeout();
    EXPECT_TRUE(b.host.questions.empty());
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  {  // A missing block (state 4): the retry question.
    sim::Faults f;
    f.stopAfterBlocks = 2;
    Bench b({}, f);
    ASSERT_TRUE(b.engine.start(TransferType::RadioInformation));
    b.run();
    EXPECT_EQ(b.host.questions.size(), 1u);
    EXPECT_TRUE(b.host.messages.empty());
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
}

TEST(TransferEngine, IdentificationCheckModelAndBand) {
  {  // Another model: the message names both, and the transfer fails.
    sim::RadioSettings s;
    s.model = "N26";
    Bench b(s);
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].first, msg::kModel.str() + "\r\nPC is N27\r\nRadio is N26");
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
    EXPECT_TRUE(readAddresses(b.host.sent) == std::vector<std::size_t>{480});
  }
  {  // "N27" followed by NUL bytes is the model "N27".
    Bench b;
    Bytes id = b.radio.identificationReply();
    id[4] = id[5] = 0;
    EXPECT_EQ(link::ParseIdentification(id).model, "N27");
  }
  sim::RadioSettings other;
  other.band = 1;
  {  // Another band: a read takes it.
    Bench b(other);
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
    EXPECT_TRUE(b.host.messages.empty());
  }
  {  // A write refuses it.
    Bench b(other);
    ASSERT_TRUE(b.engine.start(TransferType::Write));
    b.run();
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].first, msg::kBand.str());
    EXPECT_TRUE(dataFrameAddresses(b.host.sent).empty());
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
}

TEST(TransferEngine, KilledAndStunnedRadiosAreNotWritten) {
  struct Case {
    bool killed, stunned;
    const Tr &message;
  };
  for (const Case &c : {Case{true, true, msg::kKilled}, Case{true, false, msg::kKilled},
                        Case{false, true, msg::kStunned}}) {
    SCOPED_TRACE(std::string("killed ") + (c.killed ? "yes" : "no") + ", stunned " + (c.stunned ? "yes" : "no"));
    sim::RadioSettings s;
    s.killed = c.killed;
    s.stunned = c.stunned;
    Bench b(s);
    ASSERT_TRUE(b.engine.start(TransferType::Write));
    b.run();
    ASSERT_EQ(b.host.messages.size(), 1u);  // both flags: only the killed message
    EXPECT_EQ(b.host.messages[0].first, c.message.str());
    EXPECT_TRUE(dataFrameAddresses(b.host.sent).empty());
    EXPECT_TRUE(b.radio.writtenAddresses().empty());
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  sim::RadioSettings both;
  both.killed = both.stunned = true;
  {  // A killed radio can still be read.
    Bench b(both);
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
  }
}

TEST(TransferEngine, IncompatibleFirmwareOffersTheOtherRelease) {
  SetLanguageFolder(std::string(N27_PROGRAM_DIR) + "/language");
  sim::RadioSettings s;
  s.firmware = "V102";  // listed with V300
  {
    Bench b(s);
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    ASSERT_EQ(b.host.questions.size(), 1u);
    EXPECT_EQ(b.host.questions[0], VersionMessage("V200", "V102"));
    EXPECT_NE(b.host.questions[0].find("V1.02"), std::string::npos);
    EXPECT_NE(b.host.questions[0].find("V2.00"), std::string::npos);
    EXPECT_EQ(b.host.results, std::vector<bool>{false});  // No
    EXPECT_FALSE(b.host.switchedTo);
  }
  {
    Bench b(s);
    b.host.switchAnswer = true;
    ASSERT_TRUE(b.engine.start(TransferType::Write));
    b.run();
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
    EXPECT_EQ(b.host.switchedTo, std::optional<std::string>("V300"));
    EXPECT_EQ(b.host.closes, 1);
  }
  s.firmware = "V999";  // listed nowhere
  {
    Bench b(s);
    b.host.switchAnswer = true;
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.switchedTo, std::optional<std::string>(""));
  }
  SetLanguageFolder("");
}

TEST(TransferEngine, PasswordStep) {
  sim::RadioSettings s;
  s.password = "ab";
  {  // Refused, then the right password in the dialog: restart from the program request.
    Bench b(s);
    b.host.passwordDialog = [](std::string &p) { p = "ab"; };
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.passwordDialogs, 1);
    EXPECT_EQ(countProgramRequests(b.host.sent), 2);
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
    EXPECT_EQ(std::count(b.host.progressValues.begin(), b.host.progressValues.end(), 0), 2);
  }
  {  // Cancel in the dialog: "PassWord Failure!" and no block read.
    Bench b(s);
    ASSERT_TRUE(b.engine.start(TransferType::Write));
    b.run();
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].first, msg::kPasswordFailure);
    EXPECT_TRUE(dataFrameAddresses(b.host.sent).empty());
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  {  // Case matters.
    Bench b(s);
    b.ws.password = "AB";
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.passwordDialogs, 1);
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  {  // Entered in advance: no dialog.
    Bench b(s);
    b.ws.password = "ab";
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.passwordDialogs, 0);
    EXPECT_EQ(b.host.results, std::vector<bool>{true});
    EXPECT_EQ(b.ws.image.at(492), 'a');  // the password block is kept in the image
  }
}

TEST(TransferEngine, TestModeReadsAndWritesTheTuningBlock) {
  Bench b;
  const uint8_t tuning[16] = {1, 2, 3, 0x81, 0x23, 4, 5, 6, 7, 0x01, 0x90, 8, 9, 10, 11, 12};
  for (std::size_t i = 0; i < 16; ++i) b.radio.memory()[496 + i] = tuning[i];
  b.ws.testMode = true;
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  ASSERT_EQ(b.host.results, std::vector<bool>{true});
  auto reads = readAddresses(b.host.sent);
  ASSERT_GE(reads.size(), 3u);
  EXPECT_EQ(reads[1], 496u);  // right after the password block
  EXPECT_EQ(reads[2], 0u);
  EXPECT_EQ(b.ws.tuning[3], 0x23);
  EXPECT_EQ(b.ws.tuning[8], 0x190);
  EXPECT_EQ(b.ws.tuning[13], 12);
  EXPECT_EQ(b.ws.tuning[14], 0);
  for (std::size_t a = 496; a < 512; ++a) EXPECT_EQ(b.ws.image.at(a), 0x00) << a;  // not stored

  Bench w;
  w.ws.testMode = true;
  w.ws.tuning = {10, 20, 30, 0x3FF, 40, 50, 60, 70, 0x123, 80, 90, 100, 110, 120, 0, 0};
  ASSERT_TRUE(w.engine.start(TransferType::Write));
  w.run();
  ASSERT_EQ(w.host.results, std::vector<bool>{true});
  auto frames = dataFrameAddresses(w.host.sent);
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ(frames[0], 496u);
  EXPECT_EQ(frames[1], 0u);
  EXPECT_EQ(std::count(frames.begin(), frames.end(), 496u), 1);
  const uint8_t expected[16] = {10, 20, 30, 0x03, 0xFF, 40, 50, 60, 70, 0x01, 0x23, 80, 90, 100, 110, 120};
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(w.radio.memory()[496 + i], expected[i]) << i;
}

TEST(TransferEngine, LostLineEndsTheTransferOnceAsFailed) {
  {
    Bench b;
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.engine.onBytesReceived(Bytes{0x06});
    b.engine.abort("gone");
    b.engine.abort("gone");
    ASSERT_EQ(b.host.messages.size(), 1u);
    EXPECT_EQ(b.host.messages[0].second, MessageIcon::Error);
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  {  // Waiting for the end request's answer: still a failure, not a success.
    sim::Faults f;
    f.noEndAck = true;
    Bench b({}, f);
    ASSERT_TRUE(b.engine.start(TransferType::Write));
    b.run(0);
    ASSERT_EQ(b.engine.writeState(), 69);
    b.engine.abort("gone");
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
  }
  {  // Lost while the retry question is open: the transfer ends after it, as failed.
    Bench b;
    b.host.retryAnswers = {true};
    b.host.duringQuestion = [&] { b.engine.abort("gone"); };
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    for (int i = 0; i < 6; ++i) b.engine.onReplyTimeout();
    EXPECT_EQ(countProgramRequests(b.host.sent), 6);  // no restart
    EXPECT_EQ(b.host.results, std::vector<bool>{false});
    EXPECT_EQ(b.host.messages.size(), 1u);
  }
}

TEST(TransferEngine, RandomBytesNeverCrashOrWriteOutsideTheRequestedBlocks) {
  std::mt19937 rng(2718);
  const uint8_t plausible[] = {0x06, 0x57, 0x50, 0x01, 0xE0, 0x10, 0x00, 0xF0};
  for (int round = 0; round < 300; ++round) {
    Bench b;
    b.ws.image.fill(0, 2559, 0xEE);
    b.ws.image.set(2560, 0x00);
    auto type = static_cast<TransferType>(1 + round % 3);
    ASSERT_TRUE(b.engine.start(type));
    for (int step = 0; step < 400 && b.engine.running(); ++step) {
      Bytes chunk(rng() % 30);
      // Mostly bytes that frames are made of, so that some replies are recognised.
      for (auto &c : chunk) c = rng() % 3 ? plausible[rng() % 8] : static_cast<uint8_t>(rng());
      if (rng() % 10 == 0 && b.engine.expectedReplyLength() == 21 && b.engine.blockAddress() >= 0)
        chunk = link::DataFrame(RadioImage(), static_cast<std::size_t>(b.engine.blockAddress())).bytes;
      b.engine.onBytesReceived(chunk);
      if (rng() % 7 == 0) {
        b.host.retryAnswers = {rng() % 2 == 0};
        b.engine.onReplyTimeout();
      }
    }
    EXPECT_LE(b.host.results.size(), 1u);
    // Only the identification copy and blocks the engine asked for may have changed.
    auto reads = readAddresses(b.host.sent);
    for (std::size_t a = 0; a < 2561; ++a) {
      if (b.ws.image.at(a) == (a == 2560 ? 0x00 : 0xEE)) continue;
      bool requested = (a >= 416 && a < 428) || std::any_of(reads.begin(), reads.end(), [&](std::size_t r) {
                         return a >= r && a < r + 16;
                       });
      ASSERT_TRUE(requested) << "round " << round << " address " << a;
    }
  }
}

}  // namespace
}  // namespace n27::test
