// `n27-cli edit` and `n27-cli batch` change a data file exactly as the same calls to the model.

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

#include "common/cli_process.h"
#include "common/test_folder.h"
#include "base/file_io.h"
#include "base/ini_file.h"
#include "channels/batch_engine.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

class CliEdit : public TestFolderFixture {
 protected:
  void SetUp() override {
    TestFolderFixture::SetUp();
    Workspace ws;
    ws.programFolder = N27_PROGRAM_DIR;
    ws.loadDefaultFile = false;
    NewConfiguration(ws);
    ChannelContext ctx(ws);
    ChangeChannel(ctx, 1, 2, 1, "450");
    ChangeChannel(ctx, 1, 2, 3, "D023N");
    ASSERT_EQ(SaveDataFile(ws, path("base.dat")), FileStatus::Ok);
    fs::copy_file(path("base.dat"), path("cli.dat"));
    fs::copy_file(path("base.NVD"), path("cli.NVD"));
  }

  // The base file loaded into a workspace, changed by `edit`, saved as model.dat.
  std::string modelFile(const std::function<void(ChannelContext &)> &edit) {
    Workspace ws;
    ws.programFolder = N27_PROGRAM_DIR;
    EXPECT_EQ(LoadDataFile(ws, path("base.dat")), FileStatus::Ok);
    ChannelContext ctx(ws);
    edit(ctx);
    EXPECT_EQ(SaveDataFile(ws, path("model.dat")), FileStatus::Ok);
    return *ReadWholeFile(path("model.dat"));
  }

};

TEST_F(CliEdit, EditMatchesTheModel) {
  CliProcessRun r = runCli({"edit", QString::fromStdString(path("cli.dat")), "1", "1", "462.125", "1", "4",
                     "67.0", "1", "5", "High", "2", "2", "", "3", "1", "999", "1", "21", "5000",
                     "2", "7", "DTMF"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("Frequency is out of range."), std::string::npos);
  std::string expected = modelFile([](ChannelContext &ctx) {
    ChangeChannel(ctx, 1, 1, 1, "462.125");
    ChangeChannel(ctx, 1, 1, 4, "67.0");
    ChangeChannel(ctx, 1, 1, 5, "High");
    ChangeChannel(ctx, 1, 2, 2, "");
    ChangeChannel(ctx, 1, 3, 1, "999");
    ChangeChannel(ctx, 1, 1, 21, "5000");
    ChangeChannel(ctx, 1, 2, 7, "DTMF");
  });
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")), expected);
}

TEST_F(CliEdit, AFailedEditSavesNothing) {
  std::string before = *ReadWholeFile(path("cli.dat"));
  for (QStringList args : {QStringList{"1", "1", "440", "5", "5", "High"},  // channel 5 missing
                           QStringList{"2", "5", "Hihg"}, QStringList{"2", "13", "1"},
                           QStringList{"129", "1", "440"}, QStringList{"2", "19", "x"}}) {
    CliProcessRun r = runCli(QStringList{"edit", QString::fromStdString(path("cli.dat"))} + args);
    EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
    EXPECT_NE(r.err.find("nothing saved"), std::string::npos) << r.err;
  }
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")), before);
  EXPECT_EQ(runCli({"edit", QString::fromStdString(path("cli.dat")), "1", "1"}).exitCode, 2);
}

TEST_F(CliEdit, BatchMatchesTheModel) {
  CliProcessRun r = runCli({"batch", QString::fromStdString(path("cli.dat")), "--from", "1", "--to", "6",
                     "--rx-start", "440", "--rx-step", "12.5", "--tx", "offset", "--tx-offset", "5",
                     "--tx-minus", "--decode", "254.1", "--decode-interval", "2", "--encode-random",
                     "--seed", "7", "--power", "Low", "--busy-lockout", "Repeater", "--call1", "3",
                     "--scan-add", "off", "--clear-outside"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string cliBytes = *ReadWholeFile(path("cli.dat"));

  // The same run through the engine, with the CLI's seeded source.
  std::string expected = modelFile([&](ChannelContext &ctx) {
    BatchItems items{};
    for (int i : {kItemRx, kItemTx, kItemDecode, kItemEncode, kItemPower, kItemBusyLock,
                  kItemCall1, kItemScanAdd})
      items[i] = 1;
    BatchInput in;
    in.allChannels = false;
    in.fromText = "1";
    in.toText = "6";
    in.clearOutside = true;
    in.rxStart = "440";
    in.rxStep = "12.5";
    in.txMode = TxMode::Offset;
    in.txOffset = "5";
    in.offsetSign = OffsetSign::Minus;
    in.decodeStart = 50;
    in.decodeInterval = "2";
    in.encodeRandom = true;
    in.power = 0;
    in.busyLock = 2;
    in.call1 = 2;
    in.scanAdd = false;
    ApplyBatch(ctx, items, in, SeededRandom(7));
  });
  EXPECT_EQ(cliBytes, expected);

  EXPECT_EQ(runCli({"batch", QString::fromStdString(path("cli.dat")), "--power", "Max"}).exitCode, 2);
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")), cliBytes);
}

}  // namespace
}  // namespace n27
