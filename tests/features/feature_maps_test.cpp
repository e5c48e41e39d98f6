// The feature settings in the radio image, checked against bytes written out by hand.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "codeplug/image_codec.h"

namespace n27 {
namespace {

// A configuration in which every feature byte gets its own value.
CodeplugData everyFeatureSet() {
  CodeplugData d;
  auto &f = d.function;
  f.tot = 5; f.totWarning = 10; f.voicePrompt = 1; f.callResponse = 4; f.squelch = 9;
  f.batterySave = 3; f.beep = 1; f.cancelOperation = 1; f.dwChannel = 127; f.voxFunction = 1;
  f.voxLevel = 9; f.voxDelay = 5; f.voxProceedTone = 1; f.backlightMode = 2; f.rbSetting = 1;
  f.squelchTailNoSig = 2; f.scanMode = 2; f.micNoiseReduction = 2; f.ctcssTailType = 4;
  f.resetAllowed = 1; f.scanSwitch = 1;
  // Settings that never reach the radio.
  f.micSensitivity = 1; f.scramblerBackup = 1; f.frequencyShow = 1; f.cloneMode = 1; f.compander = 1;
  auto &s = d.standAlone;
  s.rrm = 1; s.byte12 = 0x5A; s.currentChannel = 99; s.keyLock = 1; s.channelLocked = 1;
  s.dcsTailType = 1; s.alertLockedFlag = 1; s.functionLockedFlag = 1; s.bandExtension = 1;
  d.keys.keys = {2, 3, 5, 7};
  d.scan.words = {1, 1, 16, 255, 8, 3, 4, 5, 6, 8, 7, 3, 0, 1};
  d.message1.assign("HELLO");
  d.message2.assign("0123456789ABCDEFGHIJKLMNOPQRSTUV");
  return d;
}

TEST(FeatureMaps, EncodeWritesEveryFeatureByteAndClearsTheReservedOnes) {
  RadioImage image;
  image.fill(0, mem::kImageSize - 1, 0xAA);
  EncodeFeatureSettings(image, everyFeatureSet());

  EXPECT_EQ(image.at(11), 1);
  EXPECT_EQ(image.at(12), 0x5A);
  EXPECT_EQ(image.at(13), 99);
  EXPECT_EQ(image.at(14), 0xAA) << "byte 14 is not the program's";
  EXPECT_EQ(image.at(15), 1);
  const std::vector<int> expected304to351 = {
      5, 10, 1, 4, 9, 3, 1, 1, 127, 1, 9, 5, 1, 2, 1, 2,  // 304..319
      1,                                                  // 320 scan priority
      2,                                                  // 321 scan mode
      8, 7, 3, 0, 1,                                      // 322..326 scan times, revert
      2, 1, 1, 4, 1, 1, 1,                                // 327..333
      0,                                                  // 334 reserved
      1,                                                  // 335 DCS tail type
      2, 3, 5, 7,                                         // 336..339 keys
      0, 0, 0, 0,                                         // 340..343 reserved
      0, 15, 254, 7, 2, 3, 4, 5};                         // 344..351 banks, value - 1
  for (int a = 304; a <= 351; ++a)
    EXPECT_EQ(image.at(a), expected304to351[a - 304]) << "address " << a;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(image.at(352 + i), "HELLO"[i]);
  for (int a = 357; a < 384; ++a) EXPECT_EQ(image.at(a), 0xFF) << "address " << a;
  for (int i = 0; i < 32; ++i) EXPECT_EQ(image.at(384 + i), "0123456789ABCDEFGHIJKLMNOPQRSTUV"[i]);
  EXPECT_EQ(image.at(416), 0xAA) << "the identification copy is not the feature map's";
  EXPECT_EQ(image.at(303), 0xAA);
}

TEST(FeatureMaps, EveryValueTheRadioKeepsSurvivesAWriteAndARead) {
  const CodeplugData written = everyFeatureSet();
  RadioImage image;
  EncodeFeatureSettings(image, written);
  CodeplugData read;  // settings that are not sent keep what the record held
  read.standAlone.alertLockedFlag = 1;
  read.standAlone.functionLockedFlag = 1;
  read.function.micSensitivity = 1; read.function.scramblerBackup = 1;
  read.function.frequencyShow = 1; read.function.cloneMode = 1; read.function.compander = 1;
  DecodeFeatureSettings(image, read);
  EXPECT_EQ(read.function, written.function);
  EXPECT_EQ(read.standAlone, written.standAlone);
  EXPECT_EQ(read.keys, written.keys);
  EXPECT_EQ(read.scan, written.scan);
  EXPECT_TRUE(read.message1.sameText(written.message1));
  EXPECT_TRUE(read.message2.sameText(written.message2));
}

struct ReadRule {
  int address;
  int atLimit;    // the highest byte kept as it is
  int fallback;   // what one above the limit becomes
  std::function<int(const CodeplugData &)> field;
};

TEST(FeatureMaps, ReadRulesKeepTheLimitAndReplaceAnythingAbove) {
  using D = const CodeplugData &;
  const std::vector<ReadRule> rules = {
      {304, 40, 4, [](D d) { return d.function.tot; }},
      {305, 10, 0, [](D d) { return d.function.totWarning; }},
      {306, 0, 1, [](D d) { return d.function.voicePrompt; }},
      {307, 5, 0, [](D d) { return d.function.callResponse; }},
      {308, 9, 4, [](D d) { return d.function.squelch; }},
      {309, 3, 0, [](D d) { return d.function.batterySave; }},
      {310, 1, 1, [](D d) { return d.function.beep; }},
      {311, 1, 0, [](D d) { return d.function.cancelOperation; }},
      {313, 1, 0, [](D d) { return d.function.voxFunction; }},
      {314, 9, 4, [](D d) { return d.function.voxLevel; }},
      {315, 27, 1, [](D d) { return d.function.voxDelay; }},
      {316, 1, 0, [](D d) { return d.function.voxProceedTone; }},
      {320, 2, 0, [](D d) { return d.scan.words[0]; }},
      {327, 2, 1, [](D d) { return d.function.micNoiseReduction; }},
      {329, 1, 0, [](D d) { return d.standAlone.channelLocked; }},
      {330, 4, 0, [](D d) { return d.function.ctcssTailType; }},
      {331, 1, 1, [](D d) { return d.function.resetAllowed; }},
      {332, 1, 0, [](D d) { return d.standAlone.bandExtension; }},
      {333, 1, 1, [](D d) { return d.function.scanSwitch; }},
  };
  for (const auto &r : rules) {
    for (int b : {r.atLimit, r.atLimit + 1, 255}) {
      RadioImage image;
      image.set(r.address, static_cast<uint8_t>(b));
      CodeplugData d;
      DecodeFeatureSettings(image, d);
      EXPECT_EQ(r.field(d), b <= r.atLimit ? b : r.fallback) << "address " << r.address << " byte " << b;
    }
  }
  // A TOT byte of 7 is kept: it is within the rule although the list has six entries.
  RadioImage image;
  image.set(304, 7);
  CodeplugData d;
  DecodeFeatureSettings(image, d);
  EXPECT_EQ(d.function.tot, 7);
}

TEST(FeatureMaps, BytesTakenAsTheyAreAndTheWriteOnlyAlertLock) {
  RadioImage image;
  for (int a : {11, 12, 13, 15, 312, 317, 318, 319, 321, 322, 323, 324, 325, 326, 335}) image.set(a, 0xFE);
  image.set(328, 0);  // the radio's Alert Locked byte is never taken back
  CodeplugData d;
  d.standAlone.alertLockedFlag = 1;
  DecodeFeatureSettings(image, d);
  EXPECT_EQ(d.standAlone.rrm, 0xFE);
  EXPECT_EQ(d.standAlone.byte12, 0xFE);
  EXPECT_EQ(d.standAlone.currentChannel, 0xFE);
  EXPECT_EQ(d.standAlone.keyLock, 0xFE);
  EXPECT_EQ(d.standAlone.dcsTailType, 0xFE);
  EXPECT_EQ(d.function.dwChannel, 0xFE);
  EXPECT_EQ(d.function.backlightMode, 0xFE);
  EXPECT_EQ(d.function.rbSetting, 0xFE);
  EXPECT_EQ(d.function.squelchTailNoSig, 0xFE);
  EXPECT_EQ(d.function.scanMode, 0xFE);
  for (int w = 9; w <= 13; ++w) EXPECT_EQ(d.scan.words[w], 0xFE);
  EXPECT_EQ(d.standAlone.alertLockedFlag, 1);
}

TEST(FeatureMaps, KeyCodesSixteenTo254ReadAsUnset) {
  RadioImage image;
  const int bytes[4] = {15, 16, 254, 255};
  for (int i = 0; i < 4; ++i) image.set(336 + i, static_cast<uint8_t>(bytes[i]));
  CodeplugData d;
  DecodeFeatureSettings(image, d);
  EXPECT_EQ(d.keys.keys, (std::array<int16_t, 4>{15, 255, 255, 255}));
  image.set(337, 200);
  image.set(336, 0);
  DecodeFeatureSettings(image, d);
  EXPECT_EQ(d.keys.keys[0], 0);
  EXPECT_EQ(d.keys.keys[1], 255);
}

TEST(FeatureMaps, ScanBankNoneRoundTripsAndPositionsAreStoredMinusOne) {
  CodeplugData d;
  d.scan.words = {0, 255, 1, 16, 8, 255, 255, 255, 255, 2, 2, 1, 3, 3};
  RadioImage image;
  EncodeFeatureSettings(image, d);
  EXPECT_EQ(image.at(344), 254);
  EXPECT_EQ(image.at(345), 0);
  EXPECT_EQ(image.at(346), 15);
  EXPECT_EQ(image.at(347), 7);
  CodeplugData back;
  DecodeFeatureSettings(image, back);
  EXPECT_EQ(back.scan.words, d.scan.words);

  // A byte of 16 is within the read rule and comes back as 17; 17..253 and 255 mean
  // "no channel" like the 254 written for it.
  image.set(344, 16);
  DecodeFeatureSettings(image, back);
  EXPECT_EQ(back.scan.words[1], 17);
  EncodeFeatureSettings(image, back);
  EXPECT_EQ(image.at(344), 16) << "the radio gets its own byte back";
  for (int b : {17, 200, 255}) {
    image.set(344, static_cast<uint8_t>(b));
    DecodeFeatureSettings(image, back);
    EXPECT_EQ(back.scan.words[1], 255) << "byte " << b;
  }
}

TEST(FeatureMaps, MessageLinesInTheImage) {
  CodeplugData d;
  d.message1.assign("");
  d.message2.assign(" HELLO   ");  // trailing blanks are not sent, a leading one is
  RadioImage image;
  EncodeFeatureSettings(image, d);
  for (int a = 352; a < 384; ++a) EXPECT_EQ(image.at(a), 0xFF);
  EXPECT_EQ(image.at(384), ' ');
  EXPECT_EQ(image.at(385), 'H');
  EXPECT_EQ(image.at(389), 'O');
  for (int a = 390; a < 416; ++a) EXPECT_EQ(image.at(a), 0xFF) << a;

  CodeplugData back;
  back.message1.assign("old");
  DecodeFeatureSettings(image, back);
  EXPECT_TRUE(back.message1.empty());
  EXPECT_EQ(back.message2.raw(), " HELLO");
  EXPECT_EQ(back.message2.bytes[6], '\0') << "a short line is followed by NUL in the record";

  // A full line has no terminator; a byte above 127 from the radio is kept as it is.
  for (int i = 0; i < 32; ++i) image.set(352 + i, static_cast<uint8_t>('a' + i % 26));
  image.set(353, 0xE9);
  DecodeFeatureSettings(image, back);
  EXPECT_EQ(back.message1.raw().size(), 32u);
  EXPECT_EQ(static_cast<uint8_t>(back.message1.bytes[1]), 0xE9);
  RadioImage again;
  EncodeFeatureSettings(again, back);
  for (int a = 352; a < 384; ++a) EXPECT_EQ(again.at(a), image.at(a)) << a;
}

TEST(FeatureMaps, RadioInfoFlagsAreTakenOnlyWhileZero) {
  RadioImage image;
  image.set(432, 0b101);
  std::array<int16_t, 3> flags{0, 0, 0};
  DecodeRadioInfoFlags(image, flags);
  EXPECT_EQ(flags, (std::array<int16_t, 3>{1, 0, 1}));
  image.set(432, 0b010);
  DecodeRadioInfoFlags(image, flags);
  EXPECT_EQ(flags, (std::array<int16_t, 3>{1, 1, 1})) << "a set flag is never cleared by a read";
}

TEST(FeatureMaps, RadioInformationTexts) {
  RadioImage image;
  image.fill(432, 495, 0xFF);
  const std::string type = "N27PR", area = "EU01", serial = "SN 12345  ", date = "2024-03-07";
  for (std::size_t i = 0; i < type.size(); ++i) image.set(433 + i, type[i]);
  image.set(438, 1);
  for (std::size_t i = 0; i < area.size(); ++i) image.set(440 + i, area[i]);
  for (std::size_t i = 0; i < serial.size(); ++i) image.set(448 + i, serial[i]);
  for (std::size_t i = 0; i < date.size(); ++i) image.set(464 + i, date[i]);
  image.set(464 + date.size(), 0);  // a NUL ends the text; what follows is dropped
  image.set(465 + date.size(), 'X');
  const std::string code = "M1234567";  // the full 8 bytes, no terminator
  for (std::size_t i = 0; i < code.size(); ++i) image.set(480 + i, code[i]);
  image.set(488, '0'); image.set(489, '0'); image.set(490, '1'); image.set(491, 'A');

  RadioInformation info;
  info.maintenanceDate = "kept";
  DecodeRadioInformation(image, info);
  EXPECT_EQ(info.radioType, "N27PR");
  EXPECT_EQ(info.bandCode, 1);
  EXPECT_EQ(info.areaCode, "EU01");
  EXPECT_EQ(info.serialNumber, "SN 12345");
  EXPECT_EQ(info.productionDate, "2024-03-07");
  EXPECT_EQ(info.manufactureCode, "M1234567");
  EXPECT_EQ(info.userCode, "001A");
  EXPECT_EQ(info.maintenanceDate, "kept") << "fields the radio does not hold stay";

  image.fill(448, 463, 0xFF);
  image.set(433, 0xC4);  // shown as the Latin-1 character
  DecodeRadioInformation(image, info);
  EXPECT_EQ(info.serialNumber, "");
  EXPECT_EQ(info.radioType, "\xC3\x84" "27PR");
}

}  // namespace
}  // namespace n27
