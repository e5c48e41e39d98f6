// The factory test mode end to end against n27-sim on a pseudo-terminal: the tuning block is
// read first and written first, the values reach the test data window, a data file keeps
// them in its ".ted", and a write never sends values nobody read, loaded or typed unasked.
// Both the desktop program (through its menus) and n27-cli (with a marker file in a program
// folder of the test's own) are driven.

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <QtTest/QTest>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "codeplug/memory_map.h"
#include "link/test_data.h"
#include "link/tuning_block.h"
#include "link/ui/FrmTestData.h"
#include "link/ui/radio_commands.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

using namespace std::chrono_literals;

// The radio's tuning block, as n27-sim --tuning takes it: entry 3 is 81 23 (high byte with
// bit 7: the low byte alone, 23), entry 8 is 02 10.
const char kRadioTuningHex[] = "1122338123040506070210090A0B0C0D";
const TuningTable kRadioTuning{0x11, 0x22, 0x33, 0x23, 4, 5, 6, 7, 0x210, 9, 10, 11, 12, 13, 0, 0};
const char kMarker[] = "N27-FACTORY-TUNE:7Q2K-WX93-HB6M!";

std::string readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The 16 bytes at 496 of a memory file the simulator saved, once it holds them (the simulator
// saves right after it has acknowledged the end of the write).
std::string savedTuningBlock(const std::string &memoryFile, const std::string &expected) {
  std::string block;
  for (int i = 0; i < 100; ++i) {
    std::string bytes = readFile(memoryFile);
    if (bytes.size() >= mem::kTuningBlock + 16) block = bytes.substr(mem::kTuningBlock, 16);
    if (block == expected) break;
    QThread::msleep(50);
  }
  return block;
}

std::vector<std::string> traceLines(const std::string &path) {
  std::vector<std::string> lines;
  std::istringstream in(readFile(path));
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

int indexOf(const std::vector<std::string> &lines, const std::string &line) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == line) return static_cast<int>(i);
  return -1;
}

// A data frame's 16 data bytes as a string.
std::string block(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

class TestModeTransfer : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!QFile::exists(QString(N27_PROGRAM_DIR) + "/n27-sim")) GTEST_SKIP() << "n27-sim is not built";
    MainWindowTest::SetUp();
    options.versions.addPair("V200V101");
    Workspace radio;
    radio.programFolder = dir.string();
    NewConfiguration(radio);
    ChannelContext ctx(radio);
    ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
    ASSERT_EQ(SaveDataFile(radio, path("radio.dat")), FileStatus::Ok);
    prompter.onDialog = [](QDialog &d) { return d.exec(); };
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    if (sim.state() != QProcess::NotRunning) {
      sim.terminate();
      if (!sim.waitForFinished(3000)) sim.kill();
    }
  }

  // Starts the simulated radio with the tuning block and returns its device.
  std::string startSim(QStringList extra = {}) {
    QStringList args = {"--baud", "0", "--data", QString::fromStdString(path("radio.dat")),
                        "--save", QString::fromStdString(path("memory.img")),
                        "--trace", QString::fromStdString(path("trace.txt")),
                        "--tuning", kRadioTuningHex};
    sim.start(QString(N27_PROGRAM_DIR) + "/n27-sim", args + extra);
    EXPECT_TRUE(sim.waitForStarted(5000));
    std::string device;
    for (int i = 0; i < 50 && device.empty(); ++i) {
      sim.waitForReadyRead(100);
      if (sim.canReadLine()) device = sim.readLine().trimmed().toStdString();
    }
    EXPECT_FALSE(device.empty()) << sim.readAllStandardError().toStdString();
    return device;
  }
  frmMain &startRadio() {
    std::string device = startSim();
    options.extraPort = {250, device, "", true};
    options.comPort = 250;
    frmMain &m = makeMain();
    m.radio().setReplyTimeout(1000ms);
    return m;
  }

  QProcess sim;
};

TEST_F(TestModeTransfer, ReadShowsTheRadiosValuesAndAnEditedWriteLandsByteForByte) {
  ws.testMode = true;
  frmMain &m = startRadio();
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.messages.back(), "Read Data Completed.");
  EXPECT_EQ(ws.tuning, kRadioTuning);
  EXPECT_EQ(ws.tuningOrigin, (TuningOrigin{TuningSource::Radio, {}, false}));
  // The tuning block is asked for first, and never lands in the image.
  auto trace = traceLines(path("trace.txt"));
  int tuningRead = indexOf(trace, "read 496"), firstBlock = indexOf(trace, "read 0");
  ASSERT_GE(tuningRead, 0);
  EXPECT_LT(tuningRead, firstBlock);
  for (std::size_t a = mem::kTuningBlock; a < mem::kTuningBlock + 16; ++a) EXPECT_EQ(ws.image.at(a), 0xFF);

  // The window shows them; the operator edits two.
  std::vector<QString> shown;
  QString origin;
  prompter.onDialog = [&](QDialog &d) {
    auto *w = dynamic_cast<FrmTestData *>(&d);
    if (!w) return d.exec();
    for (int i = 0; i < link::kTestDataFields; ++i) shown.push_back(w->field(i)->text());
    origin = w->originLabel()->text();
    w->field(0)->selectAll();
    QTest::keyClicks(w->field(0), "5a");
    w->field(8)->selectAll();
    QTest::keyClicks(w->field(8), "3ff");
    w->findChild<QPushButton *>("CommandOK")->click();
    return d.result();
  };
  trigger("mnuTestData");
  EXPECT_EQ(shown, (std::vector<QString>{"11", "22", "33", "23", "4", "5", "6", "7", "210", "9", "A",
                                         "B", "C", "D"}));
  EXPECT_EQ(origin, "Tuning values: read from the radio");
  EXPECT_EQ(ws.tuning[0], 0x5A);
  EXPECT_EQ(ws.tuning[8], 0x3FF);

  // The write sends the tuning block first: 57 01 F0 10, entries 0..13, the checksum the
  // radio checked before it stored the 16 bytes.
  prompter.onDialog = [](QDialog &d) { return d.exec(); };
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  ASSERT_EQ(prompter.messages.back(), "Write Data Completed.\nVerified: the radio holds the data written to it.");
  const std::string expected =
      block({0x5A, 0x22, 0x33, 0x00, 0x23, 4, 5, 6, 7, 0x03, 0xFF, 9, 10, 11, 12, 13});
  EXPECT_EQ(savedTuningBlock(path("memory.img"), expected), expected);
  trace = traceLines(path("trace.txt"));
  int tuningWrite = indexOf(trace, "write 496"), firstWrite = indexOf(trace, "write 0");
  ASSERT_GE(tuningWrite, 0);
  EXPECT_LT(tuningWrite, firstWrite);
  EXPECT_EQ(link::EncodeTuningBlock(ws.tuning).bytes,
            (link::Bytes{0x57, 0x01, 0xF0, 0x10, 0x5A, 0x22, 0x33, 0x00, 0x23, 4, 5, 6, 7, 0x03, 0xFF,
                         9, 10, 11, 12, 13, 0x79}));

  // The values survive a save and a load of the data file through its ".ted".
  prompter.saveNames = {QString::fromStdString(path("job.dat"))};
  trigger("mnuFileSave");
  ASSERT_TRUE(std::filesystem::exists(path("job.ted")));
  Workspace again;
  again.testMode = true;
  ASSERT_EQ(LoadDataFile(again, path("job.dat")), FileStatus::Ok);
  EXPECT_EQ(again.tuning, ws.tuning);
  EXPECT_EQ(again.tuningOrigin.source, TuningSource::File);
  (void)m;
}

TEST_F(TestModeTransfer, AWriteWithUnknownTuningValuesAsksFirst) {
  ws.testMode = true;
  frmMain &m = startRadio();
  ChangeChannel(m.channels(), 1, 1, kFieldRx, "446.00625");
  // Nothing read, loaded or typed: the write asks before anything reaches the radio.
  prompter.answers = {Answer::Cancel};
  trigger("mnuWriteToRadio");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_NE(prompter.questions[0].indexOf("Write the zero tuning block anyway?"), -1);
  EXPECT_EQ(traceLines(path("trace.txt")), std::vector<std::string>{});
  EXPECT_FALSE(std::filesystem::exists(path("memory.img")));

  // Confirmed: the zeros go out as asked.
  prompter.answers = {Answer::Ok, Answer::Ok};
  trigger("mnuWriteToRadio");
  ASSERT_EQ(prompter.questions.size(), 3u);
  EXPECT_EQ(prompter.questions[2], "Write data to radio.\nDo you wish continue?");
  ASSERT_EQ(prompter.messages.back(), "Write Data Completed.\nVerified: the radio holds the data written to it.");
  EXPECT_EQ(savedTuningBlock(path("memory.img"), std::string(16, '\0')), std::string(16, '\0'));

  // Typed values need no question.
  ws.tuningOrigin.edited = true;
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  EXPECT_EQ(prompter.questions.size(), 4u);
}

TEST_F(TestModeTransfer, WithoutTheMarkerTheTuningBlockIsNeitherAskedNorWritten) {
  startRadio();
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.messages.back(), "Read Data Completed.");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");  // no question about the tuning values
  ASSERT_EQ(prompter.messages.back(), "Write Data Completed.\nVerified: the radio holds the data written to it.");
  auto trace = traceLines(path("trace.txt"));
  EXPECT_EQ(indexOf(trace, "write 496"), -1);
  const std::string radioBlock =
      block({0x11, 0x22, 0x33, 0x81, 0x23, 4, 5, 6, 7, 0x02, 0x10, 9, 10, 11, 12, 13});
  EXPECT_EQ(savedTuningBlock(path("memory.img"), radioBlock), radioBlock);
  EXPECT_FALSE(ws.testMode);
}

// ---------------------------------------------------------------------------------------
// n27-cli in test mode: a program folder of the test's own with the marker file.

struct CliResult {
  int code = -1;
  std::string out, err;
};

class CliTestMode : public TestModeTransfer {
 protected:
  void SetUp() override {
    TestModeTransfer::SetUp();
    if (IsSkipped()) return;
    std::filesystem::create_directories(dir / "program");
    std::ofstream(path("program/TestData.ini"), std::ios::binary) << kMarker << "\r\n";
    std::filesystem::copy_file(std::filesystem::path(N27_BINARY_DIR) / "Version.ini", dir / "Version.ini");
  }
  CliResult cli(QStringList args, bool testMode = true) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    if (testMode) env.insert("N27_PROGRAM_DIR", QString::fromStdString(path("program")));
    p.setProcessEnvironment(env);
    p.start(QString(N27_PROGRAM_DIR) + "/n27-cli", args);
    CliResult r;
    if (!p.waitForFinished(60000)) p.kill();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
  }
  static QString q(const std::string &s) { return QString::fromStdString(s); }
};

TEST_F(CliTestMode, ReadKeepsTheTuningValuesAndWriteSendsThemBack) {
  const QString device = q(startSim());
  CliResult r = cli({"read", "--port", device, "-o", q(path("out.dat")), "--reply-timeout", "1000"});
  ASSERT_EQ(r.code, 0) << r.err;
  TuningTable table{};
  ASSERT_TRUE(ReadTuningFile(path("out.ted"), table));
  EXPECT_EQ(table, kRadioTuning);

  r = cli({"tuning", q(path("out.dat"))});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "0=11\n1=22\n2=33\n3=23\n4=4\n5=5\n6=6\n7=7\n8=210\n9=9\n10=A\n11=B\n12=C\n13=D\n14=0\n15=0\n");

  // Set by the window's rules: 100 in entry 0 becomes FF, 500 in entry 3 becomes 400.
  r = cli({"tuning", q(path("out.dat")), "0=100", "3=500", "8=1ff", "13=e"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("entry 0: 100 becomes FF"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("entry 3: 500 becomes 400"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.substr(0, 17), "0=FF\n1=22\n2=33\n3=");
  ASSERT_TRUE(ReadTuningFile(path("out.ted"), table));
  EXPECT_EQ(table, (TuningTable{0xFF, 0x22, 0x33, 0x400, 4, 5, 6, 7, 0x1FF, 9, 10, 11, 12, 0xE, 0, 0}));
  r = cli({"tuning", q(path("out.dat")), "14=1"});
  EXPECT_EQ(r.code, 2);

  r = cli({"write", "--port", device, q(path("out.dat")), "--reply-timeout", "1000"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string expected =
      block({0xFF, 0x22, 0x33, 0x04, 0x00, 4, 5, 6, 7, 0x01, 0xFF, 9, 10, 11, 12, 0xE});
  EXPECT_EQ(savedTuningBlock(path("memory.img"), expected), expected);
  auto trace = traceLines(path("trace.txt"));
  EXPECT_LT(indexOf(trace, "write 496"), indexOf(trace, "write 0"));
}

TEST_F(CliTestMode, AWriteWithoutTuningValuesIsRefusedUnlessConfirmed) {
  const QString device = q(startSim());
  // radio.dat has no radio.ted: nothing to send but zeros.
  CliResult r = cli({"write", "--port", device, q(path("radio.dat")), "--reply-timeout", "1000"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("replaces the radio's factory calibration"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("radio.ted: No such file."), std::string::npos) << r.err;
  EXPECT_EQ(traceLines(path("trace.txt")), std::vector<std::string>{});  // the radio heard nothing

  r = cli({"write", "--port", device, q(path("radio.dat")), "--reply-timeout", "1000", "--send-zero-tuning"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(savedTuningBlock(path("memory.img"), std::string(16, '\0')), std::string(16, '\0'));

  // Outside the test mode the tuning block is never written, whatever lies beside the file.
  std::filesystem::remove(path("memory.img"));
  r = cli({"write", "--port", device, q(path("radio.dat")), "--reply-timeout", "1000"}, false);
  ASSERT_EQ(r.code, 0) << r.err;
  auto trace = traceLines(path("trace.txt"));
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "write 496"), 1);  // only the confirmed one
}

TEST_F(CliTestMode, ASaveThatCannotWriteTheTedFails) {
  const QString device = q(startSim());
  std::filesystem::create_directories(dir / "out.ted");  // a folder where the .ted goes
  CliResult r = cli({"read", "--port", device, "-o", q(path("out.dat")), "--reply-timeout", "1000"});
  EXPECT_NE(r.code, 0);
  // Looked at before the radio is read, as the data file and its side file are.
  EXPECT_NE(r.err.find("out.ted is a folder"), std::string::npos) << r.err;
  EXPECT_FALSE(QFile::exists(q(path("out.dat"))));
}

// The file commands in test mode: a data file brings its ".ted" to where it is saved, no
// output replaces it, and one holding what the window would not take is refused by name.
TEST_F(CliTestMode, FileCommandsCarryTheTedAlong) {
  ASSERT_EQ(cli({"new", "-o", q(path("a.dat"))}).code, 0);
  EXPECT_FALSE(QFile::exists(q(path("a.ted"))));  // no values known: no .ted of zeros
  ASSERT_EQ(cli({"tuning", q(path("a.dat")), "0=11", "8=210"}).code, 0);
  const std::string ted = ReadWholeFile(path("a.ted")).value();
  CliResult r = cli({"edit", q(path("a.dat")), "1", "1", "446.1", "-o", q(path("b.dat"))});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadWholeFile(path("b.ted")).value(), ted);

  r = cli({"export", q(path("a.dat")), "-o", q(path("a.ted"))});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("would replace the input tuning file"), std::string::npos) << r.err;
  EXPECT_EQ(ReadWholeFile(path("a.ted")).value(), ted);

  std::ofstream(path("a.ted"), std::ios::binary) << std::string("\x34\x12", 2) << std::string(30, '\0');
  const std::string data = ReadWholeFile(path("a.dat")).value();
  r = cli({"edit", q(path("a.dat")), "1", "1", "446.2"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("a.ted: entry 0 holds 1234 (hex); it takes 0 to FF"), std::string::npos) << r.err;
  EXPECT_EQ(ReadWholeFile(path("a.dat")).value(), data);
  r = cli({"tuning", q(path("a.dat"))});  // shown as it stands, with the reason
  EXPECT_EQ(r.out.substr(0, 7), "0=1234\n");
  EXPECT_NE(r.err.find("entry 0 holds 1234"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace n27::test
