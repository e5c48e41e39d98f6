// The main window caption, the status bar texts, the menu captions as plain labels and the
// small settings files kept between runs.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "app/caption.h"
#include "app/recent_files.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/main_window_texts.h"
#include "base/settings.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

std::string tempFile(const std::string &name) {
  fs::path dir = fs::temp_directory_path() / "n27_settings_test";
  fs::create_directories(dir);
  return (dir / name).string();
}

TEST(Caption, TheThreeFormsInBothLanguages) {
  CaptionParts parts{"N27PR", "400 - 490 MHz", "/home/dealer/radios/a.dat", "V101"};
  EXPECT_EQ(MainCaption(CaptionForm::New, {"N27PR", "400 - 490 MHz", "new.dat", ""}, kEnglish),
            "N27[File Name:new.dat]");
  EXPECT_EQ(MainCaption(CaptionForm::File, parts, kEnglish),
            "N27[N27PR:400 - 490 MHz][File Name:a.dat]");
  EXPECT_EQ(MainCaption(CaptionForm::Read, parts, kEnglish),
            "N27[N27PR:400 - 490 MHz][File Name:a.dat] Ver:V101");
  EXPECT_EQ(MainCaption(CaptionForm::File, parts, kChinese),
            "N27[N27PR:400 - 490 MHz][文件名:a.dat]");
  // A Windows path written into a setting still shows only the name.
  parts.fileName = "C:\\radios\\b.dat";
  EXPECT_EQ(MainCaption(CaptionForm::File, parts, kEnglish),
            "N27[N27PR:400 - 490 MHz][File Name:b.dat]");
}

TEST(Caption, StatusBarPanels) {
  EXPECT_EQ(StatusBandText("136 - 174 MHz"), "[N27 136 - 174 MHz]");
  EXPECT_EQ(StatusPortText(0, kEnglish), "COM0");
  EXPECT_EQ(StatusPortText(65, kChinese), "通信口65");
}

TEST(MainWindowTexts, MenuCaptionsBecomePlainLabels) {
  EXPECT_EQ(mainText::PlainCaption("&Channel Information"), "Channel Information");
  EXPECT_EQ(mainText::PlainCaption("Save &As..."), "Save As");
  EXPECT_EQ(mainText::PlainCaption("信道信息(&C)"), "信道信息");
  EXPECT_EQ(mainText::PlainCaption("打开(&O)..."), "打开");
  EXPECT_EQ(mainText::PlainCaption("R&&D"), "R&D");
  EXPECT_EQ(mainText::PlainCaption("Test FreQuence"), "Test FreQuence");
}

TEST(SetupSettings, ReadsTheFourKeysAndToleratesDamage) {
  std::string path = tempFile("mysetup.ini");
  {
    std::ofstream out(path);
    out << "[language]\r\nIsFirstRun=True\r\ncomPort= 7 \r\nHandshaking=x\r\nStopBit=1\r\n"
           "[Ports]\r\nCOM250=/dev/pts/3\r\n";
  }
  SetupSettings s = ReadSetupSettings(path);
  EXPECT_TRUE(s.isFirstRun);
  EXPECT_EQ(s.comPort, 7);
  EXPECT_EQ(s.handshaking, 0);  // not a number
  EXPECT_EQ(s.stopBit, 1);

  // The first run is marked done and the port written back; everything else stays.
  ASSERT_TRUE(WriteSetupSettings(path, 3, true));
  IniFile again(path);
  EXPECT_EQ(again.value("language", "IsFirstRun").value(), "0");
  EXPECT_EQ(again.value("language", "comPort").value(), "3");
  EXPECT_EQ(again.value("language", "StopBit").value(), "1");
  EXPECT_EQ(again.value("Ports", "COM250").value(), "/dev/pts/3");
  EXPECT_FALSE(ReadSetupSettings(path).isFirstRun);

  SetupSettings missing = ReadSetupSettings(tempFile("does-not-exist.ini"));
  EXPECT_FALSE(missing.isFirstRun);
  EXPECT_EQ(missing.comPort, 0);
}

TEST(SetupSettings, IntegersAreParsedWithoutTheLocale) {
  int v = 5;
  EXPECT_TRUE(ParseInteger(" -12 ", v));
  EXPECT_EQ(v, -12);
  EXPECT_TRUE(ParseInteger(std::string("4\0", 2), v));  // a buffer ending in NUL
  EXPECT_EQ(v, 4);
  EXPECT_FALSE(ParseInteger("3.5", v));
  EXPECT_FALSE(ParseInteger("", v));
  EXPECT_EQ(v, 4);
}

TEST(RadioInfoFlags, SixteenByteRecordRoundTripAndDamage) {
  std::string path = tempFile("Setting.ini");
  ASSERT_TRUE(WriteRadioInfoFlags(path, {1, 0, -1}));
  auto bytes = ReadWholeFile(path).value();
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\x01\x00\x00\x00\xFF\xFF", 6));
  EXPECT_EQ(bytes.substr(6), std::string(10, '\0'));
  EXPECT_EQ(ReadRadioInfoFlags(path), (std::array<int16_t, 3>{1, 0, -1}));

  // A short or missing file gives three zeros.
  ASSERT_TRUE(WriteFileAtomically(path, std::string("\x01\x00\x01", 3)));
  EXPECT_EQ(ReadRadioInfoFlags(path), (std::array<int16_t, 3>{0, 0, 0}));
  fs::remove(path);
  EXPECT_EQ(ReadRadioInfoFlags(path), (std::array<int16_t, 3>{0, 0, 0}));
}

TEST(WindowGeometry, TwipsAndPixels) {
  WindowGeometry g;
  EXPECT_EQ(TwipsToPixels(g.width), 966);
  EXPECT_EQ(TwipsToPixels(g.height), 700);
  EXPECT_EQ(PixelsToTwips(TwipsToPixels(1500)), 1500);
}

// A settings file that is a FIFO or over 1 MiB is not read, and the user is told: n27.ini is
// moved aside (Qt would wait on it or read it whole), mysetup.ini is left as it is.
TEST(SettingsFiles, AFifoOrAHugeFileIsNotReadAndTheUserIsTold) {
  const fs::path dir = fs::path(tempFile("check")) / std::to_string(::getpid());
  fs::remove_all(dir);
  fs::create_directories(dir);
  ASSERT_EQ(::mkfifo((dir / "n27.ini").c_str(), 0600), 0);
  { std::ofstream((dir / "mysetup.ini").string()) << "[language]\ncomPort=3\n"; }
  fs::resize_file(dir / "mysetup.ini", (1u << 20) + 1);
  const std::time_t now = 1765175772;  // 2025-12-08 06:36:12 UTC

  const SettingsFileCheck check = CheckSettingsFiles(dir.string(), now);
  ASSERT_EQ(check.notes.size(), 2u);
  EXPECT_TRUE(check.windowSettingsUsable);
  EXPECT_EQ(check.notes[0].find((dir / "n27.ini").string() + " is not a regular file and is not read. It was moved to " +
                                (dir / "n27.ini.refused-").string()),
            0u) << check.notes[0];
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "n27.ini")));
  EXPECT_EQ(check.notes[1], (dir / "mysetup.ini").string() + " is larger than 1 MiB (1048577 bytes) and is not read. "
                            "The saved serial port is not used; the file is left as it is.");
  EXPECT_EQ(fs::file_size(dir / "mysetup.ini"), (1u << 20) + 1);
  fs::remove_all(dir);
}

// A recent file that became a pipe or a folder is still there (opening it says what is
// wrong); only a name with nothing left behind it is gone.
TEST(RecentFiles, OnlyAFileWithNothingLeftIsGone) {
  const fs::path dir = fs::path(tempFile("recent")) / std::to_string(::getpid());
  fs::remove_all(dir);
  fs::create_directories(dir);
  ASSERT_EQ(::mkfifo((dir / "pipe.dat").c_str(), 0600), 0);
  fs::create_symlink("nowhere.dat", dir / "dangling.dat");
  EXPECT_FALSE(RecentFileGone((dir / "pipe.dat").string()));
  EXPECT_TRUE(RecentFileGone((dir / "dangling.dat").string()));
  EXPECT_TRUE(RecentFileGone((dir / "missing.dat").string()));
  fs::remove_all(dir);
}
}  // namespace
}  // namespace n27
