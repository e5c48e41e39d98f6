// The programming password and the frames around it, against bytes worked out by hand: a
// password that merely starts like the radio's, or differs only in case, is refused; frames
// and checksums are compared with sums done on paper.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/messages.h"
#include "codeplug/memory_map.h"
#include "engine_harness.h"
#include "link/frames.h"
#include "link/password.h"

namespace n27 {
namespace {

using link::Bytes;

// A password block frame as the radio sends it: 'W', 01 E0, 10, 16 data bytes, checksum. The
// password sits in data bytes 12..15.
Bytes passwordFrame(uint8_t p0, uint8_t p1, uint8_t p2, uint8_t p3) {
  Bytes f = {0x57, 0x01, 0xE0, 0x10};
  for (int i = 0; i < 12; ++i) f.push_back(0x00);
  for (uint8_t b : {p0, p1, p2, p3}) f.push_back(b);
  f.push_back(0x00);  // the checksum is not looked at
  return f;
}

TEST(PasswordPin, NearMissesAreRefused) {
  const Bytes ab = passwordFrame('a', 'b', 0x00, 0xFF);
  EXPECT_EQ(link::RadioPassword(ab), "ab");
  EXPECT_TRUE(link::PasswordAccepted(ab, "ab"));
  for (const char *entered : {"a", "abc", "abcd", "AB", "Ab", "b", "ba", "", "ab\xFF"})
    EXPECT_FALSE(link::PasswordAccepted(ab, entered)) << '"' << entered << '"';

  const Bytes four = passwordFrame('w', 'x', 'y', 'z');
  EXPECT_EQ(link::RadioPassword(four), "wxyz");
  EXPECT_TRUE(link::PasswordAccepted(four, "wxyz"));
  for (const char *entered : {"wxy", "WXYZ", "wxyzz", "xyz"})
    EXPECT_FALSE(link::PasswordAccepted(four, entered)) << entered;

  // FF or 00 in byte 12: no password, anything is accepted.
  for (const Bytes &none : {passwordFrame(0xFF, 'a', 'b', 'c'), passwordFrame(0x00, 'a', 'b', 'c')}) {
    EXPECT_EQ(link::RadioPassword(none), "");
    EXPECT_TRUE(link::PasswordAccepted(none, ""));
    EXPECT_TRUE(link::PasswordAccepted(none, "abc"));
  }
  // Bytes above 127 are characters of the password like any other.
  const Bytes high = passwordFrame(0xE9, 0x80, 0xFE, 0xFF);
  EXPECT_EQ(link::RadioPassword(high), "\xE9\x80\xFE");
  EXPECT_TRUE(link::PasswordAccepted(high, "\xE9\x80\xFE"));
  EXPECT_FALSE(link::PasswordAccepted(high, "\xE9\x80"));
}

TEST(PasswordPin, TheTransferRefusesEveryNearMiss) {
  sim::RadioSettings s;
  s.password = "ab";
  for (const char *entered : {"a", "abc", "abcd", "AB"}) {
    for (auto type : {TransferType::Read, TransferType::Write}) {
      test::Bench b(s);
      b.ws.password = entered;  // entered in advance; the dialog is cancelled
      ASSERT_TRUE(b.engine.start(type));
      b.run();
      EXPECT_EQ(b.host.passwordDialogs, 1) << entered;
      ASSERT_EQ(b.host.messages.size(), 1u) << entered;
      EXPECT_EQ(b.host.messages[0].first, msg::kPasswordFailure) << entered;
      EXPECT_EQ(b.host.results, std::vector<bool>{false}) << entered;
      // Nothing beyond the password block was asked for or sent.
      for (const Bytes &f : b.host.sent) {
        if (f.size() == 4 && f[0] == link::kRead) {
          EXPECT_EQ(link::FrameAddress(f), 480u) << entered;
        }
        EXPECT_FALSE(f.size() == link::kDataFrameLength && f[0] == link::kWrite) << entered;
      }
    }
    // Typed into the dialog instead: refused the same way.
    test::Bench b(s);
    b.host.passwordDialog = [entered](std::string &p) { p = entered; };
    ASSERT_TRUE(b.engine.start(TransferType::Read));
    b.run();
    EXPECT_EQ(b.host.results, std::vector<bool>{false}) << entered;
  }
  test::Bench b(s);
  b.ws.password = "ab";
  ASSERT_TRUE(b.engine.start(TransferType::Read));
  b.run();
  EXPECT_EQ(b.host.passwordDialogs, 0);
  EXPECT_EQ(b.host.results, std::vector<bool>{true});
}

TEST(FramePin, RequestsByteByByte) {
  EXPECT_EQ(link::ProgramRequest().bytes, (Bytes{0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4D}));
  EXPECT_EQ(link::ProgramRequest().replyLength, 1u);
  EXPECT_EQ(link::IdentificationRequest().bytes, (Bytes{0x02}));
  EXPECT_EQ(link::IdentificationRequest().replyLength, 14u);
  EXPECT_EQ(link::Acknowledgement().bytes, (Bytes{0x06}));
  EXPECT_EQ(link::EndRequest().bytes, (Bytes{0x45}));
  EXPECT_EQ(link::ReadRequest(480).bytes, (Bytes{0x52, 0x01, 0xE0, 0x10}));
  EXPECT_EQ(link::ReadRequest(480).replyLength, 21u);
  EXPECT_EQ(link::ReadRequest(2544).bytes, (Bytes{0x52, 0x09, 0xF0, 0x10}));
}

TEST(FramePin, DataFrameChecksumsSummedByHand) {
  RadioImage image;
  image.fill(0, mem::kImageSize - 1, 0xFF);
  // 480..495 = 00 01 .. 0F: 57 + 01 + E0 + 10 + (0 + 1 + .. + 15) = 87 + 1 + 224 + 16 + 120
  // = 448 = 0x1C0 → C0.
  for (int i = 0; i < 16; ++i) image.set(480 + i, static_cast<uint8_t>(i));
  Bytes f = link::DataFrame(image, 480).bytes;
  ASSERT_EQ(f.size(), 21u);
  EXPECT_EQ(f[0], 0x57);
  EXPECT_EQ(f[1], 0x01);
  EXPECT_EQ(f[2], 0xE0);
  EXPECT_EQ(f[3], 0x10);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(f[4 + i], i);
  EXPECT_EQ(f[20], 0xC0);

  // 2544..2559 all FF: 57 + 09 + F0 + 10 + 16 × FF = 87 + 9 + 240 + 16 + 4080 = 4432 = 0x1150 → 50.
  f = link::DataFrame(image, 2544).bytes;
  EXPECT_EQ(f[1], 0x09);
  EXPECT_EQ(f[2], 0xF0);
  EXPECT_EQ(f[20], 0x50);

  // Address 0, all zero data: 57 + 00 + 00 + 10 = 0x67.
  image.fill(0, 15, 0x00);
  EXPECT_EQ(link::DataFrame(image, 0).bytes[20], 0x67);

  // 16 data bytes 80 each: 57 + 02 + 00 + 10 + 16 × 80 = 87 + 2 + 16 + 2048 = 2153 = 0x869 → 69.
  const uint8_t data[16] = {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
                            0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
  f = link::DataFrame(0x200, data).bytes;
  EXPECT_EQ(f[20], 0x69);
  const uint8_t sample[5] = {0x57, 0x01, 0xE0, 0x10, 0xFF};
  EXPECT_EQ(link::Checksum(sample, 5), 0x47);  // 87 + 1 + 224 + 16 + 255 = 583 = 0x247
}

// A password argument is UTF-8: each character up to U+00FE is one byte for the radio, as the
// password dialog takes it.
TEST(PasswordPin, AUtf8ArgumentBecomesTheRadiosBytes) {
  std::string error;
  EXPECT_EQ(link::PasswordFromUtf8("\xC3\xA9\xC3\xA9", error), std::string("\xE9\xE9"));  // "éé"
  EXPECT_EQ(link::PasswordFromUtf8("ab\xC3\xBE", error), std::string("ab\xFE"));
  EXPECT_EQ(link::PasswordFromUtf8("\xE9\xE9", error), std::string("\xE9\xE9"));  // a Latin-1 terminal
  EXPECT_EQ(link::PasswordFromUtf8("\xC3", error), std::string("\xC3"));
  for (const char *refused : {"\xC3\xBF", "a\xC4\x81", "\xE2\x82\xAC"}) {  // ÿ, ā, €
    error.clear();
    EXPECT_FALSE(link::PasswordFromUtf8(refused, error)) << refused;
    EXPECT_NE(error.find("U+00FE"), std::string::npos) << error;
  }
  EXPECT_NE(error.find("U+20AC"), std::string::npos) << error;
}
}  // namespace
}  // namespace n27
