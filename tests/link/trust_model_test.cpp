// Backups, verify after write, restore and the group-write log, against names, bytes and
// texts written out by hand.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "base/file_io.h"
#include "base/language.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "common/test_folder.h"
#include "link/backup.h"
#include "link/group_write.h"
#include "link/restore.h"
#include "link/transfer_session.h"
#include "link/verify.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

// 2026-12-08 06:36:12 UTC.
constexpr std::time_t kMorning = 1796711772;

// Every test here reads local time as UTC.
class UtcFixture : public TestFolderFixture {
 protected:
  void SetUp() override {
    TestFolderFixture::SetUp();
    const char *tz = std::getenv("TZ");
    oldTz_ = tz ? std::optional<std::string>(tz) : std::nullopt;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    SetLanguageIndex(kEnglish);
  }
  void TearDown() override {
    if (oldTz_) ::setenv("TZ", oldTz_->c_str(), 1); else ::unsetenv("TZ");
    ::tzset();
    SetLanguageIndex(kEnglish);
    TestFolderFixture::TearDown();
  }
  std::optional<std::string> oldTz_;
};

void putText(RadioImage &image, std::size_t at, const std::string &text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i)
    image.set(at + i, i < text.size() ? static_cast<uint8_t>(text[i]) : 0xFF);
}

// A workspace as a read leaves it: two channels, the model record, a serial number.
Workspace ReadRadio(const std::string &serial, int band = 0) {
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ws.image.fill(0, mem::kImageSize - 1, 0xFF);
  ws.working.channelCount = 2;
  for (int k = 0; k < 2; ++k) {
    ChannelRecord &c = ws.working.channels[k];
    c = ChannelRecord{};
    c.number = static_cast<uint16_t>(k == 0 ? 1 : 7);
    c.inUse = 1;
    c.rx.assign(band == 0 ? "44612500" : "14652000");
    c.tx.assign(band == 0 ? "44612500" : "14652000");
    c.decode.assign("FFFF");
    c.encode.assign("FFFF");
  }
  ws.bandText = BandText(band);
  SetBandLimits(ws);
  EncodeModelRecord(ws);
  EncodeImage(ws);
  putText(ws.image, mem::kSerialNumber, serial, mem::kSerialNumberLength);
  link::Identification radio;
  CompleteRead(ws, radio);
  return ws;
}

std::string fileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// --- verify -----------------------------------------------------------------------------

TEST(Verify, OnlyTheBlocksAWriteSendsAreCompared) {
  EXPECT_TRUE(IsWrittenAddress(0, false));
  EXPECT_TRUE(IsWrittenAddress(431, false));
  EXPECT_FALSE(IsWrittenAddress(432, false));
  EXPECT_FALSE(IsWrittenAddress(495, false));
  EXPECT_FALSE(IsWrittenAddress(496, false));
  EXPECT_TRUE(IsWrittenAddress(496, true));  // test mode: the tuning block goes too
  EXPECT_TRUE(IsWrittenAddress(511, true));
  EXPECT_FALSE(IsWrittenAddress(495, true));
  EXPECT_TRUE(IsWrittenAddress(512, false));
  EXPECT_TRUE(IsWrittenAddress(2559, false));
  EXPECT_FALSE(IsWrittenAddress(2560, true));
  EXPECT_FALSE(IsWrittenAddress(-1, true));

  RadioImage sent, back;
  sent.fill(0, 2560, 0x5A);
  back = sent;
  EXPECT_EQ(FirstWriteDifference(sent, back, false), std::nullopt);
  // The radio's own information, password, tuning and the last byte may differ freely.
  for (int a : {432, 447, 463, 480, 495, 496, 511, 2560}) back.set(a, 0x00);
  EXPECT_EQ(FirstWriteDifference(sent, back, false), std::nullopt);
  EXPECT_EQ(FirstWriteDifference(sent, back, true), std::nullopt);
  // A difference at the last byte a write sends, alone; then at the last one before 432.
  back.set(2559, 0x00);
  EXPECT_EQ(FirstWriteDifference(sent, back, false), 2559);
  back.set(431, 0x00);
  EXPECT_EQ(FirstWriteDifference(sent, back, false), 431);
  back.set(512, 0x00);
  EXPECT_EQ(FirstWriteDifference(sent, back, false), 431);
  back.set(291, 0x00);
  EXPECT_EQ(FirstWriteDifference(sent, back, false), 291);
  back.set(0, 0x00);
  EXPECT_EQ(FirstWriteDifference(sent, back, false), 0);
}

TEST(Verify, TestModeComparesTheTuningValuesFirst) {
  Workspace sent, back;
  sent.testMode = back.testMode = true;
  sent.tuning = back.tuning = {1, 2, 3, 300, 5, 6, 7, 8, 900, 10, 11, 12, 13, 14, 0, 0};
  back.image = sent.image;
  EXPECT_EQ(FirstWriteDifference(sent, back), std::nullopt);
  back.tuning[15] = 99;  // not in the block: never sent
  EXPECT_EQ(FirstWriteDifference(sent, back), std::nullopt);
  back.image.set(700, 0x12);
  EXPECT_EQ(FirstWriteDifference(sent, back), 700);
  back.tuning[1] = 7;  // entry 1 is block byte 1
  EXPECT_EQ(FirstWriteDifference(sent, back), 497);
  sent.testMode = false;  // outside test mode the tuning block is nobody's business
  EXPECT_EQ(FirstWriteDifference(sent, back), 700);
}

TEST(Verify, MessagesNameTheAddressInBothLanguages) {
  SetLanguageIndex(kEnglish);
  EXPECT_EQ(VerifyFailedMessage(0x123),
            "Verify failed: the radio holds different data at address 0x0123 (291) than was "
            "written to it. The write did not succeed; write the radio again.");
  EXPECT_EQ(VerifiedMessage(), "Verified: the radio holds the data written to it.");
  SetLanguageIndex(kChinese);
  EXPECT_NE(VerifyFailedMessage(2048).find("0x0800 (2048)"), std::string::npos);
  EXPECT_NE(VerifyFailedMessage(2048).find("校验失败"), std::string::npos);
  SetLanguageIndex(kEnglish);
}

// --- backups ----------------------------------------------------------------------------

using Backup = UtcFixture;

TEST_F(Backup, SerialNumberAndNames) {
  RadioImage image;
  image.fill(0, 2560, 0xFF);
  EXPECT_EQ(RadioSerialNumber(image), "");
  putText(image, 448, "  ABC123   ", 16);
  EXPECT_EQ(RadioSerialNumber(image), "ABC123");
  putText(image, 448, std::string("N27\0junk", 8), 16);
  EXPECT_EQ(RadioSerialNumber(image), "N27");
  putText(image, 448, "0123456789ABCDEF", 16);  // all 16 bytes, no end mark
  EXPECT_EQ(RadioSerialNumber(image), "0123456789ABCDEF");

  EXPECT_EQ(BackupBaseName("ABC123", BackupReason::Read, kMorning), "20261208-063612_SN-ABC123_read");
  EXPECT_EQ(BackupBaseName("", BackupReason::BeforeWrite, kMorning),
            "20261208-063612_no-serial_before-write");
  // Whatever the radio holds, the name stays one plain file name.
  EXPECT_EQ(BackupBaseName("../a b/*\xC3\xA9", BackupReason::Read, kMorning),
            std::string("20261208-063612_SN-") + "_._a_b____" + "_read");
  EXPECT_EQ(BackupBaseName(".hidden", BackupReason::Read, kMorning), "20261208-063612_SN-_hidden_read");

  // What a name tells (the serial may hold '_' and even a reason word), and names that are no backup's.
  const std::pair<const char *, int> backups[] = {{"20261208-063612_SN-ABC123_read.img", 1},
                                                   {"20261208-063612_SN-a_b_read_before-write-12.img", 12},
                                                   {"20261208-063612_no-serial_after-write-0.img", 0},
                                                   {"20261208-063612_SN-_hidden_read-9999.img", 9999}};
  for (const auto &[name, count] : backups) {
    const auto parsed = ParseBackupName(name);
    ASSERT_TRUE(parsed) << name;
    EXPECT_EQ(parsed->stamp, "20261208-063612");
    EXPECT_EQ(parsed->count, count) << name;
  }
  for (const char *name :
       {"20261208-063612_SN-A_read-10000.img", "20261208-063612_SN-A_read-.img", "20261208-063612_SN-A_read-1a.img",
        "20261208-063612_SN-A_reading.img", "20261208-063612_SN-_read.img", "20261208-063612_no-serial_read-+1.img",
        "2026120-80636120_SN-A_read.img", "20261208_063612_SN-A_read.img", "20261208-06361x_SN-A_read.img",
        "20261208-063612_x_read.img", "20261208-063612_SN-A_read.IMG", "20261208-063612_SN-A_read.img.bak",
        "20261208-063612_SN-A/B_read.img", "20261208-063612_read.img", "20261208-063612_.img", ""})
    EXPECT_FALSE(ParseBackupName(name)) << name;
}

TEST_F(Backup, KeepsTheImageAndTheDataFileUnderANewName) {
  const Workspace radio = ReadRadio("ABC123");
  const std::string folder = path("n27/backups");
  BackupResult first = KeepBackup(radio, BackupReason::Read, kMorning, folder);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(first.imagePath, folder + "/20261208-063612_SN-ABC123_read.img");
  EXPECT_EQ(first.dataPath, folder + "/20261208-063612_SN-ABC123_read.dat");
  struct stat st{};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(first.imagePath.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);  // the user's own

  const auto &bytes = radio.image.bytes();
  EXPECT_EQ(fileBytes(first.imagePath), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(fileBytes(first.imagePath).size(), 2561u);
  Workspace loaded;
  loaded.programFolder = N27_PROGRAM_DIR;
  ASSERT_EQ(LoadDataFile(loaded, first.dataPath), FileStatus::Ok);
  EXPECT_EQ(loaded.working.channelCount, 2);
  EXPECT_EQ(loaded.working.channels[1].number, 7);
  EXPECT_TRUE(fs::exists(folder + "/20261208-063612_SN-ABC123_read.NVD"));
  EXPECT_TRUE(radio.untitled);  // the caller's workspace is not the backup's

  // The same second again: the next free name.
  BackupResult second = KeepBackup(radio, BackupReason::Read, kMorning, folder);
  ASSERT_TRUE(second.ok);
  EXPECT_EQ(second.imagePath, folder + "/20261208-063612_SN-ABC123_read-2.img");
  // A stray data file of that name is not overwritten either.
  std::ofstream(folder + "/20261208-063612_SN-ABC123_read-3.dat") << "mine";
  BackupResult third = KeepBackup(radio, BackupReason::Read, kMorning, folder);
  EXPECT_EQ(third.imagePath, folder + "/20261208-063612_SN-ABC123_read-4.img");
  EXPECT_EQ(fileBytes(folder + "/20261208-063612_SN-ABC123_read-3.dat"), "mine");

  BackupResult before = KeepBackup(ReadRadio(""), BackupReason::BeforeWrite, kMorning + 60, folder);
  EXPECT_EQ(before.imagePath, folder + "/20261208-063712_no-serial_before-write.img");
  EXPECT_EQ(BackupKeptMessage(before), "The radio's memory was backed up to " + before.imagePath + ".");
  BackupResult odd;  // a folder name with marks of its own stays as it is
  odd.imagePath = "/m/%2%1.img";
  EXPECT_EQ(BackupKeptMessage(odd), "The radio's memory was backed up to /m/%2%1.img.");
  EXPECT_EQ(GroupLogNotSavedMessage("/m/%2.csv", "disk full"),
            "The group log could not be saved to /m/%2.csv: disk full");
}

TEST_F(Backup, AFolderThatCannotBeWrittenKeepsNothingAndSaysWhy) {
  const Workspace radio = ReadRadio("X1");
  std::ofstream(path("file")) << "x";
  BackupResult r = KeepBackup(radio, BackupReason::BeforeWrite, kMorning, path("file/backups"));
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("file/backups"), std::string::npos);
  EXPECT_NE(WriteRefusedWithoutBackupMessage(r).find("Nothing was written to the radio"),
            std::string::npos);

  if (::geteuid() != 0) {  // root writes anywhere
    fs::create_directories(path("ro"));
    fs::permissions(path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    r = KeepBackup(radio, BackupReason::Read, kMorning, path("ro"));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    fs::permissions(path("ro"), fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(path("ro")));
  }
  // The data file cannot be saved (disk full): the image claimed for it goes again.
  SetSaveFaultForTesting([](const std::string &) { return ENOSPC; });
  r = KeepBackup(radio, BackupReason::Read, kMorning, path("full"));
  SetSaveFaultForTesting({});
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(fs::is_empty(path("full")));
  EXPECT_NE(BackupFailedMessage(r).find("could not be backed up"), std::string::npos);
}

TEST_F(Backup, PruningKeepsTheNewestAndOnlyTouchesBackups) {
  const std::string folder = path("backups");
  fs::create_directories(folder);
  // 205 backups, one per minute, the oldest first; each with its data and side file.
  auto stem = [&](int i) {
    return folder + "/" + BackupBaseName("SN" + std::to_string(i % 3), i % 2 ? BackupReason::Read : BackupReason::BeforeWrite,
                                         kMorning + 60 * i);
  };
  for (int i = 0; i < 205; ++i)
    for (const char *ext : {".img", ".dat", ".NVD"}) std::ofstream(stem(i) + ext) << "x";
  // Two in the same second as the newest: "-2" is newer than the plain name.
  std::ofstream(stem(204) + "-2.img") << "x";
  // Files of others: never touched, whatever they look like.
  const std::string others[] = {"notes.txt", "20200101-000000_SN-OLD_read.img.bak",
                                "20200101-000000_SN-OLD_read.dat", "20200101-000000_read.img",
                                "20200101-000000_holiday_read.img", "recovered-20200101-000000.img"};
  for (const std::string &name : others) std::ofstream(folder + "/" + name) << "y";
  fs::create_directory(folder + "/20200101-000000_SN-DIR_read.img");

  PruneBackups(folder, 200);
  int images = 0;
  for (auto &e : fs::directory_iterator(folder))
    if (e.path().extension() == ".img" && e.is_regular_file()) ++images;
  EXPECT_EQ(images, 200 + 3);  // 200 backups + three foreign ".img" names
  for (int i = 0; i < 6; ++i)
    for (const char *ext : {".img", ".dat", ".NVD"}) EXPECT_FALSE(fs::exists(stem(i) + ext)) << i << ext;
  for (const char *ext : {".img", ".dat", ".NVD"}) EXPECT_TRUE(fs::exists(stem(6) + ext));
  EXPECT_TRUE(fs::exists(stem(204) + "-2.img"));
  for (const std::string &name : others) EXPECT_TRUE(fs::exists(folder + "/" + name)) << name;
  EXPECT_TRUE(fs::is_directory(folder + "/20200101-000000_SN-DIR_read.img"));

  PruneBackups(folder, 1);
  EXPECT_TRUE(fs::exists(stem(204) + "-2.img"));
  EXPECT_FALSE(fs::exists(stem(204) + ".img"));
  PruneBackups(path("no such folder"), 1);  // nothing to do, no error
}

// The folder keeps 200 backups, and always the one just made: with the clock set back, its
// name is older than every other, and an older other goes instead.
TEST_F(Backup, KeepBackupKeeps200AndTheNewOneWhateverTheClock) {
  const std::string folder = path("b");
  fs::create_directories(folder);
  auto old = [&](int i) {
    return folder + "/" + BackupBaseName("OLD", BackupReason::Read, kMorning - 86400 - i) + ".img";
  };
  for (int i = 0; i < 200; ++i) std::ofstream(old(i)) << "x";
  auto images = [&] {
    int n = 0;
    for (auto &e : fs::directory_iterator(folder)) n += e.path().extension() == ".img";
    return n;
  };
  BackupResult r = KeepBackup(ReadRadio("NEW"), BackupReason::Read, kMorning, folder);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(images(), 200);
  EXPECT_TRUE(fs::exists(r.imagePath));
  EXPECT_FALSE(fs::exists(old(199)));
  EXPECT_TRUE(fs::exists(old(198)));

  BackupResult behind = KeepBackup(ReadRadio("NEW"), BackupReason::BeforeWrite, kMorning - 365 * 86400, folder);
  ASSERT_TRUE(behind.ok);
  EXPECT_TRUE(fs::exists(behind.imagePath));
  EXPECT_TRUE(fs::exists(behind.dataPath));
  EXPECT_EQ(images(), 200);
  EXPECT_FALSE(fs::exists(old(198)));
}

TEST(BackupFolder, FollowsTheUsersDataFolder) {
  const char *old = std::getenv("XDG_DATA_HOME");
  const std::string keep = old ? old : "";
  ::setenv("XDG_DATA_HOME", "/home/u/data", 1);
  EXPECT_EQ(BackupFolder(), "/home/u/data/n27/backups");
  if (old) ::setenv("XDG_DATA_HOME", keep.c_str(), 1); else ::unsetenv("XDG_DATA_HOME");
}

// --- restore ----------------------------------------------------------------------------

using Restore = TestFolderFixture;

void writeBytes(const std::string &path, const RadioImage &image, std::size_t n) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char *>(image.bytes().data()), static_cast<std::streamsize>(n));
}

TEST_F(Restore, TakesTheImageAndItsModelAndBand) {
  const Workspace radio = ReadRadio("R1", 1);
  writeBytes(path("r.img"), radio.image, 2560);
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ASSERT_EQ(ws.bandText, kBand400);
  EXPECT_EQ(PrepareRestore(ws, path("r.img")), std::nullopt);
  EXPECT_EQ(ws.bandText, kBand136);
  EXPECT_EQ(ws.modelName, "N27PR");
  for (int a = 0; a < 2560; ++a) ASSERT_EQ(ws.image.at(a), radio.image.at(a)) << a;
  EXPECT_EQ(ws.image.at(2560), 0xFF);

  writeBytes(path("full.img"), radio.image, 2561);
  Workspace ws2;
  EXPECT_EQ(PrepareRestore(ws2, path("full.img")), std::nullopt);
  EXPECT_EQ(ws2.image, radio.image);
}

TEST_F(Restore, RefusesWhatIsNoImageOfThisRadio) {
  const Workspace radio = ReadRadio("R1");
  auto refused = [&](const std::string &file, const std::string &why) {
    Workspace ws;
    ws.image.fill(0, 2560, 0x33);
    const RadioImage before = ws.image;
    auto reason = PrepareRestore(ws, file);
    EXPECT_TRUE(reason.has_value()) << file;
    if (reason) {
      EXPECT_NE(reason->find(why), std::string::npos) << *reason;
    }
    EXPECT_EQ(ws.image, before);
    EXPECT_EQ(ws.bandText, kBand400);
  };
  writeBytes(path("short.img"), radio.image, 100);
  refused(path("short.img"), "this file holds 100");
  {
    std::ofstream huge(path("huge.img"), std::ios::binary);
    huge.seekp((1LL << 32));  // a sparse 4 GiB file: refused by its size, not read
    huge.put('x');
  }
  refused(path("huge.img"), "2560 or 2561");
  writeBytes(path("plus.img"), radio.image, 2561);
  std::ofstream(path("plus.img"), std::ios::app) << "z";
  refused(path("plus.img"), "2560 or 2561");
  ASSERT_EQ(::mkfifo(path("fifo.img").c_str(), 0600), 0);
  refused(path("fifo.img"), "cannot be read");  // and never waits for a writer
  refused(path("missing.img"), "cannot be read");
  refused(dir.string(), "cannot be read");

  RadioImage other = radio.image;
  putText(other, mem::kModelName, "X99ZZ", 5);
  writeBytes(path("other.img"), other, 2561);
  refused(path("other.img"), "X99ZZ");
  RadioImage band = radio.image;
  band.set(mem::kBandCode, 7);
  writeBytes(path("band.img"), band, 2561);
  refused(path("band.img"), "0x07");
  RadioImage erased = radio.image;
  erased.fill(0, 2112, 0xFF);
  putText(erased, mem::kModelName, "N27PR", 5);
  erased.set(mem::kBandCode, 0);
  writeBytes(path("erased.img"), erased, 2561);
  refused(path("erased.img"), "no channel");

  writeBytes(path("good.img"), radio.image, 2561);
  Workspace test;
  test.testMode = true;
  EXPECT_NE(PrepareRestore(test, path("good.img")).value_or("").find("test mode"), std::string::npos);
}

// --- group write ------------------------------------------------------------------------

using Group = UtcFixture;

TEST_F(Group, LogAsCsvWithQuotingAndNoFormulas) {
  std::vector<GroupWriteEntry> log = {
      {1, "ABC123", kMorning, true, "Written and verified."},
      {2, "", kMorning + 75, false, "Check Connection. Retry or Cancel?"},
      {3, "=HYPERLINK(\"x\")", kMorning + 150, false, "Verify failed, at 0x0200\nsecond line"},
  };
  EXPECT_EQ(GroupLogCsv(log),
            "Number,Serial,Time,Result,Detail\r\n"
            "1,ABC123,2026-12-08 06:36:12,OK,Written and verified.\r\n"
            "2,,2026-12-08 06:37:27,FAILED,Check Connection. Retry or Cancel?\r\n"
            "3,\"'=HYPERLINK(\"\"x\"\")\",2026-12-08 06:38:42,FAILED,\"Verify failed, at 0x0200\nsecond line\"\r\n");
  EXPECT_EQ(GroupLogCsv({}), "Number,Serial,Time,Result,Detail\r\n");
  const std::string text = GroupLogText(log);
  EXPECT_NE(text.find("1  2026-12-08 06:36:12  ABC123  OK  Written and verified.\n"), std::string::npos);
  EXPECT_NE(text.find("0x0200 second line\n"), std::string::npos);
  EXPECT_NE(text.find("Radios: 3, written: 1, failed: 2."), std::string::npos);
}

TEST_F(Group, LogPathAndProgressTexts) {
  EXPECT_EQ(GroupLogPath("/srv/fleet/plan.v2.dat", kMorning), "/srv/fleet/plan.v2-group-20261208-063612.csv");
  EXPECT_EQ(GroupLogPath("plan.dat", kMorning), "./plan-group-20261208-063612.csv");
  EXPECT_EQ(GroupLogPath("/plan", kMorning), "/plan-group-20261208-063612.csv");
  const char *old = std::getenv("XDG_DATA_HOME");
  const std::string keep = old ? old : "";
  ::setenv("XDG_DATA_HOME", dir.c_str(), 1);
  EXPECT_EQ(GroupLogPath("", kMorning), (dir / "n27/new-group-20261208-063612.csv").string());
  EXPECT_TRUE(fs::is_directory(dir / "n27"));
  if (old) ::setenv("XDG_DATA_HOME", keep.c_str(), 1); else ::unsetenv("XDG_DATA_HOME");

  EXPECT_EQ(GroupProgressText(3, 1), "3 radios written, 1 failed. Connect the next radio.");
  EXPECT_EQ(GroupProgressText(1, 0), "1 radio written, 0 failed. Connect the next radio.");
  SetLanguageIndex(kChinese);
  EXPECT_EQ(GroupProgressText(3, 1), "已写入 3 台对讲机，失败 1 台。请连接下一台对讲机。");
  SetLanguageIndex(kEnglish);
}

TEST_F(Group, LogGoesBesideTheDataFileElseToTheUsersDataFolder) {
  const char *old = std::getenv("XDG_DATA_HOME");
  const std::string keep = old ? old : "";
  ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  const std::vector<GroupWriteEntry> log = {{1, "ABC123", kMorning, true, "Written and verified."}};

  GroupLogSave beside = SaveGroupLog(log, path("plan.dat"), kMorning);
  EXPECT_TRUE(beside.ok);
  EXPECT_EQ(beside.path, path("plan-group-20261208-063612.csv"));
  EXPECT_TRUE(beside.problems.empty());
  EXPECT_EQ(ReadWholeFile(beside.path).value_or(""), GroupLogCsv(log));

  // A folder that is gone takes no file and is not made again: the log is still kept.
  GroupLogSave moved = SaveGroupLog(log, path("gone/plan.dat"), kMorning);
  EXPECT_TRUE(moved.ok);
  EXPECT_EQ(moved.path, (dir / "data/n27/new-group-20261208-063612.csv").string());
  ASSERT_EQ(moved.problems.size(), 1u);
  EXPECT_NE(moved.problems[0].find(path("gone/plan-group-20261208-063612.csv")), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "gone"));
  if (old) ::setenv("XDG_DATA_HOME", keep.c_str(), 1); else ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace n27
