// `n27-cli move`, `sort` and `compact` change a data file exactly as the same model calls.

#include <QProcess>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

#include "common/cli_process.h"
#include "common/test_folder.h"
#include "base/file_io.h"
#include "channels/channel_block_ops.h"
#include "channels/channel_ops.h"
#include "codeplug/configuration.h"

namespace n27 {
namespace {

namespace fs = std::filesystem;

class CliGrid : public TestFolderFixture {
 protected:
  void SetUp() override {
    TestFolderFixture::SetUp();
    Workspace ws;
    ws.programFolder = N27_PROGRAM_DIR;
    ws.loadDefaultFile = false;
    NewConfiguration(ws);
    ChannelContext ctx(ws);
    // A plan with gaps across three scan banks, the settings on channels that will move.
    const char *rx[] = {"446.1", "440.5", "", "445.0", "", "441.25", "", "", "", "", "", "", "",
                        "", "", "450.0", "442.0"};
    for (int r = 1; r <= 17; ++r)
      if (*rx[r - 1]) ChangeChannel(ctx, 1, r, 1, rx[r - 1]);
    ChangeChannel(ctx, 1, 40, 1, "443.0");
    ChangeChannel(ctx, 1, 6, 3, "D023N");
    ws.working.function.dwChannel = 6 - 1;
    ws.working.standAlone.currentChannel = 16 - 1;
    ws.working.scan.words[1] = 4;
    ASSERT_EQ(SaveDataFile(ws, path("base.dat")), FileStatus::Ok);
    fs::copy_file(path("base.dat"), path("cli.dat"));
    fs::copy_file(path("base.NVD"), path("cli.NVD"));
  }
  QString qpath(const char *name) const { return QString::fromStdString(path(name)); }

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

TEST_F(CliGrid, MoveSortAndCompactMatchTheModel) {
  CliProcessRun r = runCli({"move", qpath("cli.dat"), "4-6", "15", "-o", qpath("moved.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(*ReadWholeFile(path("moved.dat")),
            modelFile([](ChannelContext &ctx) { MoveBlock(ctx, 4, 6, 15); }));
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")), *ReadWholeFile(path("base.dat"))) << "-o leaves the input";

  r = runCli({"sort", qpath("cli.dat"), "--desc", "--range", "2-17"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")),
            modelFile([](ChannelContext &ctx) { SortRows(ctx, RowRange(2, 17), true); }));

  r = runCli({"sort", qpath("base.dat"), "-o", qpath("sorted.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(*ReadWholeFile(path("sorted.dat")),
            modelFile([](ChannelContext &ctx) { SortRows(ctx, {}, false); }));

  r = runCli({"compact", qpath("base.dat"), "-o", qpath("compact.dat")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string compact = *ReadWholeFile(path("compact.dat"));
  EXPECT_EQ(compact, modelFile([](ChannelContext &ctx) { CompactChannels(ctx); }));

  // The settings named the same channels before and after: DW on 441.25, current on 450.0.
  Workspace ws;
  ws.programFolder = N27_PROGRAM_DIR;
  ASSERT_EQ(LoadDataFile(ws, path("compact.dat")), FileStatus::Ok);
  auto rxOf = [&](int number) {
    const ChannelRecord *e = ws.working.slot(ws.working.findChannel(number));
    return e ? e->rx.text() : "(no channel " + std::to_string(number) + ")";
  };
  EXPECT_EQ(ws.working.channelCount, 7);
  EXPECT_EQ(rxOf(ws.working.function.dwChannel + 1), "44125000");
  EXPECT_EQ(rxOf(ws.working.standAlone.currentChannel + 1), "45000000");
  EXPECT_EQ(rxOf(ws.working.scan.words[1]), "44500000");
}

TEST_F(CliGrid, WrongUseAndFailuresSaveNothing) {
  const std::string before = *ReadWholeFile(path("cli.dat"));
  for (QStringList args :
       {QStringList{"move", qpath("cli.dat"), "4-6"}, QStringList{"move", qpath("cli.dat"), "6-4", "1"},
        QStringList{"move", qpath("cli.dat"), "0-3", "9"}, QStringList{"move", qpath("cli.dat"), "1", "129"},
        QStringList{"move", qpath("cli.dat"), "x", "2"}, QStringList{"move", qpath("cli.dat"), "1", "2-3"},
        QStringList{"sort", qpath("cli.dat"), "--range", "5-"}, QStringList{"sort", qpath("cli.dat"), "--range", "9-2"},
        QStringList{"sort", qpath("cli.dat"), "--up"}, QStringList{"compact"},
        QStringList{"compact", qpath("cli.dat"), "extra"}}) {
    CliProcessRun r = runCli(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
  }
  // A block that does not fit is refused.
  CliProcessRun r = runCli({"move", qpath("cli.dat"), "1-10", "120"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("nothing saved"), std::string::npos) << r.err;
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")), before);

  // A damaged file, a missing file, a folder and an output that cannot be written.
  ASSERT_TRUE(WriteFileAtomically(path("short.dat"), before.substr(0, 100)));
  EXPECT_EQ(runCli({"compact", qpath("short.dat")}).exitCode, 1);
  EXPECT_EQ(runCli({"compact", qpath("missing.dat")}).exitCode, 1);
  EXPECT_EQ(runCli({"sort", QString::fromStdString(dir.string())}).exitCode, 1);
  EXPECT_EQ(runCli({"compact", qpath("cli.dat"), "-o", qpath("no/such/dir/out.dat")}).exitCode, 1);
  EXPECT_EQ(*ReadWholeFile(path("cli.dat")), before);
  EXPECT_EQ(runCli({"move", "--help"}).exitCode, 0);
}

}  // namespace
}  // namespace n27
