// n27-cli fleet against several n27-sim at once: radios written in parallel, one that stops
// answering, one of the other band, one plugged in twice, per-radio message lines.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "codeplug/memory_map.h"
#include "common/sim_cli.h"

namespace n27 {
namespace {

using namespace e2e;
namespace fs = std::filesystem;

class FleetCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_DATA_HOME", path("data"));
    ASSERT_EQ(cli({"new", "-o", path("fleet.dat")}).code, 0);
    ASSERT_EQ(cli({"edit", path("fleet.dat"), "1", "1", "446.00625"}).code, 0);
  }
  QString path(const QString &name) const { return dir_.filePath(name); }
  // A cable: a link the test points at a radio's device (or at nothing: unplugged).
  void plug(const QString &cable, const std::string &device) {
    const fs::path next = (path(cable) + ".next").toStdString();
    fs::remove(next);
    fs::create_symlink(device.empty() ? path("nothing").toStdString() : device, next);
    fs::rename(next, path(cable).toStdString());
  }
  // Reads the run's output until `pattern` has matched `n` lines.
  bool waitFor(QProcess &p, std::string &out, const std::string &pattern, int n, int seconds = 30) {
    const std::regex re(pattern);
    for (int i = 0; i < seconds * 10; ++i) {
      p.waitForReadyRead(100);
      out += p.readAllStandardOutput().toStdString();
      int found = 0;
      for (auto it = std::sregex_iterator(out.begin(), out.end(), re); it != std::sregex_iterator(); ++it) ++found;
      if (found >= n) return true;
    }
    return false;
  }
  std::string message(const QString &image) {
    std::string bytes;
    for (int i = 0; i < 300 && (bytes = readFile(image)).size() != 2561u; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (bytes.size() != 2561u) return "(not written)";
    const std::string line = bytes.substr(mem::kMessage1, 32);
    return line.substr(0, line.find('\xFF'));
  }

  QTemporaryDir dir_;
  QProcessEnvironment env_;
};

TEST_F(FleetCli, FourCablesAtOnceEachRadioOnceWithItsOwnLines) {
  std::ofstream(path("lines.csv").toStdString()) << "Serial,Line1,Line2\nF-2,BRAVO,TWO\nF-1,ALPHA,ONE\n,SPARE,\n";
  Sim f1({"--serial", "F-1", "--save", path("f1.img")});
  Sim f2({"--serial", "F-2", "--save", path("f2.img")});
  Sim f3({"--serial", "F-3", "--stop-after", "200", "--save", path("f3.img")});  // falls silent mid-write
  Sim vhf({"--serial", "F-9", "--band", "1", "--trace", path("vhf.trace")});
  plug("c1", f1.device());
  plug("c2", f2.device());
  plug("c3", f3.device());
  plug("c4", vhf.device());

  QProcess p;
  startCli(p, {"fleet", path("fleet.dat"), "--port", path("c1"), "--port", path("c2"), "--port", path("c3"),
               "--port", path("c4"), "--messages", path("lines.csv"), "--reply-timeout", "400"}, env_);
  ASSERT_TRUE(p.waitForStarted(5000));
  std::string out;
  ASSERT_TRUE(waitFor(p, out, R"([^\n]*/c\d [^\n]*\(\d+\.\d s\)\n)", 4)) << out;
  const std::string c1 = path("c1").toStdString(), c4 = path("c4").toStdString();
  EXPECT_TRUE(std::regex_search(out, std::regex(c1 + R"( F-1: written and verified \(\d+\.\d s\))"))) << out;
  EXPECT_NE(out.find(" F-2: written and verified ("), std::string::npos) << out;
  EXPECT_NE(out.find(" F-3: the write did not complete (the radio did not answer)"), std::string::npos) << out;
  EXPECT_NE(out.find(c4 + " F-9: radio 136–174 MHz, configuration 400–490 MHz: not written"), std::string::npos) << out;
  EXPECT_EQ(readFile(path("vhf.trace")).find("write "), std::string::npos);  // refused before writing

  // F-1 is unplugged and plugged in on the fourth cable: already done there.
  plug("c1", "");
  plug("c4", "");
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  plug("c4", f1.device());
  ASSERT_TRUE(waitFor(p, out, "F-1: already done", 1)) << out;
  p.write("q\n");
  CliResult r = finish(p);
  r.out = out + r.out;
  EXPECT_EQ(r.code, 1) << r.err;  // two radios failed
  EXPECT_NE(r.out.find("2 done, 2 failed, 4 cables waiting"), std::string::npos) << r.out;

  // Each radio holds its own lines; the configuration written is kept under its serial number.
  EXPECT_EQ(message(path("f1.img")), "ALPHA");
  EXPECT_EQ(message(path("f2.img")), "BRAVO");
  const QStringList runs = QDir(dir_.path()).entryList({"fleet-fleet-*"}, QDir::Dirs);
  ASSERT_EQ(runs.size(), 1);
  EXPECT_EQ(QDir(path(runs[0])).entryList({"*.dat"}), (QStringList{"F-1.dat", "F-2.dat"}));
  const QStringList logs = QDir(dir_.path()).entryList({"fleet-fleet-*.csv"});
  ASSERT_EQ(logs.size(), 1);
  const std::string csv = readFile(path(logs[0]));
  EXPECT_EQ(csv.substr(0, csv.find('\r')), "Number,Port,Serial,Firmware,Time,Steps,Result,Detail");
  EXPECT_NE(csv.find(",F-1,V101,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("Identify "), std::string::npos) << csv;
  EXPECT_NE(csv.find(",ALREADY DONE,already done"), std::string::npos) << csv;
}

TEST_F(FleetCli, EndsByItselfAfterTheCountAndRefusesOneCable) {
  EXPECT_EQ(cli({"fleet", path("fleet.dat"), "--port", "/dev/null"}, env_).code, 2);
  Sim a({"--serial", "A-1"}), b({"--serial", "B-1"});
  QProcess p;
  startCli(p, {"fleet", path("fleet.dat"), "--port", QString::fromStdString(a.device()), "--port",
               QString::fromStdString(b.device()), "--count", "2", "--no-backup", "--reply-timeout", "400"},
           env_);
  CliResult r = finish(p);
  EXPECT_EQ(r.code, 0) << r.err << r.out;
  EXPECT_NE(r.out.find("2 done, 0 failed, 2 cables waiting"), std::string::npos) << r.out;
  EXPECT_FALSE(QDir(path("data/n27/backups")).exists());
}

}  // namespace
}  // namespace n27
