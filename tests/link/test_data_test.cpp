// The rules of the test data window and of the ".ted" files: clamping, typing, Load/Save,
// OK, where the values came from, and the guard before a test-mode write.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/language.h"
#include "codeplug/configuration.h"
#include "link/test_data.h"

namespace n27 {
namespace {

using link::ClampTestDataText;

class TestDataRules : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLanguageIndex(kEnglish);
    dir = std::filesystem::temp_directory_path() /
          ("n27_testdata_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir);
  }
  std::string path(const std::string &name) const { return (dir / name).string(); }
  void write(const std::string &name, const std::string &bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::filesystem::path dir;
};

TEST_F(TestDataRules, EveryChangeIsClampedAsTheWindowShowsIt) {
  // Typing 1FF into field 3 keeps it; 500 there shows 400; 100 into field 0 shows FF.
  EXPECT_EQ(ClampTestDataText(3, "1FF"), "1FF");
  EXPECT_EQ(ClampTestDataText(3, "500"), "400");
  EXPECT_EQ(ClampTestDataText(3, "400"), "400");
  EXPECT_EQ(ClampTestDataText(3, "401"), "400");
  EXPECT_EQ(ClampTestDataText(0, "100"), "FF");
  EXPECT_EQ(ClampTestDataText(0, "FF"), "FF");
  EXPECT_EQ(ClampTestDataText(13, "FFF"), "FF");
  // Field 8 takes four digits, up to 400.
  EXPECT_EQ(ClampTestDataText(8, "3FF"), "3FF");
  EXPECT_EQ(ClampTestDataText(8, "1000"), "400");
  EXPECT_EQ(ClampTestDataText(8, "7FFF"), "400");
  // Four digits from 8000 are a negative 16-bit value: 0. Not a number: 0.
  EXPECT_EQ(ClampTestDataText(8, "8000"), "0");
  EXPECT_EQ(ClampTestDataText(8, "FFFF"), "0");
  EXPECT_EQ(ClampTestDataText(0, ""), "0");
  EXPECT_EQ(ClampTestDataText(0, "G"), "0");
  // Below 256 the value is shown again, without leading zeros.
  EXPECT_EQ(ClampTestDataText(5, "00A"), "A");
  EXPECT_EQ(ClampTestDataText(5, "0"), "0");
  EXPECT_EQ(ClampTestDataText(5, "0a"), "A");
  EXPECT_EQ(link::ClampTestDataValue(3, "3FF"), 0x3FF);

  EXPECT_EQ(link::TestDataHex(0), "0");
  EXPECT_EQ(link::TestDataHex(0x1A), "1A");
  EXPECT_EQ(link::TestDataHex(0x400), "400");
  EXPECT_EQ(link::TestDataHex(-5), "FFFB");

  EXPECT_EQ(link::TestDataMaxLength(0), 3);
  EXPECT_EQ(link::TestDataMaxLength(3), 3);
  EXPECT_EQ(link::TestDataMaxLength(8), 4);
  EXPECT_EQ(link::TestDataMaxLength(13), 3);
}

TEST_F(TestDataRules, OnlyHexadecimalDigitsCanBeTyped) {
  EXPECT_EQ(link::TestDataTypedChar('0'), '0');
  EXPECT_EQ(link::TestDataTypedChar('9'), '9');
  EXPECT_EQ(link::TestDataTypedChar('A'), 'A');
  EXPECT_EQ(link::TestDataTypedChar('F'), 'F');
  EXPECT_EQ(link::TestDataTypedChar('a'), 'A');
  EXPECT_EQ(link::TestDataTypedChar('f'), 'F');
  for (char c : std::string("gGzZ-+ .,x\x03\x16\x18"))
    EXPECT_EQ(link::TestDataTypedChar(c), 0) << int(c);
}

TEST_F(TestDataRules, TheFormShowsAClampedPrivateCopyAndOkHandsItBack) {
  Workspace ws;
  ws.tuning = {0x12, 0, 300, 0x1FF, -5, 0xFF, 1, 2, 0x7FF, 3, 4, 5, 6, 7, 1234, -1};
  ws.tuningOrigin = {TuningSource::Radio, {}, false};
  link::TestDataForm form(ws.tuning, ws.tuningOrigin);
  // What a radio or a file holds out of range shows as the window clamps it.
  EXPECT_EQ(form.text(0), "12");
  EXPECT_EQ(form.text(2), "FF");    // 300 in a one-byte entry
  EXPECT_EQ(form.text(3), "1FF");
  EXPECT_EQ(form.text(4), "0");     // negative
  EXPECT_EQ(form.text(8), "400");   // 7FF in a two-byte entry
  EXPECT_EQ(form.text(13), "7");

  // Showing values is no edit.
  EXPECT_FALSE(form.origin().edited);
  EXPECT_EQ(form.change(0, "12"), "12");
  EXPECT_FALSE(form.origin().edited);
  EXPECT_EQ(form.change(0, "100"), "FF");
  EXPECT_TRUE(form.origin().edited);
  EXPECT_EQ(form.change(8, "3A0"), "3A0");

  // Until OK the workspace keeps its table (Cancel is simply dropping the form).
  EXPECT_EQ(ws.tuning[0], 0x12);
  form.accept(ws);
  EXPECT_EQ(ws.tuning, (TuningTable{0xFF, 0, 0xFF, 0x1FF, 0, 0xFF, 1, 2, 0x3A0, 3, 4, 5, 6, 7, 1234, -1}));
  EXPECT_EQ(ws.tuningOrigin.source, TuningSource::Radio);
  EXPECT_TRUE(ws.tuningOrigin.edited);
}

TEST_F(TestDataRules, LoadAndSaveRoundTripAndSayWhyTheyFail) {
  TuningTable start{};
  link::TestDataForm form(start, {});
  form.change(0, "1");
  form.change(3, "3FF");
  form.change(8, "400");
  form.change(13, "FE");
  std::string problem;
  ASSERT_TRUE(form.save(path("a.ted"), problem)) << problem;
  // 32 bytes, little-endian 16-bit entries, entry 0 first.
  std::ifstream in(path("a.ted"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 32u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x01\x00\x00\x00\x00\x00\xFF\x03", 8));
  EXPECT_EQ(bytes.substr(16, 2), std::string("\x00\x04", 2));
  EXPECT_EQ(bytes.substr(26, 6), std::string("\xFE\x00\x00\x00\x00\x00", 6));

  link::TestDataForm other(start, {});
  ASSERT_TRUE(other.load(path("a.ted"), problem)) << problem;
  EXPECT_EQ(other.text(3), "3FF");
  EXPECT_EQ(other.text(8), "400");
  EXPECT_EQ(other.text(13), "FE");
  EXPECT_EQ(other.origin().source, TuningSource::File);
  EXPECT_EQ(other.origin().file, path("a.ted"));
  EXPECT_FALSE(other.origin().edited);

  // A Load that fails changes nothing and says why.
  auto refused = [&](const std::string &name, const std::string &why) {
    link::TestDataForm f(other.table(), other.origin());
    std::string p;
    EXPECT_FALSE(f.load(path(name), p)) << name;
    EXPECT_EQ(p, "file error.\n" + why) << name;
    EXPECT_EQ(f.table(), other.table());
    EXPECT_EQ(f.origin(), other.origin());
  };
  refused("missing.ted", "No such file.");
  write("short.ted", std::string(31, '\x01'));
  refused("short.ted", "Wrong size: 31 bytes, a test data file holds 32.");
  std::filesystem::create_directories(dir / "folder.ted");
  refused("folder.ted", "This is a folder, not a file.");
  ASSERT_EQ(::mkfifo(path("fifo.ted").c_str(), 0600), 0);
  refused("fifo.ted", "This is not an ordinary file.");  // never opened: no hang
  write("wide.ted", std::string("\0\0\x34\x12", 4) + std::string(28, '\0'));
  refused("wide.ted", "entry 1 holds 1234 (hex); it takes 0 to FF");  // not shown as FF, sent as 1234

  // A Save that fails leaves the file as it was and says why.
  std::string p;
  EXPECT_FALSE(form.save(path("nofolder/x.ted"), p));
  EXPECT_EQ(p, "file error.\nThe folder does not exist.");
  EXPECT_FALSE(form.save(path("folder.ted"), p));
  EXPECT_EQ(p, "file error.\nThis is a folder, not a file.");
  if (::geteuid() != 0) {  // root writes anywhere
    std::filesystem::permissions(dir, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(form.save(path("b.ted"), p));
    EXPECT_EQ(p, "file error.\nPermission denied.");
  }
}

TEST_F(TestDataRules, TheOriginIsShownAndGuardsATestModeWrite) {
  SetLanguageIndex(kEnglish);
  EXPECT_EQ(link::TuningOriginText({}), "Tuning values: none read, loaded or typed (all 0)");
  EXPECT_EQ(link::TuningOriginText({TuningSource::None, {}, true}), "Tuning values: typed in this window");
  EXPECT_EQ(link::TuningOriginText({TuningSource::Radio, {}, false}), "Tuning values: read from the radio");
  EXPECT_EQ(link::TuningOriginText({TuningSource::File, "/x/radio.ted", true}),
            "Tuning values: loaded from radio.ted, then edited");
  SetLanguageIndex(kChinese);
  EXPECT_EQ(link::TuningOriginText({TuningSource::Radio, {}, false}), "调谐数据：从对讲机读取");
  SetLanguageIndex(kEnglish);

  Workspace ws;
  EXPECT_FALSE(link::TuningWriteNeedsConfirmation(ws));  // not in test mode: no tuning block
  ws.testMode = true;
  EXPECT_TRUE(link::TuningWriteNeedsConfirmation(ws));
  ws.tuningOrigin.edited = true;
  EXPECT_FALSE(link::TuningWriteNeedsConfirmation(ws));
  ws.tuningOrigin = {TuningSource::Radio, {}, false};
  EXPECT_FALSE(link::TuningWriteNeedsConfirmation(ws));
  EXPECT_NE(link::UnknownTuningWarning().find("Write the zero tuning block anyway?"), std::string::npos);
  EXPECT_EQ(link::UnknownTuningWarning(false).find("anyway"), std::string::npos);
}

TEST_F(TestDataRules, DataFilesCarryTheTuningValuesAndTheirOriginInTestMode) {
  Workspace ws;
  ws.programFolder = dir.string();
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ws.testMode = true;
  ws.tuning = {1, 2, 3, 0x3FF, 5, 6, 7, 8, 0x400, 10, 11, 12, 13, 14, 0, 0};
  ws.tuningOrigin.edited = true;  // typed: a save keeps them
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  Workspace other;
  other.testMode = true;
  ASSERT_EQ(LoadDataFile(other, path("radio.dat")), FileStatus::Ok);
  EXPECT_EQ(other.tuning, ws.tuning);
  EXPECT_EQ(other.tuningOrigin, (TuningOrigin{TuningSource::File, path("radio.ted"), false}));

  // A companion that cannot be written fails the save, which then changes nothing.
  std::filesystem::create_directories(dir / "locked.ted");
  const CodeplugData savedBefore = ws.saved;
  const std::string nameBefore = ws.fileName;
  EXPECT_EQ(SaveDataFile(ws, path("locked.dat")), FileStatus::FileError);
  EXPECT_EQ(ws.fileName, nameBefore);
  EXPECT_TRUE(ws.saved == savedBefore);
}

TEST_F(TestDataRules, CommandLineSettingsAreCheckedLikeTyping) {
  int index = 0;
  std::string text, error;
  EXPECT_TRUE(link::ParseTuningSetting("3=1ff", index, text, error));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(text, "1FF");
  EXPECT_TRUE(link::ParseTuningSetting("8=0400", index, text, error));
  EXPECT_EQ(text, "0400");
  EXPECT_FALSE(link::ParseTuningSetting("0=0400", index, text, error));  // 4 digits: field 8 only
  EXPECT_FALSE(link::ParseTuningSetting("14=1", index, text, error));
  EXPECT_FALSE(link::ParseTuningSetting("-1=1", index, text, error));
  EXPECT_FALSE(link::ParseTuningSetting("2=", index, text, error));
  EXPECT_FALSE(link::ParseTuningSetting("2=1G", index, text, error));
  EXPECT_FALSE(link::ParseTuningSetting("2", index, text, error));
  EXPECT_FALSE(link::ParseTuningSetting("=5", index, text, error));
}

}  // namespace
}  // namespace n27
