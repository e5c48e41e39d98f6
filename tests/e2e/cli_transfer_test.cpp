// n27-cli against n27-sim over a real pseudo-terminal: reads, writes, passwords, faults on the
// line and a radio that goes away. The simulator answers unpaced and the reply timer is
// shortened, so the whole suite takes seconds.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "common/sim_cli.h"
#include "base/messages.h"
#include "base/bytes.h"
#include "codeplug/memory_map.h"
#include "link/transfer_engine.h"

namespace n27 {
namespace {

using namespace e2e;

std::vector<std::size_t> tracedWrites(const QString &tracePath) {
  std::vector<std::size_t> out;
  std::istringstream in(readFile(tracePath));
  std::string word;
  std::size_t address;
  while (in >> word)
    if (word == "write" && in >> address) out.push_back(address);
  return out;
}

class CliTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    // A radio with three channels and recognisable bytes in the areas nobody edits.
    std::string image(2561, '\xFF');
    auto *m = reinterpret_cast<uint8_t *>(image.data());
    for (std::size_t a = 16; a < 272; ++a) m[a] = static_cast<uint8_t>(a);
    const uint32_t rx[3] = {435000000, 446006250, 462562500};
    for (int ch = 0; ch < 3; ++ch) {
      uint8_t *r = m + mem::ChannelRecordAddress(ch + 1);
      put32be(r, rx[ch]);
      put32be(r + 4, rx[ch] + 5000000);
      r[8] = r[9] = r[10] = r[11] = 0xFF;
      r[12] = 0x48;  // wide, high power
      r[13] = 0x00;
      put16le(r + 14, 1300);
    }
    m[mem::kValidBitmap] = 0x07;
    m[mem::kScanAddBitmap] = 0x05;
    imagePath_ = dir_.filePath("radio.img");
    std::ofstream(imagePath_.toStdString(), std::ios::binary) << image;
    image_ = image;
  }

  QString path(const char *name) const { return dir_.filePath(name); }
  QStringList radio(QStringList extra = {}) const {
    return QStringList{"--image", imagePath_} + extra;
  }

  QTemporaryDir dir_;
  QString imagePath_;
  std::string image_;
};

TEST_F(CliTransfer, ReadSavesTheDataFileAndTheRawImage) {
  Sim sim(radio());
  ASSERT_FALSE(sim.device().empty());
  auto r = cli(QStringList{"read", "--port", QString::fromStdString(sim.device()), "-o",
                           path("read.dat"), "--image-out", path("read.img")} + kFast);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find(msg::kReadDone.at(1)), std::string::npos);
  EXPECT_NE(r.out.find("3 channels"), std::string::npos) << r.out;
  EXPECT_EQ(readFile(path("read.dat")).size(), 9759u);
  std::string got = readFile(path("read.img"));
  ASSERT_EQ(got.size(), 2561u);
  for (std::size_t a = 0; a < 2560; ++a) {
    if (a >= 496 && a < 512) {
      EXPECT_EQ(static_cast<uint8_t>(got[a]), 0xFF) << a;  // the tuning block stays out
    } else if (a < 416 || a >= 432) {
      ASSERT_EQ(got[a], image_[a]) << a;
    }
  }
}

TEST_F(CliTransfer, WriteStoresTheChannelsAndNeverTouchesTheRadioOwnBlocks) {
  {
    Sim source(radio());
    ASSERT_EQ(cli(QStringList{"read", "--port", QString::fromStdString(source.device()), "-o",
                              path("read.dat")} + kFast).code, 0);
  }
  std::string blank(2561, '\0');
  std::ofstream(path("blank.img").toStdString(), std::ios::binary) << blank;
  Sim target({"--image", path("blank.img"), "--save", path("saved.img"), "--trace", path("trace")});
  auto r = cli(QStringList{"write", "--port", QString::fromStdString(target.device()),
                           path("read.dat")} + kFast);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find(msg::kWriteDone.at(1)), std::string::npos);

  auto writes = tracedWrites(path("trace"));
  ASSERT_EQ(writes.size(), 155u);
  for (std::size_t a : writes) EXPECT_TRUE(a < 432 || (a >= 512 && a < 2560)) << a;
  // The simulated radio saves its memory (flushed to the disk) just after its last reply, so
  // the file may come a moment after the command has ended.
  std::string saved;
  for (int i = 0; i < 500 && (saved = readFile(path("saved.img"))).size() != 2561u; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(saved.size(), 2561u);
  for (std::size_t a = 432; a < 512; ++a) EXPECT_EQ(saved[a], '\0') << a;  // the radio's own blocks
  for (std::size_t a = 512; a < 512 + 48; ++a) EXPECT_EQ(saved[a], image_[a]) << a;
  EXPECT_EQ(saved[272], image_[272]);
  EXPECT_EQ(saved[288], image_[288]);
}

TEST_F(CliTransfer, PasswordRefusedAndAccepted) {
  Sim sim(radio({"--password", "k9Z"}));
  const QString port = QString::fromStdString(sim.device());
  auto refused = cli(QStringList{"read", "--port", port, "-o", path("a.dat")} + kFast);
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find(msg::kPasswordFailure), std::string::npos) << refused.err;
  EXPECT_FALSE(QFile::exists(path("a.dat")));
  auto wrongCase = cli(QStringList{"read", "--port", port, "-o", path("a.dat"), "--password", "K9Z"} + kFast);
  EXPECT_EQ(wrongCase.code, 1);
  auto accepted = cli(QStringList{"read", "--port", port, "-o", path("a.dat"), "--password", "k9Z"} + kFast);
  EXPECT_EQ(accepted.code, 0) << accepted.err;
  EXPECT_TRUE(QFile::exists(path("a.dat")));
}

TEST_F(CliTransfer, DroppedAndGarbledRepliesAreRecoveredByRetry) {
  {
    Sim sim(radio({"--drop-reply", "40"}));
    const QString port = QString::fromStdString(sim.device());
    auto r = cli(QStringList{"read", "--port", port, "-o", path("a.dat"), "--retries", "1"} + kFast);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(count(r.err, msg::kRetry.at(1)), 1);
  }
  {
    Sim sim(radio({"--garble-reply", "60", "--trace", path("trace")}));
    const QString port = QString::fromStdString(sim.device());
    auto r = cli(QStringList{"write", "--port", port, path("a.dat"), "--retries", "2",
                             "--no-backup"} + kFast);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(count(r.err, msg::kRetry.at(1)), 1);
    // Identified, then the write started again from the top.
    EXPECT_EQ(count(readFile(path("trace")), "program"), 3);
  }
  {  // Without retries the same fault ends the transfer as failed.
    Sim sim(radio({"--drop-reply", "40"}));
    auto r = cli(QStringList{"read", "--port", QString::fromStdString(sim.device()), "-o",
                             path("b.dat")} + kFast);
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(path("b.dat")));
  }
}

TEST_F(CliTransfer, RadioThatStopsAnsweringEndsAsFailed) {
  Sim sim(radio({"--stop-after", "30"}));
  auto r = cli(QStringList{"read", "--port", QString::fromStdString(sim.device()), "-o",
                           path("a.dat"), "--retries", "1"} + kFast);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(count(r.err, msg::kRetry.at(1)), 2);
  EXPECT_EQ(r.err.find(msg::kReadDone.at(1)), std::string::npos);
  EXPECT_FALSE(QFile::exists(path("a.dat")));
}

TEST_F(CliTransfer, MissingEndAcknowledgementStillCompletes) {
  Sim sim(radio({"--no-end-ack"}));
  auto r = cli(QStringList{"read", "--port", QString::fromStdString(sim.device()), "-o",
                           path("a.dat")} + kFast);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.find(msg::kRetry.at(1)), std::string::npos);
}

TEST_F(CliTransfer, IdentificationRefusals) {
  {
    Sim sim(radio({"--firmware", "V777"}));
    auto r = cli(QStringList{"read", "--port", QString::fromStdString(sim.device()), "-o",
                             path("a.dat")} + kFast);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("V7.77"), std::string::npos) << r.err;
  }
  {
    Sim sim(radio({"--killed"}));
    const QString port = QString::fromStdString(sim.device());
    ASSERT_EQ(cli(QStringList{"read", "--port", port, "-o", path("a.dat")} + kFast).code, 0);
    auto r = cli(QStringList{"write", "--port", port, path("a.dat")} + kFast);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(msg::kKilled.at(1)), std::string::npos) << r.err;
  }
}

TEST_F(CliTransfer, InfoPrintsTheRadioInformation) {
  Sim sim({});
  auto r = cli({"info", "--port", QString::fromStdString(sim.device())});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Serial Number:    N27SIM0000000001"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Frequency:        400 - 490 MHz"), std::string::npos);
  EXPECT_NE(r.out.find("Radio Type:       N27\n"), std::string::npos) << r.out;  // as the window shows it
  // The firmware version the radio reported while it was read.
  Sim other({"--firmware", "V123"});
  r = cli({"info", "--port", QString::fromStdString(other.device())});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Version:          V123"), std::string::npos) << r.out;
}

TEST_F(CliTransfer, PortsByComNumberAndPortsThatCannotBeOpened) {
  Sim sim(radio());
  // A program folder of its own: the [Ports] entry names the simulated radio, and the
  // version table lies in the folder above.
  QDir(dir_.path()).mkpath("prog/language");
  IniFile::write(path("prog/language/mysetup.ini").toStdString(), "Ports", "COM250", sim.device());
  QFile::copy(QString(N27_BINARY_DIR) + "/Version.ini", path("Version.ini"));
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("N27_PROGRAM_DIR", path("prog"));
  auto ok = cli(QStringList{"read", "--port", "COM250", "-o", path("a.dat")} + kFast, env);
  EXPECT_EQ(ok.code, 0) << ok.err;

  auto unknown = cli(QStringList{"read", "--port", "COM249", "-o", path("a.dat")} + kFast, env);
  EXPECT_EQ(unknown.code, 1);
  EXPECT_NE(unknown.err.find(msg::kPortError.at(1)), std::string::npos) << unknown.err;

  auto missing = cli(QStringList{"read", "--port", "/dev/n27-no-such-port", "-o", path("a.dat")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find(msg::kPortError.at(1)), std::string::npos);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
}

TEST_F(CliTransfer, RadioThatVanishesMidTransferEndsAsFailedWithAMessage) {
  // Slow (about 5 s for a read at 9600 baud), so the radio can go away in the middle.
  auto sim = std::make_unique<Sim>(radio({"--baud", "9600", "--trace", path("trace")}));
  QProcess p;
  startCli(p, {"read", "--port", QString::fromStdString(sim->device()), "-o", path("a.dat")},
           QProcessEnvironment::systemEnvironment());
  ASSERT_TRUE(p.waitForStarted(5000));
  for (int i = 0; i < 200 && readFile(path("trace")).find("read 16") == std::string::npos; ++i)
    QThread::msleep(50);
  ASSERT_NE(readFile(path("trace")).find("read 16"), std::string::npos);
  sim->kill();
  auto r = finish(p);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(count(r.err, LineLostMessage()), 1) << r.err;
  EXPECT_EQ(r.err.find(msg::kReadDone.at(1)), std::string::npos);
  EXPECT_FALSE(QFile::exists(path("a.dat")));
}

TEST_F(CliTransfer, ATargetThatCannotBeWrittenIsRefusedBeforeTheRadioIsRead) {
  Sim sim(radio({"--trace", path("trace")}));
  const QString port = QString::fromStdString(sim.device());
  QDir(dir_.path()).mkpath("folder.dat");
  std::ofstream(path("plain").toStdString()) << "x";
  struct Case {
    QStringList args;
    std::string reason;
  } cases[] = {
      {{"-o", path("missing/x.dat")}, "does not exist"},
      {{"-o", path("folder.dat")}, "is a folder"},
      {{"-o", path("plain/x.dat")}, "is not a folder"},
      {{"-o", path("a.dat"), "--image-out", path("missing/a.img")}, "does not exist"},
  };
  for (const Case &c : cases) {
    auto r = cli(QStringList{"read", "--port", port} + c.args + kFast);
    EXPECT_EQ(r.code, 1) << c.args.join(' ').toStdString();
    EXPECT_NE(r.err.find(c.reason), std::string::npos) << r.err;
  }
  // The radio was never asked for anything.
  EXPECT_EQ(readFile(path("trace")).find("program"), std::string::npos);
}

TEST_F(CliTransfer, WhenTheSaveAfterAReadFailsTheRadioImageIsKept) {
  // Slow enough (about 5 s at 9600 baud) for the folder to go away during the read.
  Sim sim(radio({"--baud", "9600", "--trace", path("trace")}));
  QDir(dir_.path()).mkpath("out");
  QDir(dir_.path()).mkpath("data");
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_DATA_HOME", path("data"));
  QProcess p;
  startCli(p, {"read", "--port", QString::fromStdString(sim.device()), "-o", path("out/a.dat")}, env);
  ASSERT_TRUE(p.waitForStarted(5000));
  for (int i = 0; i < 200 && readFile(path("trace")).find("read 16") == std::string::npos; ++i)
    QThread::msleep(50);
  ASSERT_TRUE(QDir(path("out")).removeRecursively());
  auto r = finish(p);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err.find(msg::kReadDone.at(1)), std::string::npos);
  QStringList kept = QDir(path("data/n27")).entryList({"recovered-*.img"});
  ASSERT_EQ(kept.size(), 1) << r.err;
  const QString image = path("data/n27/") + kept[0];
  EXPECT_NE(r.err.find(image.toStdString()), std::string::npos) << r.err;
  std::string bytes = readFile(image);
  ASSERT_EQ(bytes.size(), 2561u);
  for (std::size_t a = 512; a < 2560; ++a) ASSERT_EQ(bytes[a], image_[a]) << a;
  // And it turns into the data file the read should have written.
  auto decoded = cli({"decode", image, "-o", path("again.dat")});
  EXPECT_EQ(decoded.code, 0) << decoded.err;
}

TEST_F(CliTransfer, TheSimulatorSavesAWriteBeforeItSaysTheWriteIsDone) {
  {
    Sim source(radio());
    ASSERT_EQ(cli(QStringList{"read", "--port", QString::fromStdString(source.device()), "-o",
                              path("read.dat")} + kFast).code, 0);
  }
  for (int round = 0; round < 3; ++round) {
    QFile::remove(path("saved.img"));
    Sim target(radio({"--save", path("saved.img"), "--trace", path("trace")}));
    auto r = cli(QStringList{"write", "--port", QString::fromStdString(target.device()),
                             path("read.dat"), "--no-backup"} + kFast);
    ASSERT_EQ(r.code, 0) << r.err;
    // The file is there the moment the programmer reports the write completed.
    EXPECT_EQ(readFile(path("saved.img")).size(), 2561u);
    const std::string trace = readFile(path("trace"));
    // (The write's end is the last: the radio was identified before it.)
    const auto saved = trace.find("saved"), answered = trace.rfind("end answered");
    ASSERT_NE(saved, std::string::npos);
    ASSERT_NE(answered, std::string::npos);
    EXPECT_LT(saved, answered);
    EXPECT_NE(r.err.find("Blocks: 155, asked for again: 0, restarts: 0."), std::string::npos) << r.err;
  }
}

TEST_F(CliTransfer, ADamagedBlockIsAskedForAgainWithoutRestarting) {
  Sim sim(radio({"--bad-checksum", "40", "--trace", path("trace")}));
  auto r = cli(QStringList{"read", "--port", QString::fromStdString(sim.device()), "-o",
                           path("a.dat"), "--image-out", path("a.img")} + kFast);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.find(msg::kRetry.at(1)), std::string::npos);
  EXPECT_NE(r.err.find("asked for again: 1, restarts: 0."), std::string::npos) << r.err;
  EXPECT_EQ(count(readFile(path("trace")), "program"), 1);
  std::string got = readFile(path("a.img"));
  ASSERT_EQ(got.size(), 2561u);
  for (std::size_t a = 512; a < 2560; ++a) ASSERT_EQ(got[a], image_[a]) << a;
}

}  // namespace
}  // namespace n27
