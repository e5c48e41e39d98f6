// Comparing configurations: channels field by field, settings by caption, data files against
// radio images, in the current language.

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "common/test_folder.h"
#include "features/feature_areas.h"
#include "print/config_diff.h"

namespace n27 {
namespace {

using print::CompareConfigurations;
using print::Difference;

Workspace fresh() {
  SetLanguageIndex(kEnglish);
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ChannelContext ctx(ws);
  ChangeChannel(ctx, 1, 1, kFieldRx, "462.5625");
  ChangeChannel(ctx, 1, 3, kFieldRx, "446.00625");
  ChangeChannel(ctx, 1, 3, kFieldPower, "High");
  return ws;
}

void choose(Workspace &ws, const char *setting, const char *text) {
  ChannelContext ctx(ws);
  features::FeatureContext fc(ctx);
  auto ref = features::FindSetting(setting);
  ASSERT_TRUE(ref.setting) << setting;
  ASSERT_TRUE(ref.setting->choose(fc, text).ok()) << setting << " " << text;
}

TEST(ConfigDiff, ChannelsFieldByFieldAndSettingsByCaption) {
  Workspace a = fresh(), b = fresh();
  EXPECT_TRUE(CompareConfigurations(a, b).empty());
  {
    ChannelContext ctx(b);
    ChangeChannel(ctx, 1, 3, kFieldPower, "Low");
    ChangeChannel(ctx, 1, 3, kFieldDecode, "D023N");
    ChangeChannel(ctx, 1, 9, kFieldRx, "450");
  }
  choose(b, "function.tot", "90");
  const auto diffs = CompareConfigurations(a, b);
  ASSERT_EQ(diffs.size(), 6u) << print::DifferencesText(diffs, "a", "b");
  // Channel 3: the decode tone (which also set the encode tone), then power, in dialog order.
  EXPECT_EQ(diffs[0].section, "Channel 3");
  EXPECT_EQ(diffs[0].item, "CTCSS/DCS Decode");
  EXPECT_EQ(diffs[0].first, "None");
  EXPECT_EQ(diffs[0].second, "D023N");
  EXPECT_EQ(diffs[1].item, "CTCSS/DCS Encode");
  EXPECT_EQ(diffs[2].item, "SP Unmute");  // "Carrier" becomes "QT/DQT" with a decode tone
  EXPECT_EQ(diffs[3].item, "TX Power");
  EXPECT_EQ(diffs[3].first, "High");
  EXPECT_EQ(diffs[3].second, "Low");
  EXPECT_EQ(diffs[4].section, "Channel 9");
  EXPECT_EQ(diffs[4].item, "");
  EXPECT_EQ(diffs[4].first, "(no channel)");
  EXPECT_EQ(diffs[4].second, "450.00000 MHz");
  EXPECT_EQ(diffs[5].section, "Function Setup");
  EXPECT_EQ(diffs[5].item, "Time Out Timer(TOT)[s]");
  EXPECT_EQ(diffs[5].second, "90");

  const std::string text = print::DifferencesText(diffs, "a.dat", "b.dat");
  EXPECT_NE(text.find("Channel 3: TX Power: High → Low\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Channel 9: only in b.dat (450.00000 MHz)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Differences: 6.\n"), std::string::npos) << text;
  EXPECT_EQ(print::DifferencesText({}, "a", "b"), "No differences.\n");

  SetLanguageIndex(kChinese);
  const auto zh = CompareConfigurations(a, b);
  SetLanguageIndex(kEnglish);
  EXPECT_EQ(zh[3].section, "信道 3");
  EXPECT_EQ(zh[3].item, "发射功率");
  EXPECT_EQ(zh[3].second, "低");
  EXPECT_EQ(zh[5].item, "超时定时器(TOT)[秒]");
}

TEST(ConfigDiff, SlotOrderAndHiddenWordsDoNotCount) {
  Workspace a = fresh(), b = fresh();
  std::swap(b.working.channels[0], b.working.channels[1]);
  b.working.channels[0].w18 = 7;  // bookkeeping no window shows
  EXPECT_TRUE(CompareConfigurations(a, b).empty());
  b.bandText = "136 - 174 MHz";
  auto diffs = CompareConfigurations(a, b);
  ASSERT_FALSE(diffs.empty());
  EXPECT_EQ(diffs.back().item, "Band");
}

class ConfigDiffFiles : public TestFolderFixture {};

TEST_F(ConfigDiffFiles, DataFilesAgainstRadioImages) {
  Workspace a = fresh();
  ASSERT_EQ(SaveDataFile(a, path("a.dat")), FileStatus::Ok);
  EncodeImage(a);
  const auto &bytes = a.image.bytes();
  ASSERT_TRUE(WriteFileAtomically(path("a.img"), std::string(bytes.begin(), bytes.end())));
  ASSERT_TRUE(WriteFileAtomically(path("a2560.img"), std::string(bytes.begin(), bytes.begin() + 2560)));

  Workspace x, y, z;
  std::string error;
  x.programFolder = y.programFolder = z.programFolder = N27_PROGRAM_DIR;
  ASSERT_TRUE(print::LoadComparable(x, path("a.dat"), error)) << error;
  ASSERT_TRUE(print::LoadComparable(y, path("a.img"), error)) << error;
  ASSERT_TRUE(print::LoadComparable(z, path("a2560.img"), error)) << error;
  EXPECT_TRUE(CompareConfigurations(x, y, print::CompareScope::RadioMemory).empty());
  EXPECT_TRUE(CompareConfigurations(y, z).empty());

  // What the radio does not store (optional signalling, DTMF settings) differs between a file
  // and an image only when everything is compared; compared as the radio holds them, the two
  // are the same, and what the radio does hold still differs.
  ChannelContext ctx(x);
  ChangeChannel(ctx, 1, 1, kFieldOptSignal, "DTMF");
  choose(x, "dtmf.speed", "300");
  const std::string all = print::DifferencesText(CompareConfigurations(x, y), "x", "y");
  EXPECT_NE(all.find("Channel 1: Option Signaling: DTMF → None"), std::string::npos) << all;
  EXPECT_NE(all.find("DTMF: DTMF Speed[ms]: 300 → "), std::string::npos) << all;
  EXPECT_TRUE(CompareConfigurations(x, y, print::CompareScope::RadioMemory).empty());
  ChangeChannel(ctx, 1, 3, kFieldPower, "Low");
  auto diffs = CompareConfigurations(x, y, print::CompareScope::RadioMemory);
  ASSERT_EQ(diffs.size(), 1u);
  EXPECT_EQ(diffs[0].item, "TX Power");

  for (const char *bad : {"none.dat", "", "short.bin"}) {
    if (std::string(bad) == "short.bin") WriteFileAtomically(path(bad), "abc");
    Workspace w;
    error.clear();
    EXPECT_FALSE(print::LoadComparable(w, path(bad), error)) << bad;
    EXPECT_FALSE(error.empty());
  }
  std::string damaged(9759, '\xff');
  WriteFileAtomically(path("damaged.dat"), damaged);
  Workspace w;
  EXPECT_FALSE(print::LoadComparable(w, path("damaged.dat"), error));
  EXPECT_NE(error.find("file error."), std::string::npos) << error;
}

}  // namespace
}  // namespace n27
