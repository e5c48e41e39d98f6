// The rules of the feature windows that carry logic: what a control shows for a stored value,
// what a choice stores, and the effects on other settings.

#include <gtest/gtest.h>

#include <limits>

#include "channels/channel_ops.h"
#include "features/dtmf_settings.h"
#include "features/feature_areas.h"
#include "features/fleet_sync.h"
#include "features/function_setup.h"
#include "features/key_assignment.h"
#include "features/key_filters.h"
#include "features/local_message.h"
#include "features/scan_settings.h"

namespace n27::features {
namespace {

class Features : public ::testing::Test {
 protected:
  Workspace ws;
  ChannelContext channels{ws};
  FeatureContext ctx{channels};

  void addChannels(std::initializer_list<int> numbers) {
    for (int n : numbers) ASSERT_EQ(AddChannel(channels, 1, n, "446.00000"), EditStatus::Ok) << n;
  }
  SettingView view(const char *name) { return FindSetting(name).setting->view(ws); }
  ChooseResult choose(const char *name, const std::string &text) {
    return FindSetting(name).setting->choose(ctx, text);
  }
  std::string shown(const char *name) { return view(name).shownText(); }
};

TEST_F(Features, AStoredValueOutsideTheListShowsTheFirstEntryAndStaysStored) {
  ws.working.function.tot = 7;  // within the radio's read rule, beyond the list
  EXPECT_EQ(shown("function.tot"), "30");
  EXPECT_EQ(ws.working.function.tot, 7);
  ASSERT_TRUE(choose("function.tot", "150").ok());
  EXPECT_EQ(ws.working.function.tot, 4);

  ws.working.function.totWarning = 0;  // warning off
  EXPECT_EQ(shown("function.totwarning"), "5");
  EXPECT_EQ(ws.working.function.totWarning, 0);
  ASSERT_TRUE(choose("function.totwarning", "8").ok());
  EXPECT_EQ(ws.working.function.totWarning, 8);
  EXPECT_EQ(choose("function.totwarning", "4").status, ChooseStatus::NotOffered);

  ws.working.function.voxDelay = 5;
  EXPECT_EQ(shown("function.voxdelay"), "3.0");
  ASSERT_TRUE(choose("function.voxdelay", "0.5").ok());
  EXPECT_EQ(ws.working.function.voxDelay, 0);
}

TEST_F(Features, CheckBoxesAndTheInvertedLocks) {
  ASSERT_TRUE(choose("function.vox", "On").ok());
  EXPECT_EQ(ws.working.function.voxFunction, 1);
  EXPECT_TRUE(view("function.voxfunction").checked) << "VOX and VOX Function edit one value";
  ASSERT_TRUE(choose("function.functionlocked", "on").ok());
  EXPECT_EQ(ws.working.standAlone.functionLockedFlag, 0) << "held as 1 while NOT ticked";
  ASSERT_TRUE(choose("function.functionlocked", "off").ok());
  EXPECT_EQ(ws.working.standAlone.functionLockedFlag, 1);
  EXPECT_EQ(choose("function.beep", "maybe").status, ChooseStatus::NotOffered);
}

TEST_F(Features, ChannelBoxesListTheChannelsInUseByName) {
  addChannels({100, 7, 12});
  auto current = view("function.currentchannel");
  EXPECT_EQ(current.entries, (std::vector<std::string>{"Channel-007", "Channel-012", "Channel-100"}));

  ws.working.standAlone.currentChannel = 11;  // channel 12
  EXPECT_EQ(shown("function.currentchannel"), "Channel-012");
  ws.working.standAlone.currentChannel = 40;  // channel 41 is not in use
  EXPECT_EQ(shown("function.currentchannel"), "Channel-007");
  ws.working.function.dwChannel = 40;
  EXPECT_EQ(view("function.dwchannel").shown, -1);
  EXPECT_EQ(ws.working.standAlone.currentChannel, 40) << "showing never changes the value";
  EXPECT_EQ(ws.working.function.dwChannel, 40);

  ASSERT_TRUE(choose("function.dwchannel", "Channel-100").ok());
  EXPECT_EQ(ws.working.function.dwChannel, 99);
  EXPECT_EQ(choose("function.dwchannel", "Channel-041").status, ChooseStatus::NotOffered);
  EXPECT_EQ(ChannelName(1), "Channel-001");
  EXPECT_EQ(ChannelName(128), "Channel-128");
}

TEST_F(Features, TickingAlertLockedTakesFunction15FromEveryKey) {
  int refreshed = 0;
  ctx.keysChanged = [&] { ++refreshed; };
  ws.working.standAlone.alertLockedFlag = 1;  // not ticked
  ws.working.keys.keys = {15, 2, 15, 255};
  ASSERT_TRUE(choose("function.alertlocked", "Off").ok());
  EXPECT_EQ(ws.working.keys.keys, (std::array<int16_t, 4>{15, 2, 15, 255})) << "unticking changes no key";
  ASSERT_TRUE(choose("function.alertlocked", "On").ok());
  EXPECT_EQ(ws.working.standAlone.alertLockedFlag, 0);
  EXPECT_EQ(ws.working.keys.keys, (std::array<int16_t, 4>{0, 2, 0, 255}));
  EXPECT_EQ(refreshed, 2) << "an open key window shows the keys again";
}

TEST_F(Features, KeyListsAreBuiltFromTheFullFunctionList) {
  EXPECT_EQ(view("key.key1hold").entries,
            (std::vector<std::string>{"None", "RRM", "Power Change", "CALL TONE", "VOX ON / OF"}));
  ws.working.keys.keys = {5, 255, 4, 7};
  EXPECT_EQ(shown("key.key1press"), "None") << "a code the key does not offer";
  EXPECT_EQ(shown("key.key2press"), "None") << "unprogrammed";
  EXPECT_EQ(shown("key.key1hold"), "CALL TONE");
  EXPECT_EQ(shown("key.key2hold"), "TX<->RX");
  EXPECT_EQ(ws.working.keys.keys[0], 5);
  ASSERT_TRUE(choose("key.key2hold", "TX=RX").ok());
  EXPECT_EQ(ws.working.keys.keys[3], 6);
  EXPECT_EQ(choose("key.key1press", "Power Change").status, ChooseStatus::NotOffered);
}

TEST_F(Features, BandExtensionOnlyIn400BandAndItLimitsTheTxFrequenciesAgain) {
  struct Grid : ChannelListener {
    int redraws = 0;
    void allChannelsChanged() override { ++redraws; }
  } grid;
  channels.addListener(&grid);
  addChannels({1});
  ws.working.channels[0].tx.assign("49500000");  // from a file: beyond the band
  ASSERT_TRUE(view("function.bandextension").enabled);
  ASSERT_TRUE(choose("function.bandextension", "On").ok());
  EXPECT_EQ(ws.working.standAlone.bandExtension, 1);
  EXPECT_EQ(ws.working.channels[0].tx.raw(), "49000000");
  EXPECT_EQ(grid.redraws, 1);

  ws.bandText = "136 - 174 MHz";
  EXPECT_FALSE(view("function.bandextension").enabled);
  EXPECT_EQ(choose("function.bandextension", "Off").status, ChooseStatus::Disabled);
  EXPECT_EQ(ws.working.standAlone.bandExtension, 1);
  channels.removeListener(&grid);
}

TEST_F(Features, RevertListFollowsThePriorityMode) {
  ws.working.scan.words[11] = 3;
  ASSERT_TRUE(choose("scan.priority", "Fixd").ok());
  EXPECT_EQ(view("scan.revert").entries.size(), 4u);
  EXPECT_EQ(shown("scan.revert"), "Priority+Talk Back");
  EXPECT_TRUE(view("scan.lookbacka").enabled);

  ASSERT_TRUE(choose("scan.priority", "None").ok());
  EXPECT_EQ(view("scan.revert").entries, (std::vector<std::string>{"Selected", "Selected+Talk Back"}));
  EXPECT_EQ(shown("scan.revert"), "Selected+Talk Back");
  EXPECT_FALSE(view("scan.lookbacka").enabled);
  EXPECT_FALSE(view("scan.lookbackb").enabled);
  EXPECT_TRUE(view("scan.dropoutdelay").enabled);
  EXPECT_EQ(choose("scan.lookbacka", "2.0").status, ChooseStatus::Disabled);

  ASSERT_TRUE(choose("scan.priority", "Selected").ok());
  EXPECT_EQ(view("scan.revert").entries, (std::vector<std::string>{"Priority", "Priority+Talk Back"}));
  ASSERT_TRUE(choose("scan.revert", "Priority").ok());
  EXPECT_EQ(ws.working.scan.words[11], 2) << "the position in the full list is stored";

  ws.working.scan.words[0] = 9;  // a value no list offers shows "None"
  EXPECT_EQ(shown("scan.priority"), "None");
  ws.working.scan.words[0] = 1;
  ws.working.scan.words[11] = 12;
  EXPECT_EQ(shown("scan.revert"), "Selected");
}

TEST_F(Features, BankListsHoldTheChannelsOfTheirBank) {
  addChannels({40, 35, 48, 49});
  EXPECT_EQ(view("scan.bank3").entries, (std::vector<std::string>{"35", "40", "48"}));
  ASSERT_TRUE(choose("scan.bank3", "40").ok());
  EXPECT_EQ(ws.working.scan.words[3], 8);
  EXPECT_EQ(shown("scan.bank3"), "40");
  ws.working.scan.words[3] = 2;  // channel 34 is not in use
  EXPECT_EQ(shown("scan.bank3"), "35");
  EXPECT_EQ(view("scan.bank5").shown, -1) << "an empty bank shows nothing";
  EXPECT_EQ(choose("scan.bank3", "49").status, ChooseStatus::NotOffered);
}

TEST_F(Features, DtmfListsStoreTheirValues) {
  ASSERT_TRUE(choose("dtmf.groupcode", "#").ok());
  EXPECT_EQ(ws.working.dtmf.groupCode, 15);
  EXPECT_EQ(shown("dtmf.groupcode"), "#");
  ASSERT_TRUE(choose("dtmf.groupcode", "Off").ok());
  EXPECT_EQ(ws.working.dtmf.groupCode, 255);
  ws.working.dtmf.groupCode = 3;
  EXPECT_EQ(shown("dtmf.groupcode"), "Off");
  ASSERT_TRUE(choose("dtmf.firstdigitdelay", "1300").ok());
  EXPECT_EQ(ws.working.dtmf.firstDigitDelay, 13);
  ASSERT_TRUE(choose("dtmf.firstdigitdelay", "Off").ok());
  EXPECT_EQ(ws.working.dtmf.firstDigitDelay, 0);
  ASSERT_TRUE(choose("dtmf.dcode", "16s").ok());
  EXPECT_EQ(ws.working.dtmf.dCode, 16);
  ASSERT_TRUE(choose("dtmf.stuncode", "12ab*#").ok());
  EXPECT_EQ(ws.working.dtmf.stunCode.raw(), "12AB*#");
  EXPECT_EQ(choose("dtmf.stuncode", "12345678901").status, ChooseStatus::Invalid) << "10 characters at most";
  EXPECT_EQ(choose("dtmf.botcode", "12E").status, ChooseStatus::Invalid);
}

TEST_F(Features, SelfIdNeedsThreeDigits) {
  ws.working.dtmf.selfId.assign("456");
  auto r = choose("dtmf.selfid", "12");
  EXPECT_EQ(r.status, ChooseStatus::Invalid);
  EXPECT_EQ(r.message, "Invalid Data");
  EXPECT_EQ(ws.working.dtmf.selfId.raw(), "000");
  EXPECT_TRUE(choose("dtmf.selfid", "789").ok());
  EXPECT_EQ(ws.working.dtmf.selfId.raw(), "789");
  EXPECT_FALSE(choose("dtmf.selfid", "7a9").ok());
  EXPECT_FALSE(choose("dtmf.selfid", "1234").ok());
}

TEST_F(Features, AutodialMemoryListKeepsOnlyFilledNumbers) {
  UpdateMemoryList(ws.working, 5, "55*");
  UpdateMemoryList(ws.working, 2, "2#");
  ASSERT_EQ(ws.working.dtmfCodeCount, 2);
  EXPECT_EQ(ws.working.dtmfCodes[0].position, 5);
  EXPECT_EQ(ws.working.dtmfCodes[0].code.raw(), "55E");
  EXPECT_EQ(ws.working.dtmfCodes[1].position, 2);
  EXPECT_EQ(MemoryCode(ws.working, 2), "2#");
  UpdateMemoryList(ws.working, 5, "123");
  EXPECT_EQ(ws.working.dtmfCodeCount, 2);
  EXPECT_EQ(MemoryCode(ws.working, 5), "123");
  UpdateMemoryList(ws.working, 5, "");
  ASSERT_EQ(ws.working.dtmfCodeCount, 1);
  EXPECT_EQ(ws.working.dtmfCodes[0].position, 2) << "later entries move up";
  UpdateMemoryList(ws.working, 9, "");
  EXPECT_EQ(ws.working.dtmfCodeCount, 1);
  ASSERT_TRUE(choose("dtmf.memory16", "0123456789ABCD*#").ok());
  EXPECT_EQ(shown("dtmf.memory16"), "0123456789ABCD*#");
  EXPECT_EQ(shown("dtmf.memory1"), "");
}

TEST_F(Features, FleetCellsAreClampedOnCommit) {
  auto &f = ws.working.fleets;
  ASSERT_TRUE(CommitFleetCell(ws.working, 3, FleetColumn::Fleet, "50"));
  EXPECT_EQ(f[2].fleet, 1);
  EXPECT_EQ(ws.working.fleetCount, 3) << "rows up to the last one in use";
  ASSERT_TRUE(CommitFleetCell(ws.working, 3, FleetColumn::Id, "6000"));
  EXPECT_EQ(f[2].id, 4000u);
  ASSERT_TRUE(CommitFleetCell(ws.working, 1, FleetColumn::Fleet, "a"));
  EXPECT_EQ(f[0].fleet, 0);
  EXPECT_EQ(shown("fleetsync.fleet1"), "All");
  ASSERT_TRUE(choose("fleetsync.fleet1", shown("fleetsync.fleet1")).ok());
  EXPECT_EQ(f[0].fleet, 0) << "a cell showing All that is committed again stays All";
  ASSERT_TRUE(CommitFleetCell(ws.working, 2, FleetColumn::Fleet, "349"));
  EXPECT_EQ(shown("fleetsync.fleet2"), "349");
  EXPECT_EQ(shown("fleetsync.id3"), "4999");
  ASSERT_TRUE(CommitFleetCell(ws.working, 3, FleetColumn::Fleet, ""));
  ASSERT_TRUE(CommitFleetCell(ws.working, 3, FleetColumn::Id, ""));
  EXPECT_EQ(f[2].fleet, 255);
  EXPECT_EQ(ws.working.fleetCount, 2);
  EXPECT_FALSE(CommitFleetCell(ws.working, 1, FleetColumn::Fleet, "1-2"));
  EXPECT_FALSE(CommitFleetCell(ws.working, 9, FleetColumn::Fleet, "100"));
}

TEST_F(Features, FleetSyncOwnValues) {
  ASSERT_TRUE(choose("fleetsync.fleet", "100").ok());
  EXPECT_EQ(ws.working.fleetSync.fleetOwn, 1);
  ASSERT_TRUE(choose("fleetsync.fleet", "349").ok());
  EXPECT_EQ(ws.working.fleetSync.fleetOwn, 250);
  ASSERT_TRUE(choose("fleetsync.fleet", " ").ok());
  EXPECT_EQ(ws.working.fleetSync.fleetOwn, 255);
  ASSERT_TRUE(choose("fleetsync.id", "4999").ok());
  EXPECT_EQ(ws.working.fleetSync.idOwn, 4000u);
  EXPECT_EQ(shown("fleetsync.id"), "4999");
  ASSERT_TRUE(choose("fleetsync.id", "").ok());
  EXPECT_EQ(ws.working.fleetSync.idOwn, 0u) << "the blank own ID is 0, a blank cell 255";
  ASSERT_TRUE(choose("fleetsync.modulationdelay", "6000").ok());
  EXPECT_EQ(ws.working.fleetSync.modulationDelay, 6000u);
}

TEST_F(Features, MessageLines) {
  ASSERT_TRUE(choose("message.line1", "HELLO").ok());
  EXPECT_EQ(ws.working.message1.raw(), "HELLO");
  ASSERT_TRUE(choose("message.line2", std::string(40, 'x')).ok());
  EXPECT_EQ(ws.working.message2.raw(), std::string(32, 'x'));
  EXPECT_EQ(choose("message.line1", "caf\xC3\xA9").status, ChooseStatus::Invalid);
  EXPECT_EQ(ws.working.message1.raw(), "HELLO");
  ws.working.message1.assign("caf\xE9");  // a byte above 127 read from the radio
  EXPECT_EQ(shown("message.line1"), "caf\xC3\xA9");
}

TEST(KeyFilters, EachBoxTakesItsCharacters) {
  EXPECT_EQ(DtmfCodeKey('b'), U'B');
  EXPECT_EQ(DtmfCodeKey('#'), U'#');
  EXPECT_FALSE(DtmfCodeKey('E'));
  EXPECT_FALSE(DtmfCodeKey(' '));
  EXPECT_FALSE(DigitKey('a'));
  EXPECT_EQ(DigitKey('7'), U'7');
  EXPECT_EQ(MessageKey('~'), U'~');
  EXPECT_FALSE(MessageKey(0xE9));
  EXPECT_EQ(FleetCellKey('a'), U'A');
  EXPECT_FALSE(FleetCellKey('b'));
  EXPECT_EQ(HexKey('f'), U'F');
  EXPECT_FALSE(HexKey('g'));
  for (auto filter : {DtmfCodeKey, DigitKey, MessageKey, FleetCellKey, HexKey}) {
    for (char32_t c : {char32_t{3}, char32_t{22}, char32_t{24}, kEnter, char32_t{0x4E2D}}) EXPECT_FALSE(filter(c));
    EXPECT_EQ(filter(kBackspace), kBackspace);
  }
  EXPECT_EQ(FilterText("1a*", DtmfCodeKey), "1A*");
  EXPECT_FALSE(FilterText("1e", DtmfCodeKey));
}

TEST_F(Features, ListsFollowTheLanguage) {
  SetLanguageIndex(kChinese);
  EXPECT_EQ(view("scan.priority").entries, (std::vector<std::string>{"无", "固定", "选定"}));
  EXPECT_EQ(shown("function.voiceprompt"), "关");
  EXPECT_TRUE(choose("scan.priority", "固定").ok());
  EXPECT_STREQ(FunctionSetupArea().caption.get(), "功能设定");
  SetLanguageIndex(kEnglish);
  EXPECT_EQ(ws.working.scan.words[0], 1);
}

// Records from a damaged file or a radio hold any value: every control still shows an entry
// of its list (or nothing), never one outside it.
TEST_F(Features, ExtremeStoredValuesNeverShowOutsideTheList) {
  addChannels({1, 17});
  for (int16_t extreme : {std::numeric_limits<int16_t>::min(), int16_t{-1}, int16_t{255}, int16_t{32767}}) {
    auto &d = ws.working;
    auto &f = d.function;
    for (int16_t *p : {&f.tot, &f.totWarning, &f.squelch, &f.voicePrompt, &f.batterySave, &f.voxLevel,
                       &f.voxDelay, &f.squelchTailNoSig, &f.ctcssTailType, &f.callResponse,
                       &f.micNoiseReduction, &f.dwChannel, &f.rbSetting, &f.scanMode, &f.backlightMode,
                       &d.standAlone.currentChannel, &d.standAlone.dcsTailType, &d.dtmf.speed,
                       &d.dtmf.groupCode, &d.dtmf.pttId, &d.dtmf.dCode})
      *p = extreme;
    for (auto &w : d.scan.words) w = extreme;
    for (auto &k : d.keys.keys) k = extreme;
    d.fleetSync.fleetOwn = static_cast<uint16_t>(extreme);
    d.fleetSync.idOwn = static_cast<uint32_t>(extreme);
    d.fleetSync.modulationDelay = static_cast<uint32_t>(extreme);
    ws.radioInfo.bandCode = static_cast<uint16_t>(extreme);
    for (const Area *area : FeatureAreas())
      for (const auto &s : area->settings) {
        auto v = s.view(ws);
        if (v.kind != SettingKind::List) continue;
        EXPECT_GE(v.shown, -1) << area->key << "." << s.key;
        EXPECT_LT(v.shown, static_cast<int>(v.entries.size())) << area->key << "." << s.key;
      }
  }
}

}  // namespace
}  // namespace n27::features
