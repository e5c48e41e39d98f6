#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "common/test_folder.h"
#include "codeplug/configuration.h"
#include "codeplug/tuning_file.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

class DataFileTest : public TestFolderFixture {
 protected:
  static void write(const std::string &p, const std::string &bytes) {
    std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
};

// A configuration with a different value in every field the layout test looks at.
CodeplugData Sample() {
  CodeplugData d;
  LoadDefaultSettings(d);
  d.channelCount = 2;
  d.channels[0].number = 7;
  d.channels[0].inUse = 1;
  d.channels[0].rx.assign("14602500");
  d.channels[0].tx.assign("FFFFFFFF");
  d.channels[0].decode.assign("0201");
  d.channels[0].encode.assign("83E8");
  d.channels[0].w18 = 0x1234;
  d.channels[0].txOff = 1;
  d.channels[0].spUnmute = 2;
  d.channels[0].scrambleFreq = 4100;
  d.channels[0].compander = 1;
  d.channels[1].number = 128;
  d.channels[1].inUse = 1;
  d.modelName.assignNulPadded("N27PR");
  d.bandCode = 1;
  d.function.tot = 5;
  d.function.backlightMode = 2;
  d.function.eotCode.assign("ABCD");
  d.keys.keys = {1, 2, 3, 255};
  d.scan.words[13] = 7;
  d.dtmf.selfId.assign("123");
  d.dtmf.groupCode = 15;
  d.dtmf.stunCode.assign("99");
  d.dtmf.stunType = 1;
  d.dtmf.pttId = 3;
  d.dtmf.killDecode.assign("0123456789ABCDEF");
  d.fleetSync = FleetSyncBlock{250, 4000, 1, 6000, 300, 1};
  d.fleetSyncExtra = 0xBEEF;
  d.dtmfCodeCount = 2;
  d.dtmfCodes[0].position = 1;
  d.dtmfCodes[1].position = 16;
  d.dtmfCodes[1].code.assign("EF");
  d.carriedCount = 1;
  d.carried[0] = CarriedEntry{3, {}, {}, 0x0102, 0x0304};
  d.carried[0].text2.assign("XY");
  d.message1.assign("HELLO");
  d.message2.assign("0123456789ABCDEF0123456789ABCDEF");
  d.fleetCount = 8;
  d.fleets[7] = FleetEntry{0, 4000};
  d.standAlone = StandAloneValues{1, -2, 127, 1, 1, 1, 1, 0, 1};
  return d;
}

// Every field of the layout with a value of its own, none of them 0: each 16-bit value is the
// file offset it must be written at, each 32-bit value that offset in both halves, so a field
// written at another field's place shows.
CodeplugData EveryFieldItsOwn() {
  CodeplugData d;
  d.channelCount = 2;
  ChannelRecord &c = d.channels[0];  // the slot at offset 2
  c = ChannelRecord{7, 4, {}, {}, 22, 24, {}, {}, 34, 36, 38, 40, 42, 44, 46, 48, 50, 52, 54, 56,
                    58, 60, 62, 64, 66, 68};
  c.rx.assign("14602500");
  c.tx.assign("44012500");
  c.decode.assign("0201");
  c.encode.assign("83E8");
  d.channels[1].number = 128;
  d.channels[1].inUse = 1;
  d.channels[127].number = 8638;  // the last slot, above the count
  d.channels[127].compander = 8704;
  d.modelName.assignNulPadded("N27PR");
  d.bandCode = 8711;
  d.function = FunctionSetup{8713, 8715, 8717, 8719, 8721, 8723, 8725, 8727, 8729, 8731, 8733,
                             {}, {}, 8767, 8769, 8771, 8773, 8775, 8777, 8779, 8781, 8783, 8785,
                             8787, 8789, 8791, 8793, 8795, 8797, 8799, 8801};
  d.function.botCode.assign("BOT-CODE-1");
  d.function.eotCode.assign("EOT-CODE-2");
  d.keys.keys = {8803, 8805, 8807, 8809};
  d.scan.words = {8811, 8813, 8815, 8817, 8819, 8821, 8823, 8825, 8827, 8829, 8831, 8833, 8835, 8837};
  d.dtmf = DtmfSettings{8839, 8841, 8843, 8845, 8847, 8849, {}, 8861, 8863, 8865, 8867, 8869, {},
                        8881, 8883, {}, {}, {}, {}};
  d.dtmf.selfId.assign("SELF-ID");
  d.dtmf.stunCode.assign("STUN");
  d.dtmf.botCode.assign("DTMF-BOT");
  d.dtmf.eotCode.assign("DTMF-EOT");
  d.dtmf.stunDecode.assign("STUN-DECODE");
  d.dtmf.killDecode.assign("KILL-DECODE");
  d.fleetSync = FleetSyncBlock{8949, 0x22F722F7, 8955, 0x22FD22FD, 8961, 8963};
  d.fleetSyncExtra = 8965;
  d.dtmfCodeCount = 3;
  d.dtmfCodes[0].position = 5;
  d.dtmfCodes[0].code.assign("0123");
  d.dtmfCodes[1].position = 9;
  d.dtmfCodes[2].position = 16;
  d.dtmfCodes[15].position = 9239;
  d.dtmfCodes[15].code.assign("F00D");
  d.carriedCount = 4;
  d.carried[0] = CarriedEntry{9259, {}, {}, 9277, 9279};
  d.carried[0].text1.assign("T1");
  d.carried[0].text2.assign("XY");
  d.carried[15].position = 9589;
  d.carried[15].value2 = 9609;
  d.message1.assign("HELLO");
  d.message2.assign("0123456789ABCDEF0123456789ABCDEF");
  d.fleetCount = 5;
  d.fleets[0] = FleetEntry{9677, 0x25D125D1};
  d.fleets[7] = FleetEntry{9733, 0x26092609};
  d.standAlone = StandAloneValues{9741, 9743, 9745, 9747, 9749, 9751, 9753, 9755, 9757};
  return d;
}

void Put16(std::string &b, std::size_t at, uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string &b, std::size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v & 0xFFFF));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}
void PutText(std::string &b, std::size_t at, const std::string &t, std::size_t width) {
  // The in-memory form of a text: its characters, a NUL, then blanks.
  for (std::size_t i = 0; i < width; ++i)
    b[at + i] = i < t.size() ? t[i] : (i == t.size() ? '\0' : ' ');
}

TEST_F(DataFileTest, LayoutIsByteExactAtItsOffsets) {
  const CodeplugData d = EveryFieldItsOwn();
  const std::string bytes = SerializeDataFile(d);
  ASSERT_EQ(bytes.size(), 9759u);

  // The same record written out by hand, offset by offset.
  std::string want(9759, '\0');
  auto ownOffsets = [&](std::size_t from, std::size_t to) {  // 16-bit values from..to
    for (std::size_t at = from; at <= to; at += 2) Put16(want, at, static_cast<uint16_t>(at));
  };
  Put16(want, 0, 2);
  Put16(want, 2, 7);
  Put16(want, 4, 4);
  PutText(want, 6, "14602500", 8);
  PutText(want, 14, "44012500", 8);
  ownOffsets(22, 24);
  PutText(want, 26, "0201", 4);
  PutText(want, 30, "83E8", 4);
  ownOffsets(34, 68);         // words 28..45
  Put16(want, 70, 128);
  Put16(want, 72, 1);
  Put16(want, 8638, 8638);
  Put16(want, 8704, 8704);
  PutText(want, 8706, "N27PR", 5);
  ownOffsets(8711, 8733);     // band code, function fields 1..11
  PutText(want, 8735, "BOT-CODE-1", 16);
  PutText(want, 8751, "EOT-CODE-2", 16);
  ownOffsets(8767, 8849);     // function fields 14..31, keys, scan, DTMF fields 1..6
  PutText(want, 8851, "SELF-ID", 10);
  ownOffsets(8861, 8869);
  PutText(want, 8871, "STUN", 10);
  ownOffsets(8881, 8883);
  PutText(want, 8885, "DTMF-BOT", 16);
  PutText(want, 8901, "DTMF-EOT", 16);
  PutText(want, 8917, "STUN-DECODE", 16);
  PutText(want, 8933, "KILL-DECODE", 16);
  Put16(want, 8949, 8949);    // FleetSync: fleet u16, ID u32, baud u16, delay u32, timer, tone
  Put32(want, 8951, 0x22F722F7);
  Put16(want, 8955, 8955);
  Put32(want, 8957, 0x22FD22FD);
  ownOffsets(8961, 8965);
  Put16(want, 8967, 3);
  Put16(want, 8969, 5);
  PutText(want, 8971, "0123", 16);
  Put16(want, 8987, 9);
  Put16(want, 9005, 16);
  Put16(want, 9239, 9239);
  PutText(want, 9241, "F00D", 16);
  Put16(want, 9257, 4);
  Put16(want, 9259, 9259);
  PutText(want, 9261, "T1", 8);
  PutText(want, 9269, "XY", 8);
  ownOffsets(9277, 9279);
  Put16(want, 9589, 9589);
  Put16(want, 9609, 9609);
  PutText(want, 9611, "HELLO", 32);
  PutText(want, 9643, "0123456789ABCDEF0123456789ABCDEF", 32);
  Put16(want, 9675, 5);
  for (std::size_t k = 1; k < 7; ++k) {  // empty entries: fleet 255, ID 255
    Put16(want, 9677 + 8 * k, 255);
    Put32(want, 9677 + 8 * k + 4, 255);
  }
  Put16(want, 9677, 9677);
  Put32(want, 9681, 0x25D125D1);
  Put16(want, 9733, 9733);
  Put32(want, 9737, 0x26092609);
  ownOffsets(9741, 9757);     // the nine stand-alone values

  for (std::size_t i = 0; i < want.size(); ++i)
    ASSERT_EQ(static_cast<uint8_t>(bytes[i]), static_cast<uint8_t>(want[i])) << "offset " << i;

  CodeplugData back;
  ASSERT_TRUE(ParseDataFile(bytes, back));
  EXPECT_EQ(back, d);
}

TEST_F(DataFileTest, DamagedFilesAreRefusedAndChangeNothing) {
  Workspace ws;
  ws.working = Sample();
  ws.saved = ws.working;
  ws.working.message1.assign("EDITED");  // a pending edit must survive the failed load
  ws.fileName = "before.dat";
  const Workspace before = ws;
  const std::string good = SerializeDataFile(Sample());

  auto expectRefused = [&](const std::string &bytes, const char *what) {
    write(path("bad.dat"), bytes);
    EXPECT_EQ(LoadDataFile(ws, path("bad.dat")), FileStatus::FileError) << what;
    EXPECT_EQ(ws.working, before.working) << what;
    EXPECT_EQ(ws.saved, before.saved) << what;
    EXPECT_EQ(ws.fileName, "before.dat") << what;
    EXPECT_FALSE(LoadDefaultFile(ws, path("bad.dat"))) << what;
    EXPECT_EQ(ws.working, before.working) << what;
  };
  expectRefused(good.substr(0, 9758), "short");
  expectRefused(good + "x", "long");
  expectRefused("", "empty");
  auto patched = [&](std::size_t at, uint16_t v) {
    std::string b = good;
    Put16(b, at, v);
    return b;
  };
  expectRefused(patched(0, 129), "channel count");
  expectRefused(patched(8967, 17), "DTMF code count");
  expectRefused(patched(9257, 17), "list count");
  expectRefused(patched(9675, 9), "fleet count");
  expectRefused(patched(2, 0), "channel number 0");
  expectRefused(patched(2, 129), "channel number 129");
  expectRefused(patched(2 + 68, 7), "repeated channel number");
  expectRefused(patched(8969 + 18, 1), "repeated DTMF memory position");
  expectRefused(patched(8969, 0), "DTMF memory position 0");
  expectRefused(patched(8969, 17), "DTMF memory position 17");
  EXPECT_EQ(LoadDataFile(ws, path("missing.dat")), FileStatus::FileError);

  // A damaged number in a slot above the count does no harm.
  write(path("ok.dat"), patched(2 + 68 * 5, 999));
  EXPECT_EQ(LoadDataFile(ws, path("ok.dat")), FileStatus::Ok);
}

TEST_F(DataFileTest, ModelCheckRefusesOtherModelsAndKeepsTheOldData) {
  Workspace ws;
  ws.working = Sample();
  ws.working.channelCount = 1;
  ws.saved = ws.working;
  const Workspace before = ws;
  std::string bytes = SerializeDataFile(Sample());
  bytes.replace(8706, 5, "N27PX");
  write(path("other.dat"), bytes);
  EXPECT_EQ(LoadDataFile(ws, path("other.dat")), FileStatus::ModelError);
  EXPECT_EQ(ws.working, before.working);
  EXPECT_EQ(ws.saved, before.saved);
  EXPECT_STREQ(FileStatusText(FileStatus::ModelError), "Model Error!");

  bytes.replace(8706, 5, "N27PR");  // five characters, no NUL: still the model name
  write(path("full.dat"), bytes);
  EXPECT_EQ(LoadDataFile(ws, path("full.dat")), FileStatus::Ok);
  EXPECT_EQ(ws.modelName, "N27PR");
  EXPECT_EQ(ws.bandText, "136 - 174 MHz");
  EXPECT_FALSE(ws.untitled);
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
}

TEST_F(DataFileTest, SaveThenLoadKeepsEverythingAndTheSideFileTravelsAlong) {
  Workspace ws;
  ws.working = Sample();
  ws.modelName = "N27PR";
  ws.bandText = "400 - 490 MHz";
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(fs::file_size(path("radio.dat")), 9759u);
  EXPECT_EQ(ws.working.bandCode, 0);  // the model record follows the current band
  EXPECT_FALSE(ws.untitled);
  EXPECT_EQ(ws.fileName, path("radio.dat"));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  EXPECT_EQ(ReadWholeFile(path("radio.NVD")).value(), std::string("\x01\x00\x00\x00\x01\x00", 6));

  Workspace other;
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.working, ws.working);
  EXPECT_FALSE(IsModified(other.working, other.saved));
  other.working.channels[0].pttId = 1;
  EXPECT_TRUE(IsModified(other.working, other.saved));

  // The side file's values win over those in the data file …
  write(path("radio.NVD"), std::string("\x00\x00\x01\x00\x00\x00", 6));
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.working.standAlone.alertLockedFlag, 0);
  EXPECT_EQ(other.working.standAlone.functionLockedFlag, 1);
  EXPECT_EQ(other.working.standAlone.bandExtension, 0);
  EXPECT_FALSE(IsModified(other.working, other.saved));
  // … and a side file of the wrong size is passed over.
  write(path("radio.NVD"), std::string(7, '\x05'));
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.working.standAlone.alertLockedFlag, 1);
  EXPECT_EQ(other.working.standAlone.bandExtension, 1);
}

TEST_F(DataFileTest, FailedSaveKeepsTheConfigurationModified) {
  Workspace ws;
  ws.working = Sample();
  const CodeplugData savedBefore = ws.saved;
  EXPECT_EQ(SaveDataFile(ws, path("no/such/folder/a.dat")), FileStatus::FileError);
  EXPECT_EQ(ws.saved, savedBefore);
  EXPECT_TRUE(ws.untitled);
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
  EXPECT_EQ(std::string(FileStatusText(FileStatus::FileError)), "file error.");
}

TEST_F(DataFileTest, TestModeKeepsTheTuningTableInACompanionFile) {
  EXPECT_EQ(TuningFilePath("radio.dat"), "radio.ted");
  EXPECT_EQ(TuningFilePath("a.d"), "");
  Workspace ws;
  ws.working = Sample();
  ws.testMode = true;
  ws.tuningOrigin.edited = true;  // typed
  for (int i = 0; i < 16; ++i) ws.tuning[static_cast<std::size_t>(i)] = static_cast<int16_t>(i * 17);
  ws.tuning[8] = 0x3E8;
  ws.tuning[15] = -300;  // not in the radio's block: kept as it is
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(ws.fileTuning, ws.tuning);
  const std::string ted = ReadWholeFile(path("radio.ted")).value();
  ASSERT_EQ(ted.size(), 32u);
  EXPECT_EQ(ted.substr(16, 2), std::string("\xE8\x03", 2));
  EXPECT_EQ(ted.substr(30, 2), std::string("\xD4\xFE", 2));  // -300 little-endian

  Workspace other;
  other.testMode = true;
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.tuning, ws.tuning);
  EXPECT_EQ(other.fileTuning, ws.tuning);

  // A missing companion leaves both tables as they were; outside test mode it is neither read
  // nor written.
  fs::remove(path("radio.ted"));
  other.tuning.fill(7);
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.tuning[0], 7);
  ws.testMode = false;
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  EXPECT_FALSE(fs::exists(path("radio.ted")));
}

TEST_F(DataFileTest, LoadAndSaveTellWhyTheyFailed) {
  Workspace ws;
  ws.working = Sample();
  FileOutcome why;
  auto loadReason = [&](const std::string &p) {
    why = {};
    EXPECT_EQ(LoadDataFile(ws, p, &why), FileStatus::FileError) << p;
    return why.reason();
  };
  EXPECT_EQ(loadReason(path("missing.dat")), "no such file");
  EXPECT_EQ(loadReason(dir.string()), "is a folder");
  write(path("short.dat"), "not a data file");
  EXPECT_EQ(loadReason(path("short.dat")), "wrong size 15 of 9759");
  write(path("long.dat"), std::string(20000, 'x'));
  EXPECT_EQ(loadReason(path("long.dat")), "wrong size 20000 of 9759");
  std::string bad = SerializeDataFile(Sample());
  bad[0] = static_cast<char>(200);
  write(path("counts.dat"), bad);
  EXPECT_EQ(loadReason(path("counts.dat")), "damaged");
  // A pipe is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo(path("pipe.dat").c_str(), 0600), 0);
  EXPECT_EQ(loadReason(path("pipe.dat")), "not a regular file");

  ASSERT_EQ(SaveDataFile(ws, path("locked.dat")), FileStatus::Ok);
  ASSERT_EQ(::chmod(path("locked.dat").c_str(), 0444), 0);
  EXPECT_EQ(SaveDataFile(ws, path("locked.dat"), &why), FileStatus::FileError);
  EXPECT_EQ(why.reason(), "read-only");
  EXPECT_EQ(SaveDataFile(ws, path("no/such/folder/a.dat"), &why), FileStatus::FileError);
  EXPECT_EQ(why.reason(), "no such file");
}

TEST_F(DataFileTest, ANameEndingInNvdIsRefusedAndWritesNothing) {
  Workspace ws;
  ws.working = Sample();
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  const std::string side = ReadWholeFile(path("radio.NVD")).value();
  for (const char *name : {"radio.NVD", "other.nvd", "x.NvD", "plainnvd"}) {
    FileOutcome why;
    EXPECT_EQ(SaveDataFile(ws, path(name), &why), FileStatus::FileError) << name;
    EXPECT_NE(why.reason().find("NVD"), std::string::npos) << why.reason();
    EXPECT_EQ(ws.fileName, path("radio.dat"));
  }
  EXPECT_EQ(ReadWholeFile(path("radio.NVD")).value(), side);
  EXPECT_FALSE(fs::exists(path("other.nvd")));
  EXPECT_FALSE(fs::exists(path("plainnvd")));
}

TEST_F(DataFileTest, ASaveThatFailsHalfwayLeavesTheDataAndSideFileAsTheyWere) {
  Workspace ws;
  ws.working = Sample();
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  const std::string data = ReadWholeFile(path("radio.dat")).value();
  const std::string side = ReadWholeFile(path("radio.NVD")).value();

  ws.working.channelCount = 1;
  ws.working.standAlone.bandExtension = 0;
  SetSaveFaultForTesting([](const std::string &target) {
    return target.find(".NVD") != std::string::npos ? ENOSPC : 0;
  });
  FileOutcome why;
  EXPECT_EQ(SaveDataFile(ws, path("radio.dat"), &why), FileStatus::FileError);
  SetSaveFaultForTesting({});
  EXPECT_EQ(why.reason(), path("radio.NVD") + ": disk full");  // the side file is named
  EXPECT_EQ(ReadWholeFile(path("radio.dat")).value(), data);
  EXPECT_EQ(ReadWholeFile(path("radio.NVD")).value(), side);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
}

// In test mode a save replaces the data file, its side file and its ".ted" together or
// leaves all three; tuning values nobody read, loaded or typed make no ".ted".
TEST_F(DataFileTest, TestModeSaveCommitsTheThreeFilesTogetherOrNone) {
  Workspace ws;
  ws.working = Sample();
  ws.testMode = true;
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  EXPECT_FALSE(fs::exists(path("radio.ted")));
  const std::string data = ReadWholeFile(path("radio.dat")).value();
  const std::string side = ReadWholeFile(path("radio.NVD")).value();

  ws.tuningOrigin = {TuningSource::Radio, {}, false};
  ws.working.channelCount = 1;
  ws.working.standAlone.bandExtension = 0;
  fs::create_directory(path("radio.ted"));
  FileOutcome why;
  EXPECT_EQ(SaveDataFile(ws, path("radio.dat"), &why), FileStatus::FileError);
  EXPECT_EQ(why.reason(), path("radio.ted") + ": is a folder");
  EXPECT_EQ(ReadWholeFile(path("radio.dat")).value(), data);
  EXPECT_EQ(ReadWholeFile(path("radio.NVD")).value(), side);
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
}

// A ".ted" holding what the test data window would not take is refused with the entry; the
// edges are taken, and entries 14 and 15 are not in the radio's block.
TEST_F(DataFileTest, ATedOutsideTheWindowsRulesIsRefusedNamingTheEntry) {
  Workspace ws;
  ws.working = Sample();
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  Workspace other;
  other.testMode = true;
  const std::pair<std::string, const char *> cases[] = {
      {std::string("\x34\x12", 2), "entry 0 holds 1234 (hex); it takes 0 to FF"},
      {std::string("\0\0\xFB\xFF", 4), "entry 1 holds -5 (hex); it takes 0 to FF"},
      {std::string(17, '\0') + "\x05", "entry 8 holds 500 (hex); it takes 0 to 400"}};
  for (const auto &[start, reason] : cases) {
    write(path("radio.ted"), start + std::string(32 - start.size(), '\0'));
    FileOutcome why;
    EXPECT_EQ(LoadDataFile(other, path("radio.dat"), &why), FileStatus::FileError);
    EXPECT_EQ(why.reason(), path("radio.ted") + ": " + reason);
    EXPECT_EQ(other.fileName, "new.dat");
  }
  write(path("radio.ted"), std::string("\xFF\0\0\0\0\0\x00\x04", 8) + std::string(8, '\0') +
                               std::string("\x00\x04", 2) + std::string(10, '\0') +
                               std::string("\xFF\x7F\x00\x80", 4));
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.tuning, (TuningTable{0xFF, 0, 0, 0x400, 0, 0, 0, 0, 0x400, 0, 0, 0, 0, 0, 0x7FFF, -32768}));
}

// Saved and loaded through a symbolic link, the side file and the ".ted" are those beside the
// link's target; a companion name never leaves the data file's folder.
TEST_F(DataFileTest, ThroughALinkTheCompanionsAreThoseOfItsTarget) {
  fs::create_directories(dir / "real");
  fs::create_symlink("real/radio.dat", dir / "link.dat");
  Workspace ws;
  ws.working = Sample();
  ws.testMode = true;
  ws.tuningOrigin.edited = true;
  ws.tuning[2] = 0x33;
  ASSERT_EQ(SaveDataFile(ws, path("link.dat")), FileStatus::Ok);
  EXPECT_EQ(ReadWholeFile(path("real/radio.NVD")).value(), std::string("\x01\x00\x00\x00\x01\x00", 6));
  EXPECT_EQ(ReadWholeFile(path("real/radio.ted")).value().substr(4, 2), std::string("\x33\x00", 2));
  EXPECT_FALSE(fs::exists(path("link.ted")));

  write(path("link.NVD"), std::string(6, '\0'));  // a stale one beside the link is not read
  Workspace other;
  other.testMode = true;
  ASSERT_EQ(LoadDataFile(other, path("link.dat")), FileStatus::Ok);
  EXPECT_EQ(other.working.standAlone.bandExtension, 1);
  EXPECT_EQ(other.tuning[2], 0x33);

  EXPECT_EQ(SideFilePath("folder/ab"), "folder/abNVD");
  EXPECT_EQ(TuningFilePath("folder/abc"), "");
}

}  // namespace
}  // namespace n27
