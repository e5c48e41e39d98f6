// One channel typed as a user types it, then encoded for the radio: all 16 record bytes and
// both bitmap bits, written out by hand.

#include <gtest/gtest.h>

#include <array>

#include "channel_test_util.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "codeplug/image_codec.h"

namespace n27 {
namespace {

TEST(ChannelImagePin, TypedChannelGivesTheseBytes) {
  test::ChannelFixture f;
  const int n = 10;
  const std::pair<int, const char *> edits[] = {
      {kFieldRx, "462.125"}, {kFieldTx, "467.375"}, {kFieldDecode, "D023N"}, {kFieldEncode, "151.4"},
      {kFieldPower, "High"},  {kFieldSpacing, "12.5K(Narrow)"}, {kFieldBusyLock, "Carrier"},
      {16, "1"} /* reverse */, {24, "1"} /* special DCS */, {23, "1"} /* compander */,
      {22, "5"} /* scramble */, {21, "2750"}, {kFieldScanAdd, "Add"}};
  for (const auto &[field, text] : edits)
    ASSERT_EQ(ChangeChannel(f.ctx, 1, n, field, text), EditStatus::Ok) << field;
  f.ws.image.fill(0, mem::kImageSize - 1, 0xAA);
  EncodeImage(f.ws);

  // 462125000 Hz = 1B 8B 77 C8; 467375000 Hz = 1B DB 93 98; D023N = 02 01; 151.4 = 01 18
  // (CTCSS tone 24); byte 12 = compander 80 + reverse 10 + High 08 + special DCS 02 + busy 01
  // = 9B; scramble 05; 2750 Hz = 0ABE, low byte first.
  const std::array<uint8_t, 16> want = {0x1B, 0x8B, 0x77, 0xC8, 0x1B, 0xDB, 0x93, 0x98,
                                        0x02, 0x01, 0x01, 0x18, 0x9B, 0x05, 0xBE, 0x0A};
  const std::size_t r = 512 + (n - 1) * 16;
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f.ws.image.at(r + i), want[i]) << "byte " << i;
  // Channel 10: bit 1 of bytes 273 (valid) and 289 (scan add); the rest of the bitmaps clear.
  for (std::size_t a = 272; a < 304; ++a)
    EXPECT_EQ(f.ws.image.at(a), a == 273 || a == 289 ? 0x02 : 0x00) << "address " << a;

  // And back: the same texts.
  DecodeImage(f.ws);
  ASSERT_NE(f.ws.working.findChannel(n), 0);
  const ChannelRecord &e = *f.ws.working.slot(f.ws.working.findChannel(n));
  EXPECT_EQ(e.rx.text(), "46212500");
  EXPECT_EQ(e.tx.text(), "46737500");
  EXPECT_EQ(e.decode.text(), "0201");
  EXPECT_EQ(e.encode.text(), "0118");
  EXPECT_EQ(e.scrambleFreq, 2750);
  EXPECT_EQ(e.scramble, 5);
}

}  // namespace
}  // namespace n27
