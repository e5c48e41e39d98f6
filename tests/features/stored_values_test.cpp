// Values that must survive the trip to the radio and back, and values that must never be
// stored in a form that reads back as something else.

#include <gtest/gtest.h>

#include "channels/channel_context.h"
#include "codeplug/image_codec.h"
#include "features/feature_areas.h"
#include "features/fleet_sync.h"

namespace n27::features {
namespace {

TEST(StoredValues, EveryCallResponseChoiceSurvivesAWriteAndARead) {
  Workspace ws;
  ChannelContext channels{ws};
  FeatureContext ctx{channels};
  const Setting &s = *FindSetting("function.callresponse").setting;
  for (const char *choice : {"Off", "Vibration", "Chord1", "Chord2", "Vibration + Chord1", "Vibration + Chord2"}) {
    ASSERT_TRUE(s.choose(ctx, choice).ok()) << choice;
    RadioImage image;
    EncodeFeatureSettings(image, ws.working);
    CodeplugData back;
    DecodeFeatureSettings(image, back);
    ws.working.function.callResponse = back.function.callResponse;
    EXPECT_EQ(s.view(ws).shownText(), choice);
  }
  EXPECT_EQ(ws.working.function.callResponse, 5);
  // A byte the list does not hold still falls back to "Off".
  RadioImage image;
  image.set(307, 6);
  CodeplugData d;
  d.function.callResponse = 3;
  DecodeFeatureSettings(image, d);
  EXPECT_EQ(d.function.callResponse, 0);
}

TEST(StoredValues, FleetListIdWhoseStoredFormMeansEmptyIsRefused) {
  // 1254 − 999 = 255, the mark of an empty cell.
  EXPECT_EQ(FleetCellValue(FleetColumn::Id, "1254"), std::nullopt);
  EXPECT_TRUE(FleetIdTakenForEmpty("1254"));
  EXPECT_EQ(FleetCellValue(FleetColumn::Id, "1253"), 254u);
  EXPECT_EQ(FleetCellValue(FleetColumn::Id, "1255"), 256u);
  EXPECT_FALSE(FleetIdTakenForEmpty("1253"));
  EXPECT_FALSE(FleetIdTakenForEmpty(""));
  // The fleet column never reaches 255 (349 − 99 = 250).
  EXPECT_EQ(FleetCellValue(FleetColumn::Fleet, "999"), 250u);

  Workspace ws;
  ChannelContext channels{ws};
  FeatureContext ctx{channels};
  const Setting &id = *FindSetting("fleetsync.id3").setting;
  ASSERT_TRUE(id.choose(ctx, "2000").ok());
  const auto before = ws.working;
  ChooseResult r = id.choose(ctx, "1254");
  EXPECT_EQ(r.status, ChooseStatus::Invalid);
  EXPECT_NE(r.message.find("1254"), std::string::npos) << r.message;
  EXPECT_EQ(ws.working.fleets[2].id, before.fleets[2].id) << "the cell keeps its ID";
  EXPECT_EQ(ws.working.fleetCount, before.fleetCount);
  EXPECT_EQ(id.view(ws).shownText(), "2000");
  // Text the filter drops is refused without that message.
  EXPECT_TRUE(id.choose(ctx, "12x").message.empty());
}

// The long number lists (own fleet and ID, modulation delay, message timer) show and take
// their texts without building the list: they must agree with the list they stand for.
TEST(StoredValues, LongNumberListsAgreeWithTheirEntries) {
  Workspace ws;
  ChannelContext channels{ws};
  FeatureContext ctx{channels};
  auto &f = ws.working.fleetSync;
  for (const char *key : {"fleetsync.fleet", "fleetsync.id", "fleetsync.modulationdelay", "fleetsync.messagetimer"}) {
    const Setting &s = *FindSetting(key).setting;
    for (uint32_t stored : {0u, 1u, 250u, 251u, 255u, 300u, 301u, 4000u, 4001u, 6000u, 6001u, 0xFFFFFFFFu}) {
      f.fleetOwn = static_cast<uint16_t>(stored), f.idOwn = f.modulationDelay = f.messageTimer = stored;
      EXPECT_EQ(s.shownText(ws), s.view(ws).shownText()) << key << " " << stored;
    }
    const auto entries = s.view(ws).entries;
    for (const std::string &text :
         std::vector<std::string>{entries[1], entries.back(), "off", "", "0", "007", "1 ", "6001", "99999999999"}) {
      const int at = text.empty() && entries[0] == " " ? 0 : FindEntry(entries, text);
      EXPECT_EQ(s.choose(ctx, text).ok(), at >= 0) << key << " '" << text << "'";
      if (at >= 0) {
        EXPECT_EQ(s.view(ws).shownText(), entries[static_cast<std::size_t>(at)]) << key;
      }
    }
  }
}

}  // namespace
}  // namespace n27::features
