// Backups, verify, restore and the group write of n27-cli against n27-sim over pseudo-terminals.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>

#include "base/bytes.h"
#include "base/messages.h"
#include "common/sim_cli.h"
#include "codeplug/memory_map.h"

namespace n27 {
namespace {

using namespace e2e;
namespace fs = std::filesystem;

// A radio image with channels at the given RX frequencies (Hz), 5 MHz split, band `band`.
std::string RadioImageWith(std::initializer_list<uint32_t> rx, int band = 0) {
  std::string image(2561, '\xFF');
  auto *m = reinterpret_cast<uint8_t *>(image.data());
  int ch = 0;
  for (uint32_t f : rx) {
    uint8_t *r = m + mem::ChannelRecordAddress(ch + 1);
    put32be(r, f);
    put32be(r + 4, f + 5000000);
    r[8] = r[9] = r[10] = r[11] = 0xFF;
    r[12] = 0x48;
    r[13] = 0x00;
    put16le(r + 14, 1300);
    ++ch;
  }
  for (std::size_t i = 0; i < mem::kBitmapLength; ++i) m[mem::kValidBitmap + i] = 0;
  for (int k = 0; k < ch; ++k) m[mem::kValidBitmap + k / 8] |= static_cast<uint8_t>(1u << (k % 8));
  const char model[] = "N27PR";
  for (std::size_t i = 0; i < 5; ++i) m[mem::kModelName + i] = static_cast<uint8_t>(model[i]);
  m[mem::kBandCode] = static_cast<uint8_t>(band);
  return image;
}

class TrustCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_DATA_HOME", path("data"));
    old_ = RadioImageWith({435000000, 446006250, 462562500});
    write("old.img", old_);
    // The configuration to write: other channels, made into a data file as a read would.
    fresh_ = RadioImageWith({440000000, 450012500});
    write("fresh.img", fresh_);
    ASSERT_EQ(cli({"decode", path("fresh.img"), "-o", path("fresh.dat")}).code, 0);
  }

  QString path(const QString &name) const { return dir_.filePath(name); }
  void write(const QString &name, const std::string &bytes) const {
    std::ofstream(path(name).toStdString(), std::ios::binary) << bytes;
  }
  CliResult run(QStringList args) { return cli(args + kFast, env_); }
  QStringList backups(const QString &pattern = "*") const {
    return QDir(path("data/n27/backups")).entryList({pattern}, QDir::Files, QDir::Name);
  }
  // The simulated radio saves its memory just after its last reply.
  std::string saved(const QString &name) const { return savedImage(path(name)); }

  QTemporaryDir dir_;
  QProcessEnvironment env_;
  std::string old_, fresh_;
};

TEST_F(TrustCli, EveryReadKeepsABackupUnlessToldNotTo) {
  Sim sim({"--image", path("old.img"), "--serial", "AB-12/x 9"});
  auto r = run({"read", "--port", sim.port(), "-o", path("a.dat"), "--image-out", path("a.img")});
  ASSERT_EQ(r.code, 0) << r.err;
  const QStringList kept = backups();
  ASSERT_EQ(kept.size(), 3) << kept.join(' ').toStdString();
  const std::string img = backups("*.img").value(0).toStdString();
  EXPECT_TRUE(std::regex_match(img, std::regex(R"(\d{8}-\d{6}_SN-AB-12_x_9_read\.img)"))) << img;
  const QString stem = path("data/n27/backups/") + QString::fromStdString(img).chopped(4);
  EXPECT_NE(r.err.find(stem.toStdString() + ".img"), std::string::npos) << r.err;
  // The backup is the read: the same image, and a data file equal to the one saved.
  EXPECT_EQ(readFile(stem + ".img"), readFile(path("a.img")));
  for (std::size_t a = 512; a < 2560; ++a) ASSERT_EQ(readFile(stem + ".img")[a], old_[a]) << a;
  EXPECT_EQ(readFile(stem + ".dat"), readFile(path("a.dat")));
  EXPECT_EQ(readFile(stem + ".NVD").size(), 6u);
  EXPECT_EQ(fs::status(path("data/n27/backups").toStdString()).permissions() & fs::perms::all,
            fs::perms::owner_all);

  ASSERT_EQ(run({"read", "--port", sim.port(), "-o", path("b.dat"), "--no-backup"}).code, 0);
  EXPECT_EQ(backups().size(), 3);
}

TEST_F(TrustCli, AWriteFirstBacksUpWhatTheRadioHeld) {
  Sim sim({"--image", path("old.img"), "--save", path("saved.img"), "--trace", path("trace")});
  auto r = run({"write", "--port", sim.port(), path("fresh.dat")});
  ASSERT_EQ(r.code, 0) << r.err;
  const QStringList images = backups("*_before-write.img");
  ASSERT_EQ(images.size(), 1) << r.err;
  EXPECT_EQ(backups().size(), 3);
  const std::string before = readFile(path("data/n27/backups/") + images[0]);
  ASSERT_EQ(before.size(), 2561u);
  for (std::size_t a = 512; a < 2560; ++a) ASSERT_EQ(before[a], old_[a]) << a;  // the OLD memory
  const std::string now = saved("saved.img");
  ASSERT_EQ(now.size(), 2561u);
  // (2113.. carry what the write's image held before: nothing that a data file holds.)
  for (std::size_t a = 512; a <= mem::kFillEnd; ++a) ASSERT_EQ(now[a], fresh_[a]) << a;
  // Read first, then written: the trace shows the read of the last block before any write.
  const std::string trace = readFile(path("trace"));
  EXPECT_LT(trace.find("read 2544"), trace.find("write 0"));

  ASSERT_EQ(run({"write", "--port", sim.port(), path("fresh.dat"), "--no-backup"}).code, 0);
  EXPECT_EQ(backups().size(), 3);
}

TEST_F(TrustCli, NoBackupNoWrite) {
  // The backup folder cannot be made (a file stands where it goes): nothing is written.
  QDir(dir_.path()).mkpath("data/n27");
  write("data/n27/backups", "in the way");
  Sim sim({"--image", path("old.img"), "--trace", path("trace")});
  auto r = run({"write", "--port", sim.port(), path("fresh.dat")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("could not be backed up"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Nothing was written to the radio"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(path("trace")).find("write "), std::string::npos);
  // Nor when the radio cannot be read for it.
  Sim locked({"--image", path("old.img"), "--password", "zz", "--trace", path("trace2")});
  r = run({"write", "--port", locked.port(), path("fresh.dat")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(msg::kPasswordFailure), std::string::npos) << r.err;
  EXPECT_EQ(readFile(path("trace2")).find("write "), std::string::npos);
}

TEST_F(TrustCli, VerifyPassesOnACleanLineAndNamesTheAddressOfAStuckByte) {
  {
    Sim sim({"--image", path("old.img")});
    auto r = run({"write", "--port", sim.port(), path("fresh.dat"), "--verify", "--no-backup"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("Verified"), std::string::npos) << r.err;
  }
  {
    // Channel 2's RX frequency starts at 528: 446.00625 MHz there, 450.0125 MHz written.
    Sim sim({"--image", path("old.img"), "--stuck-byte", "529"});
    auto r = run({"write", "--port", sim.port(), path("fresh.dat"), "--verify", "--no-backup"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Write Data Completed."), std::string::npos);
    EXPECT_NE(r.err.find("Verify failed"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("0x0211 (529)"), std::string::npos) << r.err;
  }
  {
    // A stuck byte the write leaves as it is anyway is no failure.
    Sim sim({"--image", path("old.img"), "--stuck-byte", "0x01B0"});
    auto r = run({"write", "--port", sim.port(), path("fresh.dat"), "--verify", "--no-backup"});
    EXPECT_EQ(r.code, 0) << r.err;
  }
}

TEST_F(TrustCli, RestoreWritesTheImageAsItIs) {
  Sim sim({"--image", path("old.img"), "--save", path("saved.img"), "--trace", path("trace")});
  auto r = run({"restore", "--port", sim.port(), path("fresh.img"), "--verify"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(backups("*_before-write.img").size(), 1);
  const std::string now = saved("saved.img");
  ASSERT_EQ(now.size(), 2561u);
  for (std::size_t a = 0; a < 2560; ++a) {
    if (a >= 416 && a < 512) continue;  // identification copy and the radio's own blocks
    ASSERT_EQ(now[a], fresh_[a]) << a;
  }
  for (std::size_t a = 432; a < 512; ++a) ASSERT_EQ(now[a], old_[a]) << a;  // never written
  EXPECT_EQ(count(readFile(path("trace")), "write "), 155);
}

TEST_F(TrustCli, RestoreRefusesAnImageOfAnotherBandOrModel) {
  Sim sim({"--image", path("old.img"), "--trace", path("trace")});
  write("vhf.img", RadioImageWith({146520000}, 1));
  auto r = run({"restore", "--port", sim.port(), path("vhf.img"), "--no-backup"});
  EXPECT_EQ(r.code, 1);
  // Refused when the radio is identified, before anything is written.
  EXPECT_NE(r.err.find("radio 400–490 MHz, configuration 136–174 MHz: not written"), std::string::npos) << r.err;
  EXPECT_EQ(readFile(path("trace")).find("write "), std::string::npos);

  std::string other = fresh_;
  other.replace(mem::kModelName, 5, "X99ZZ");
  write("other.img", other);
  r = run({"restore", "--port", sim.port(), path("other.img")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("not an image of this radio model"), std::string::npos) << r.err;
  write("short.img", fresh_.substr(0, 1000));
  r = run({"restore", "--port", sim.port(), path("short.img")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("holds 1000"), std::string::npos) << r.err;
  // Refused before the radio was asked for anything.
  EXPECT_EQ(count(readFile(path("trace")), "program"), 1);
}

TEST_F(TrustCli, GroupWriteOfThreeRadiosInARow) {
  Sim first({"--image", path("old.img"), "--serial", "FLEET-001", "--save", path("s1.img")});
  Sim second({"--image", path("old.img"), "--serial", "FLEET-002", "--password", "zz"});
  Sim third({"--image", path("old.img"), "--serial", "FLEET-003", "--save", path("s3.img")});
  const fs::path port = path("radio").toStdString();
  auto pointTo = [&](const Sim &sim) {
    const fs::path next = path("radio.next").toStdString();
    fs::remove(next);
    fs::create_symlink(sim.device(), next);
    fs::rename(next, port);  // the cable moves to the next radio at once
  };
  pointTo(first);

  QProcess p;
  startCli(p, QStringList{"write", "--group", "--port", path("radio"), path("fresh.dat")} + kFast, env_);
  ASSERT_TRUE(p.waitForStarted(5000));
  std::string out;
  auto waitForPrompts = [&](int n) {
    for (int i = 0; i < 300 && count(out, "Press Enter for the next radio") < n; ++i) {
      p.waitForReadyRead(100);
      out += p.readAllStandardOutput().toStdString();
    }
    return count(out, "Press Enter for the next radio") >= n;
  };
  ASSERT_TRUE(waitForPrompts(1)) << out;
  EXPECT_NE(out.find("1 radio written, 0 failed."), std::string::npos) << out;
  pointTo(second);
  p.write("\n");
  ASSERT_TRUE(waitForPrompts(2)) << out;
  EXPECT_NE(out.find("1 radio written, 1 failed."), std::string::npos) << out;
  pointTo(third);
  p.write("\n");
  ASSERT_TRUE(waitForPrompts(3)) << out;
  p.write("q\n");
  CliResult r = finish(p);
  r.out = out + r.out;
  EXPECT_EQ(r.code, 1) << r.err;  // one radio failed
  EXPECT_NE(r.out.find("2 radios written, 1 failed."), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Radios: 3, written: 2, failed: 1."), std::string::npos) << r.out;

  // Both good radios hold the configuration, the locked one is untouched.
  for (const char *file : {"s1.img", "s3.img"}) {
    const std::string bytes = saved(file);
    ASSERT_EQ(bytes.size(), 2561u) << file;
    for (std::size_t a = 512; a <= mem::kFillEnd; ++a) ASSERT_EQ(bytes[a], fresh_[a]) << file << a;
  }
  EXPECT_EQ(backups("*_before-write.img").size(), 2);

  // The log beside the data file.
  const QStringList logs = QDir(dir_.path()).entryList({"fresh-group-*.csv"});
  ASSERT_EQ(logs.size(), 1) << r.err;
  EXPECT_NE(r.err.find(path(logs[0]).toStdString()), std::string::npos) << r.err;
  const std::string csv = readFile(path(logs[0]));
  const std::regex expected(
      "Number,Serial,Time,Result,Detail\r\n"
      "1,FLEET-001,\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,OK,Written and verified\\.\r\n"
      "2,FLEET-002,\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,FAILED,[^\r\n]*PassWord Failure![^\r\n]*\r\n"
      "3,FLEET-003,\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,OK,Written and verified\\.\r\n");
  EXPECT_TRUE(std::regex_match(csv, expected)) << csv;
}

TEST_F(TrustCli, GroupWriteEndsAtTheEndOfInput) {
  Sim sim({"--image", path("old.img")});
  QProcess p;
  startCli(p, QStringList{"write", "--group", "--no-backup", "--port", sim.port(), path("fresh.dat")} + kFast, env_);
  ASSERT_TRUE(p.waitForStarted(5000));
  p.closeWriteChannel();
  CliResult r = finish(p);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Radios: 1, written: 1, failed: 0."), std::string::npos) << r.out;
  EXPECT_TRUE(backups().isEmpty());
  EXPECT_EQ(QDir(dir_.path()).entryList({"fresh-group-*.csv"}).size(), 1);
}

}  // namespace
}  // namespace n27
