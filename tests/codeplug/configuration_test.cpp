#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "codeplug/bands.h"
#include "codeplug/configuration.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

ChannelRecord Channel(int number, const char *rx) {
  ChannelRecord c;
  c.number = static_cast<uint16_t>(number);
  c.inUse = 1;
  c.rx.assign(rx);
  c.tx.assign(rx);
  c.decode.assign("FFFF");
  c.encode.assign("FFFF");
  return c;
}

TEST(NewConfiguration, DefaultsWithoutADefaultFileAndChannelsWithOne) {
  const fs::path folder = fs::temp_directory_path() / ("n27_newconfig_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder / "Init");

  Workspace ws;
  ws.programFolder = folder.string();
  ws.working.channelCount = 3;
  ws.working.function.dwChannel = 9;  // left over from the configuration before
  ws.fileName = "/x/old.dat";
  ws.untitled = false;
  NewConfiguration(ws);
  EXPECT_EQ(ws.working.channelCount, 0);
  EXPECT_TRUE(ws.untitled);
  EXPECT_EQ(ws.fileName, "new.dat");
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  EXPECT_EQ(ws.working.function.dwChannel, 0);  // nothing carried over from before
  EXPECT_EQ(ws.working.modelName.raw(), "N27PR");

  // A default data file for the band: its channels replace the empty table.
  Workspace source;
  source.working = ws.working;
  source.working.channelCount = 2;
  source.working.channels[0] = Channel(1, "13600000");
  source.working.channels[1] = Channel(16, "17350000");
  source.bandText = kBand136;
  ASSERT_EQ(SaveDataFile(source, (folder / "Init/N27PR_1.dat").string()), FileStatus::Ok);
  ws.bandText = kBand136;
  EXPECT_EQ(DefaultDataFilePath(ws), (folder / "Init/N27PR_1.dat").string());
  NewConfiguration(ws);
  EXPECT_EQ(ws.working.channelCount, 2);
  EXPECT_EQ(ws.working.channels[1].rx.raw(), "17350000");
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  EXPECT_TRUE(ws.untitled);

  // Switched off, or damaged: defaults only, and no message.
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  EXPECT_EQ(ws.working.channelCount, 0);
  ws.loadDefaultFile = true;
  fs::resize_file(folder / "Init/N27PR_1.dat", 100);
  NewConfiguration(ws);
  EXPECT_EQ(ws.working.channelCount, 0);
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  fs::remove_all(folder);
}

TEST(IsModified, ChannelsMatchByNumberWhateverTheirSlot) {
  CodeplugData saved;
  LoadDefaultSettings(saved);
  saved.channelCount = 3;
  saved.channels[0] = Channel(1, "40000000");
  saved.channels[1] = Channel(2, "41000000");
  saved.channels[2] = Channel(3, "42000000");
  saved.channels[5] = Channel(99, "49000000");  // stale slot above the count
  CodeplugData working = saved;
  std::swap(working.channels[0], working.channels[2]);
  working.channels[5] = ChannelRecord{};
  EXPECT_FALSE(IsModified(working, saved));

  // What follows the NUL of a text does not count.
  working.channels[1].rx.assign("410000");
  saved.channels[1].rx = working.channels[1].rx;
  working.channels[1].rx.bytes[7] = 'x';
  EXPECT_FALSE(IsModified(working, saved));

  CodeplugData changed = working;
  changed.channels[2].w36 = 1;  // a word the image never holds
  EXPECT_TRUE(IsModified(changed, saved));
  changed = working;
  changed.channels[0].number = 4;  // channel 3 is gone, 4 is new
  EXPECT_TRUE(IsModified(changed, saved));
  changed = working;
  changed.channelCount = 2;
  EXPECT_TRUE(IsModified(changed, saved));
}

TEST(IsModified, ListsMessagesAndSettingsCount) {
  CodeplugData saved;
  LoadDefaultSettings(saved);
  saved.dtmfCodeCount = 2;
  saved.dtmfCodes[0] = DtmfCodeEntry{2, {}};
  saved.dtmfCodes[0].code.assign("123");
  saved.dtmfCodes[1] = DtmfCodeEntry{5, {}};
  saved.dtmfCodes[1].code.assign("EF");
  CodeplugData working = saved;
  std::swap(working.dtmfCodes[0], working.dtmfCodes[1]);
  EXPECT_FALSE(IsModified(working, saved));

  auto expectModified = [&](auto change, const char *what) {
    CodeplugData w = working;
    change(w);
    EXPECT_TRUE(IsModified(w, saved)) << what;
  };
  expectModified([](CodeplugData &w) { w.dtmfCodes[0].code.assign("E"); }, "DTMF code");
  expectModified([](CodeplugData &w) { w.dtmfCodes[0].position = 6; }, "DTMF position");
  expectModified([](CodeplugData &w) { w.carriedCount = 1; }, "carried list");
  expectModified([](CodeplugData &w) { w.message2.assign("HI"); }, "message");
  expectModified([](CodeplugData &w) { w.function.squelch = 9; }, "function");
  expectModified([](CodeplugData &w) { w.keys.keys[3] = 0; }, "keys");
  expectModified([](CodeplugData &w) { w.scan.words[0] = 1; }, "scan");
  expectModified([](CodeplugData &w) { w.dtmf.stunCode.assign("1"); }, "DTMF settings");
  expectModified([](CodeplugData &w) { w.fleetSync.idOwn = 4000; }, "FleetSync");
  expectModified([](CodeplugData &w) { w.fleetCount = 1; }, "fleet list");
  expectModified([](CodeplugData &w) { w.standAlone.functionLockedFlag = 1; }, "stand-alone");

  CodeplugData w = working;
  w.fleets[3].id = 7;  // beyond the fleet count
  EXPECT_FALSE(IsModified(w, saved));
}

}  // namespace
}  // namespace n27
