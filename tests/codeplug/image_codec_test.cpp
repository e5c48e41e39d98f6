#include <gtest/gtest.h>

#include "codeplug/bands.h"
#include "codeplug/image_codec.h"

namespace n27 {
namespace {

// Writes a 16-byte channel record for channel n and sets its valid bit.
void PutChannel(RadioImage &im, int n, std::array<uint8_t, 16> rec, bool scan = false) {
  const std::size_t r = 512 + static_cast<std::size_t>(n - 1) * 16;
  for (std::size_t i = 0; i < 16; ++i) im.set(r + i, rec[i]);
  im.set(272 + (n - 1) / 8, static_cast<uint8_t>(im.at(272 + (n - 1) / 8) | (1 << ((n - 1) % 8))));
  if (scan) im.set(288 + (n - 1) / 8, static_cast<uint8_t>(im.at(288 + (n - 1) / 8) | (1 << ((n - 1) % 8))));
}

TEST(ChannelCodec, DecodeDropsEmptyChannelsAndForcesValuesIntoRange) {
  Workspace ws;
  // Channel 1: valid bit set but receive bytes all zero; channel 2: valid bit, RX all FF.
  PutChannel(ws.image, 1, {0, 0, 0, 0, 0x08, 0xB4, 0x2A, 0x28});
  PutChannel(ws.image, 2, {0xFF, 0xFF, 0xFF, 0xFF});
  // Channel 3: 146.025 MHz, no TX, tones, power bits 3 (read as High), scramble 0x1B.
  PutChannel(ws.image, 3, {0x08, 0xB4, 0x2A, 0x28, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x01, 0x83, 0xE8,
                           0x0C, 0x1B, 0x00, 0x00}, true);
  // Channel 9: TX 0, every flag bit set, scramble 10, scramble frequency FF FF.
  PutChannel(ws.image, 9, {0x08, 0xB4, 0x2A, 0x28, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFA,
                           0xFF, 0xFF});
  DecodeImage(ws);

  const CodeplugData &d = ws.working;
  ASSERT_EQ(d.channelCount, 2);
  const ChannelRecord &a = d.channels[0];
  EXPECT_EQ(a.number, 3);
  EXPECT_EQ(a.inUse, 1);
  EXPECT_EQ(a.rx.raw(), "14602500");
  EXPECT_EQ(a.tx.raw(), "FFFFFFFF");
  EXPECT_EQ(a.decode.raw(), "0201");
  EXPECT_EQ(a.encode.raw(), "83E8");
  EXPECT_EQ(a.power, 2);
  EXPECT_EQ(a.scramble, 0);
  EXPECT_EQ(a.scrambleFreq, 1300);  // 00 00
  EXPECT_EQ(a.scanAdd, 1);
  EXPECT_EQ(a.busyLock, 0);

  const ChannelRecord &b = d.channels[1];
  EXPECT_EQ(b.number, 9);
  EXPECT_EQ(b.tx.raw(), "0");
  EXPECT_EQ(b.decode.raw(), "FFFF");
  EXPECT_EQ(b.scanAdd, 0);
  EXPECT_EQ(b.compander, 1);
  EXPECT_EQ(b.spacing, 1);
  EXPECT_EQ(b.talkaround, 1);
  EXPECT_EQ(b.reverse, 1);
  EXPECT_EQ(b.power, 2);
  EXPECT_EQ(b.specialDcs, 1);
  EXPECT_EQ(b.busyLock, 1);
  EXPECT_EQ(b.scramble, 10);
  EXPECT_EQ(b.scrambleFreq, 4100);
}

TEST(ChannelCodec, FrequenciesThatCannotBeShownAreNotCutToAWrongOne) {
  Workspace ws;
  // 1 GHz and more needs nine digits of 10 Hz: the receive side drops the channel, the
  // transmit side becomes "no TX frequency".
  PutChannel(ws.image, 1, {0x3B, 0x9A, 0xCA, 0x00});
  PutChannel(ws.image, 2, {0x08, 0xB4, 0x2A, 0x28, 0x3B, 0x9A, 0xCA, 0x00});
  DecodeImage(ws);
  ASSERT_EQ(ws.working.channelCount, 1);
  EXPECT_EQ(ws.working.channels[0].number, 2);
  EXPECT_EQ(ws.working.channels[0].tx.raw(), "FFFFFFFF");
}

TEST(ChannelCodec, EncodeWritesEachFieldInItsOwnBits) {
  CodeplugData d;
  d.channelCount = 2;
  ChannelRecord &c = d.channels[0];
  c.number = 10;
  c.inUse = 1;
  c.rx.assign("14602500");
  c.tx.assign("");
  c.decode.assign("0201");
  c.encode.assign("FFFF");
  c.compander = 1;
  c.spacing = 1;
  c.reverse = 1;
  c.power = 2;
  c.specialDcs = 0;
  c.busyLock = 2;  // "Repeater": only bit 0 may carry it
  c.scramble = 11;
  c.scrambleFreq = 1300;
  c.scanAdd = 1;
  ChannelRecord &e = d.channels[1];
  e = c;
  e.number = 17;
  e.tx.assign("FFFFFFFF");
  e.scrambleFreq = 4100;
  e.scanAdd = 0;
  e.inUse = 0;  // a free slot writes nothing

  RadioImage im;
  EncodeChannel(im, d, 1);
  EncodeChannel(im, d, 2);
  const std::size_t r = 512 + 9 * 16;
  const std::array<uint8_t, 16> want{0x08, 0xB4, 0x2A, 0x28, 0xFF, 0xFF, 0xFF, 0xFF,
                                     0x02, 0x01, 0xFF, 0xFF, 0xD9, 0x0B, 0x14, 0x05};
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(im.at(r + i), want[i]) << "byte " << i;
  EXPECT_EQ(im.at(273), 0x02);  // channel 10: bit 1 of byte 273
  EXPECT_EQ(im.at(289), 0x02);
  EXPECT_EQ(im.at(274), 0x00);  // channel 17 is not in use
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(im.at(512 + 16 * 16 + i), 0);

  // Out-of-range slots and channel numbers write nothing and do not crash.
  RadioImage untouched = im;
  EncodeChannel(im, d, 0);
  EncodeChannel(im, d, 3);
  d.channels[0].number = 200;
  EncodeChannel(im, d, 1);
  EXPECT_EQ(im, untouched);
}

TEST(ChannelCodec, DeletedChannelLosesItsValidBitButKeepsItsBytes) {
  Workspace ws;
  for (int n : {3, 5, 7}) PutChannel(ws.image, n, {0x08, 0xB4, 0x2A, 0x28, 0x08, 0xB4, 0x2A, 0x28, 0xFF, 0xFF, 0xFF, 0xFF, 0x44, 0, 0x14, 0x05});
  DecodeImage(ws);
  ASSERT_EQ(ws.working.channelCount, 3);
  // Delete channel 5 (slot 2): later slots move down.
  ws.working.channels[1] = ws.working.channels[2];
  ws.working.channelCount = 2;
  const RadioImage before = ws.image;
  EncodeImage(ws);
  EXPECT_EQ(ws.image.at(272), 0x44);  // bits 2 and 6: channels 3 and 7
  for (std::size_t a = 576; a <= 591; ++a) EXPECT_EQ(ws.image.at(a), before.at(a));
}

TEST(ChannelCodec, DecodeThenEncodeGivesBackTheChannelArea) {
  Workspace ws;
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int n = 1; n <= 128; ++n) {
    if (n % 3 == 0) continue;
    const uint32_t rx = 136000000u + (next() % 3540000u) * 100u;
    const uint32_t tx = next() % 4 == 0 ? 0xFFFFFFFFu : rx + 5000000u;
    const uint16_t freq = static_cast<uint16_t>(1300 + next() % 2801);
    uint8_t flags = static_cast<uint8_t>(next() & 0xF3);
    flags |= static_cast<uint8_t>((next() % 3) << 2);
    PutChannel(ws.image, n,
               {static_cast<uint8_t>(rx >> 24), static_cast<uint8_t>(rx >> 16),
                static_cast<uint8_t>(rx >> 8), static_cast<uint8_t>(rx),
                static_cast<uint8_t>(tx >> 24), static_cast<uint8_t>(tx >> 16),
                static_cast<uint8_t>(tx >> 8), static_cast<uint8_t>(tx),
                static_cast<uint8_t>(next()), static_cast<uint8_t>(next()),
                static_cast<uint8_t>(next()), static_cast<uint8_t>(next()), flags,
                static_cast<uint8_t>(next() % 11), static_cast<uint8_t>(freq & 0xFF),
                static_cast<uint8_t>(freq >> 8)},
               next() % 2 == 0);
  }
  const RadioImage original = ws.image;
  DecodeImage(ws);
  ASSERT_EQ(ws.working.channelCount, 86);
  for (int k = 1; k <= 86; ++k) ASSERT_EQ(ws.working.channels[k - 1].number, k + (k - 1) / 2);
  ws.image = RadioImage{};
  EncodeImage(ws);
  for (std::size_t a = 272; a < 304; ++a) EXPECT_EQ(ws.image.at(a), original.at(a)) << a;
  for (std::size_t a = 512; a < 2560; ++a) ASSERT_EQ(ws.image.at(a), original.at(a)) << a;
}

TEST(ChannelCodec, WordsTheImageDoesNotHoldStayWithTheirChannelAcrossARead) {
  Workspace ws;
  for (int n : {4, 6}) PutChannel(ws.image, n, {0x08, 0xB4, 0x2A, 0x28});
  CodeplugData &d = ws.working;
  d.channelCount = 2;
  d.channels[0].number = 6;  // channel 6 sits in slot 1 before the read
  d.channels[0].optSignal = 2;
  d.channels[0].pttId = 3;
  d.channels[1].number = 9;  // channel 9 no longer exists in the radio
  d.channels[1].call1 = 5;
  DecodeImage(ws);
  ASSERT_EQ(d.channelCount, 2);
  EXPECT_EQ(d.channels[0].number, 4);
  EXPECT_EQ(d.channels[0].optSignal, 0);
  EXPECT_EQ(d.channels[1].number, 6);
  EXPECT_EQ(d.channels[1].optSignal, 2);
  EXPECT_EQ(d.channels[1].pttId, 3);
  EXPECT_EQ(d.channels[1].call1, 0);
}

TEST(ModelRecord, ImageBytesGiveModelBandAndLimits) {
  Workspace ws;
  const char model[] = "N27PR";
  for (int i = 0; i < 5; ++i) ws.image.set(417 + i, static_cast<uint8_t>(model[i]));
  ws.image.set(422, 1);
  DecodeImage(ws);
  EXPECT_EQ(ws.modelName, "N27PR");
  EXPECT_EQ(ws.bandText, "136 - 174 MHz");
  EXPECT_DOUBLE_EQ(ws.lowerLimit, 136.0);
  EXPECT_DOUBLE_EQ(ws.upperLimit, 174.0);

  ws.image.set(420, 0xFF);  // a text field ends at its first FF
  ws.image.set(422, 7);
  DecodeImage(ws);
  EXPECT_EQ(ws.modelName, "N27");
  EXPECT_EQ(ws.bandText, "Unknown Band");
  EXPECT_DOUBLE_EQ(ws.lowerLimit, 0.0);
  EXPECT_DOUBLE_EQ(ws.upperLimit, 0.0);
  EXPECT_EQ(BandCode("Unknown Band"), 0);

  ws.working.modelName.assignNulPadded("AB");
  ws.working.bandCode = 1;
  EncodeImage(ws);
  const std::array<uint8_t, 6> want{'A', 'B', 0, 0, 0, 1};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(ws.image.at(417 + i), want[i]);
}

TEST(ChannelCodec, WhatAWriteStoresAReadGivesBack) {
  Workspace ws;
  // RX 7 Hz: not "no channel" in the radio, so it must not become one after a write.
  PutChannel(ws.image, 1, {0, 0, 0, 7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
  // Scramble frequency 5 (below the range) and 0.
  PutChannel(ws.image, 2, {0x08, 0xB4, 0x2A, 0x28, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 5, 0});
  PutChannel(ws.image, 3, {0x08, 0xB4, 0x2A, 0x28, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
  DecodeImage(ws);
  ASSERT_EQ(ws.working.channelCount, 3);
  EXPECT_EQ(ws.working.channels[0].rx.raw(), "1");
  EXPECT_EQ(ws.working.channels[1].scrambleFreq, 1300);
  EXPECT_EQ(ws.working.channels[2].scrambleFreq, 1300);

  const CodeplugData first = ws.working;
  EncodeImage(ws);
  DecodeImage(ws);
  EXPECT_EQ(ws.working, first);
}

// The scramble frequency a write sends is always within 1300..4100 Hz; a channel whose
// frequency was never chosen (0) gets the 3400 Hz the detail dialog shows for it.
TEST(ChannelCodec, AWriteSendsScrambleFrequenciesInTheRadiosRange) {
  CodeplugData d;
  const uint16_t stored[] = {0, 5, 2750, 5000};
  const std::array<uint8_t, 2> sent[] = {{0x48, 0x0D}, {0x14, 0x05}, {0xBE, 0x0A}, {0x04, 0x10}};
  d.channelCount = 4;
  for (int k = 0; k < 4; ++k) {
    ChannelRecord &c = d.channels[k];
    c.number = static_cast<uint16_t>(k + 1);
    c.inUse = 1;
    c.rx.assign("44000000");
    c.scrambleFreq = stored[k];
  }
  RadioImage im;
  for (int k = 1; k <= 4; ++k) EncodeChannel(im, d, k);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(im.at(512 + 16 * k + 14), sent[k][0]) << "stored " << stored[k];
    EXPECT_EQ(im.at(512 + 16 * k + 15), sent[k][1]) << "stored " << stored[k];
  }
}

TEST(ChannelCodec, DecodeEncodeDecodeIsAFixedPointForAnyImage) {
  uint32_t seed = 777;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 40; ++round) {
    Workspace ws;
    for (std::size_t a = 0; a < RadioImage::kSize; ++a) ws.image.set(a, static_cast<uint8_t>(next() >> 24));
    if (round % 2) {  // half of them with small frequencies and few bits set
      for (int n = 1; n <= 128; ++n) ws.image.set(512 + (n - 1) * 16, 0);
    }
    DecodeImage(ws);
    CodeplugData first = ws.working;
    const std::array<int16_t, 3> flags = ws.radioInfoFlags;
    EncodeImage(ws);
    // A message line loses its trailing blanks on the way to the radio, nothing else changes.
    first.message1.assign(first.message1.text());
    first.message2.assign(first.message2.text());
    Workspace again;
    again.image = ws.image;
    again.working = first;
    again.radioInfoFlags = flags;
    DecodeImage(again);
    ASSERT_EQ(again.working, first) << "round " << round;
  }
}

}  // namespace
}  // namespace n27
