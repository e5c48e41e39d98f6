// Feature settings through a data file and through the command line, as a dealer uses them.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <fstream>
#include <map>
#include <regex>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "common/cli_run.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"
#include "features/feature_areas.h"
#include "features/setting.h"

namespace n27::features {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    // One folder per test process: ctest runs tests side by side.
    dir = fs::temp_directory_path() /
          ("n27_settings_file_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
           std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string path(const char *name) const { return (dir / name).string(); }
  fs::path dir;
};

// A text at one end of what a box takes.
std::string boxText(const Setting &s, bool high) {
  const std::string &k = s.key;
  if (k.rfind("fleet", 0) == 0) return high ? "349" : "100";
  if (k.rfind("id", 0) == 0) return high ? "4999" : "1000";
  if (k == "selfid") return high ? "999" : "000";
  if (k.rfind("line", 0) == 0) return high ? std::string(32, '~') : " ";
  const std::string dtmf = "#*DCBA9876543210";
  return high ? dtmf.substr(0, static_cast<std::size_t>(s.view(Workspace{}).maxLength)) : "0";
}

// What every stored setting shows, by "area.key".
std::map<std::string, std::string> everythingShown(const Workspace &ws) {
  std::map<std::string, std::string> out;
  for (const Area *a : FeatureAreas())
    for (const auto &s : a->settings)
      if (s.choose && s.stored) out[a->key + "." + s.key] = s.view(ws).shownText();
  return out;
}

TEST_F(SettingsFile, EverySettingAtTheEndsOfItsRangeSurvivesASaveAndALoad) {
  for (bool high : {false, true}) {
    Workspace ws;
    ws.loadDefaultFile = false;
    NewConfiguration(ws);
    ChannelContext channels(ws);
    FeatureContext ctx(channels);
    for (int n : {1, 16, 17, 32, 33, 48, 49, 64, 65, 80, 81, 96, 97, 112, 113, 128})
      ASSERT_EQ(AddChannel(channels, 1, n, "446.00000"), EditStatus::Ok);

    int set = 0;
    for (const Area *a : FeatureAreas())
      for (const auto &s : a->settings) {
        if (!s.choose || !s.stored) continue;
        const SettingView v = s.view(ws);
        std::string text;
        if (v.kind == SettingKind::List) text = high ? v.entries.back() : v.entries.front();
        if (v.kind == SettingKind::Check) text = high ? "On" : "Off";
        if (v.kind == SettingKind::Text) text = boxText(s, high);
        auto r = s.choose(ctx, text);
        if (r.status == ChooseStatus::Disabled) continue;  // look-back times under priority None
        ASSERT_TRUE(r.ok()) << a->key << "." << s.key << " " << text;
        ++set;
      }
    EXPECT_GT(set, 100);
    const auto before = everythingShown(ws);
    const CodeplugData written = ws.working;

    ASSERT_EQ(SaveDataFile(ws, path("ends.dat")), FileStatus::Ok);
    Workspace back;
    back.loadDefaultFile = false;
    NewConfiguration(back);
    ASSERT_EQ(LoadDataFile(back, path("ends.dat")), FileStatus::Ok);
    EXPECT_EQ(everythingShown(back), before) << (high ? "high" : "low") << " ends";
    EXPECT_EQ(back.working.function, written.function);
    EXPECT_EQ(back.working.dtmf, written.dtmf);
    EXPECT_EQ(back.working.fleetSync, written.fleetSync);
    EXPECT_EQ(back.working.fleets, written.fleets);
    EXPECT_EQ(back.working.standAlone, written.standAlone);
    EXPECT_EQ(back.working.dtmfCodeCount, 16);
  }
}

// ---- the command line ----

// An image as a radio would give it: channels 1, 5, 20, 40 and every feature byte set.
std::string radioImage() {
  std::string img(2561, '\0');
  auto put = [&img](int a, int v) { img[static_cast<std::size_t>(a)] = static_cast<char>(v); };
  const char model[] = "N27PR";
  for (int i = 0; i < 5; ++i) put(417 + i, model[i]);
  put(422, 0);
  img.replace(432, 80, 80, '\xFF');
  for (int n : {1, 5, 20, 40}) {
    put(272 + (n - 1) / 8, static_cast<unsigned char>(img[static_cast<std::size_t>(272 + (n - 1) / 8)]) | 1 << ((n - 1) % 8));
    const int r = 512 + (n - 1) * 16;
    const uint32_t hz = 446006250u + static_cast<uint32_t>(n) * 12500u;
    for (int i = 0; i < 4; ++i) put(r + i, static_cast<int>(hz >> (24 - 8 * i) & 0xFF));
    for (int i = 4; i < 12; ++i) put(r + i, 0xFF);
    put(r + 14, 0x14);
    put(r + 15, 0x05);
  }
  put(11, 1);      // RRM
  put(13, 4);      // current channel 5
  put(15, 1);      // lock
  const int bytes304[] = {3, 10, 1, 2, 9, 2, 0, 1, 19, 1, 12, 2, 1, 2, 1, 1,  // 304..319
                          1, 1, 0, 8, 3, 4, 1,                                // 320..326
                          2, 0, 1, 3, 0, 1, 1, 0, 1,                          // 327..335
                          2, 4, 5, 7,                                         // keys
                          0, 0, 0, 0,                                         // 340..343
                          4, 3, 7, 254, 254, 254, 254, 254};                  // banks
  for (int i = 0; i < 48; ++i) put(304 + i, bytes304[i]);
  img.replace(352, 64, 64, '\xFF');
  img.replace(352, 5, "HELLO");
  img.replace(384, 10, "N27 DEALER");
  return img;
}

TEST_F(SettingsFile, DecodedImageShowsWhatTheWindowsWouldShow) {
  {
    std::ofstream f(path("radio.img"), std::ios::binary);
    f << radioImage();
  }
  CliRun r = Cli("decode " + path("radio.img") + " -o " + path("radio.dat"));
  ASSERT_EQ(r.status, 0) << r.out;
  r = Cli("show " + path("radio.dat"));
  ASSERT_EQ(r.status, 0) << r.out;
  const std::vector<std::pair<const char *, const char *>> expected = {
      {"Time Out Timer\\(TOT\\)\\[s\\]", "120"},
      {"TOT Warnig Time\\[s\\]", "10"},
      {"Squelch Level", "9"},
      {"Voice Prompt", "English"},
      {"Call Response", "Chord1"},
      {"Mic Noise Reduction", "High Noise Reduction"},
      {"Battery Save", "1:4"},
      {"Freqency Band Extension", "On"},
      {"Reset Allowed", "Off"},
      {"Tail Elimination Type", "240 Degree"},
      {"Eliminate Squelch Tail When No CTCSS/DCS Signaling", "55.2 Hz"},
      {"VOX Level", "4"},  // 12 from the radio reads as 4
      {"VOX Delay Time\\[s\\]", "1.5"},
      {"DCS Tail Elimination Type", "55.0"},
      {"DW Channel", "Channel-020"},
      {"RB Setting", "On"},
      {"Scan Mode", "CO"},
      {"Backlight Mode", "TIME"},
      {"Current Channel", "Channel-005"},
      {"Beep", "Off"},
      {"Channel Locked", "On"},
      {" RRM", "On"},  // the caption starts with a blank
      {"Lock", "On"},
      {"Key Function1 Press", "RRM"},
      {"Key Function2 Press", "CALL TONE"},
      {"Key Function1 Hold", "VOX ON / OF"},
      {"Key Function2 Hold", "TX<->RX"},
      {"Priority", "Fixd"},
      {"Priority Channel 1", "5"},
      {"Priority Channel 2", "20"},
      {"Priority Channel 3", "40"},
      {"Look Back Time A\\[s\\]", "1.0"},
      {"Look Back Time B\\[s\\]", "5.0"},
      {"Revert Channel", "Priority\\+Talk Back"},
      {"Dropout Delay Time\\[s\\]", "3.0"},
      {"TX Dwell Time\\[s\\]", "1.5"},
      {"Message Line 1", "HELLO"},
      {"Message Line 2", "N27 DEALER"},
  };
  for (const auto &[label, value] : expected)
    EXPECT_TRUE(std::regex_search(r.out, std::regex(std::string("\n  ") + label + " +" + value + "\n")))
        << label << " should show " << value << "\n" << r.out;
  EXPECT_TRUE(std::regex_search(r.out, std::regex("\n  Priority Channel 4 *\n"))) << "no channel in bank 4";
}

TEST_F(SettingsFile, SetChangesTheFileOnlyWhenEverySettingIsAccepted) {
  ASSERT_EQ(Cli("new --band 0 --empty -o " + path("a.dat")).status, 0);
  CliRun r = Cli("set " + path("a.dat") + " function.tot 150 scan.priority Fixd message.line1 'HELLO WORLD' "
                 "dtmf.memory3 '12*#' fleetsync.id2 6000 function.alertlocked Off");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("fleetsync.id2 = 4999"), std::string::npos) << r.out;
  r = Cli("show " + path("a.dat"));
  for (const char *line : {"Time Out Timer(TOT)[s]                              150", "Priority               Fixd",
                           "Message Line 1  HELLO WORLD", "Autodial Memory 3      12*#",
                           "Alert Locked                                        Off"})
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;

  const std::string before = ReadWholeFile(path("a.dat")).value();
  for (const char *bad : {"function.tot 45", "dtmf.selfid 12", "function.bandextension On scan.revert Nowhere",
                          "radioinfo.serialnumber X", "function.reverse On", "nosuch.setting 1",
                          "function.tot"}) {
    r = Cli("set " + path("a.dat") + " " + bad);
    EXPECT_NE(r.status, 0) << bad << "\n" << r.out;
  }
  EXPECT_EQ(ReadWholeFile(path("a.dat")).value(), before) << "a refused set saves nothing";
  EXPECT_NE(Cli("set " + path("a.dat") + " dtmf.selfid 12").out.find("Invalid Data"), std::string::npos);

  r = Cli("set --list");
  ASSERT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("scan.priority"), std::string::npos);
  EXPECT_NE(r.out.find("None | Fixd | Selected"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace n27::features
