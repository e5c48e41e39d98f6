// n27-cli import, export and diff end to end, as a user runs them (diff --port against n27-sim).

#include <gtest/gtest.h>

#include <QProcess>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "common/cli_run.h"
#include "common/test_folder.h"

namespace n27 {
namespace {

class CliCsv : public TestFolderFixture {
 protected:
  void SetUp() override {
    TestFolderFixture::SetUp();
    Workspace ws;
    ws.programFolder = N27_PROGRAM_DIR;
    ws.loadDefaultFile = false;
    NewConfiguration(ws);
    ChannelContext ctx(ws);
    ChangeChannel(ctx, 1, 1, kFieldRx, "450");
    ASSERT_EQ(SaveDataFile(ws, path("base.dat")), FileStatus::Ok);
  }
  std::string q(const std::string &name) const { return "'" + path(name) + "'"; }
  std::string read(const std::string &name) const { return ReadWholeFile(path(name)).value_or(""); }
};

TEST_F(CliCsv, ImportExportRoundTripAndExitCodes) {
  WriteFileAtomically(path("plan.csv"),
                      "\xEF\xBB\xBF# from another programmer\r\n"
                      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                      "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment\r\n"
                      "0,Rpt,446.006250,+,5.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,5.0W,\r\n"
                      "1,Simplex,446.018750,,0.000000,DTCS,88.5,88.5,754,NR,023,Tone->Tone,FM,6.25,S,1.0W,\r\n");
  CliRun r = Cli("import " + q("base.dat") + " " + q("plan.csv") + " -o " + q("out.dat"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("Channels imported: 2 (new: 1, replaced: 1)."), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Location 0"), std::string::npos) << r.out;

  r = Cli("export " + q("out.dat") + " -o " + q("out.csv"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(read("out.csv"),
            "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
            "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
            "1,CH001,446.006250,+,5.000000,TSQL,88.5,88.5,023,NN,023,Tone->Tone,NFM,6.25,,5.0W,,,,,\r\n"
            "2,CH002,446.018750,,0.000000,DTCS,88.5,88.5,754,NR,023,Tone->Tone,FM,6.25,S,1.0W,,,,,\r\n");
  r = Cli("export " + q("out.dat") + " -o -");
  EXPECT_EQ(r.out, read("out.csv"));

  // The exported list read into a new configuration gives the same channels.
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ASSERT_EQ(SaveDataFile(ws, path("empty.dat")), FileStatus::Ok);
  r = Cli("import " + q("empty.dat") + " " + q("out.csv") + " -o " + q("again.dat"));
  EXPECT_EQ(r.status, 0) << r.out;
  r = Cli("diff " + q("out.dat") + " " + q("again.dat"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, "No differences.\n");

  // Rows skipped: saved, exit code 3, the reasons with line numbers.
  WriteFileAtomically(path("bad.csv"), "Location,Frequency\n5,446\n6,520\n");
  r = Cli("import " + q("base.dat") + " " + q("bad.csv"));
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("line 3: RX frequency 520.000000 MHz is outside 400–490 MHz"), std::string::npos) << r.out;
  // Nothing importable or no channel list: exit 1, the data file untouched.
  const std::string before = read("base.dat");
  WriteFileAtomically(path("none.csv"), "Location,Frequency\n6,520\n");
  EXPECT_EQ(Cli("import " + q("base.dat") + " " + q("none.csv")).status, 1);
  WriteFileAtomically(path("text.csv"), "just some text\n");
  r = Cli("import " + q("base.dat") + " " + q("text.csv"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("no Frequency column"), std::string::npos) << r.out;
  EXPECT_EQ(Cli("import " + q("base.dat") + " " + q("missing.csv")).status, 1);
  EXPECT_EQ(read("base.dat"), before);
  EXPECT_EQ(Cli("import " + q("base.dat")).status, 2);

  // --append and --replace.
  WriteFileAtomically(path("two.csv"), "Frequency\n460\n461\n");
  r = Cli("import " + q("base.dat") + " " + q("two.csv") + " --append --replace -o " + q("app.dat"));
  EXPECT_EQ(r.status, 0) << r.out;
  r = Cli("diff " + q("base.dat") + " " + q("app.dat"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("Channel 1: RX Frequency: 450.00000 MHz → 460.00000 MHz"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Channel 2: only in"), std::string::npos) << r.out;
}

TEST_F(CliCsv, DiffOfImagesFilesAndErrors) {
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ASSERT_EQ(LoadDataFile(ws, path("base.dat")), FileStatus::Ok);
  EncodeImage(ws);
  WriteFileAtomically(path("base.img"), std::string(ws.image.bytes().begin(), ws.image.bytes().end()));
  CliRun r = Cli("diff " + q("base.dat") + " " + q("base.img"));
  EXPECT_EQ(r.status, 0) << r.out;
  r = Cli("diff " + q("base.img") + " " + q("base.dat") + " --chinese");
  EXPECT_EQ(r.out, "仅比较对讲机存储器中保存的内容。\n没有差异。\n");

  ChannelContext ctx(ws);
  ChangeChannel(ctx, 1, 1, kFieldSpacing, "12.5K(Narrow)");
  SaveDataFile(ws, path("narrow.dat"));
  r = Cli("diff " + q("base.img") + " " + q("narrow.dat") + " --chinese");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("信道 1: 宽/窄带: 25K(宽带) → 12.5K(窄带)"), std::string::npos) << r.out;

  EXPECT_EQ(Cli("diff " + q("base.dat") + " " + q("nothing.dat")).status, 2);
  WriteFileAtomically(path("odd.bin"), std::string(100, 'x'));
  r = Cli("diff " + q("base.dat") + " " + q("odd.bin"));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("neither a data file"), std::string::npos) << r.out;
  EXPECT_EQ(Cli("diff " + q("base.dat")).status, 2);
  EXPECT_EQ(Cli("diff " + q("base.dat") + " --port /dev/n27-no-such-port").status, 2);
}

TEST_F(CliCsv, DiffWithTheRadioConnected) {
  // A simulated radio holding base.dat with one channel changed.
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ASSERT_EQ(LoadDataFile(ws, path("base.dat")), FileStatus::Ok);
  ChannelContext ctx(ws);
  ChangeChannel(ctx, 1, 1, kFieldPower, "High");
  SaveDataFile(ws, path("radio.dat"));
  QProcess sim;
  sim.start(QString(N27_PROGRAM_DIR) + "/n27-sim",
            {"--baud", "0", "--data", QString::fromStdString(path("radio.dat"))});
  ASSERT_TRUE(sim.waitForStarted(5000) && sim.waitForReadyRead(5000));
  const std::string device = sim.readLine().trimmed().toStdString();
  CliRun r = Cli("diff " + q("base.dat") + " --port " + device);
  sim.terminate();
  sim.waitForFinished(3000);
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("Channel 1: TX Power: Middle → High"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace n27
