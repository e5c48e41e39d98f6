// The undo history: one step per user action of every kind, exact restores, the modified state,
// clearing by New/Open/read, limits, speed and memory; the "what changed" helpers and the
// batch preview.

#include <chrono>
#include <cstring>
#include <string>

#include "app/recent_files.h"
#include "app/shell_commands.h"
#include "base/language.h"
#include "channels/batch_engine.h"
#include "channels/channel_changes.h"
#include "channels/channel_clipboard.h"
#include "channels/channel_ops.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/edit_history.h"
#include "features/feature_areas.h"
#include "features/setting_undo.h"
#include "link/transfer_session.h"
#include "channels/channel_test_util.h"

#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

namespace n27 {
namespace {

using test::ChannelFixture;

bool sameBytes(const CodeplugData &a, const CodeplugData &b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A copy byte for byte (padding included), to compare with after an undo.
CodeplugData snapshot(const CodeplugData &d) {
  CodeplugData copy;
  std::memcpy(static_cast<void *>(&copy), &d, sizeof d);
  return copy;
}

struct HistoryTest : ::testing::Test, ChannelFixture {
  HistoryTest() {
    AddChannel(ctx, 1, 1, "440.00000");
    AddChannel(ctx, 1, 2, "441.00000");
    ws.history.clear();
    ws.saved = ws.working;  // as after a load
  }
  ~HistoryTest() override { SetLanguageIndex(kEnglish); }
  std::string undoName() const {
    return ws.history.undoCaption() ? ws.history.undoCaption()->english : "";
  }
};

TEST_F(HistoryTest, GridEditIsOneStepUndoneAndRedoneExactly) {
  const CodeplugData before = snapshot(ws.working);
  ChangeChannel(ctx, 1, 5, kFieldRx, "450");  // creates channel 5 and repairs bank 1
  ASSERT_EQ(ws.history.undoCount(), 1u);
  EXPECT_EQ(undoName(), "Edit Channel 5");
  EXPECT_EQ(ws.history.undoCaption()->chinese, "编辑信道5");
  EXPECT_EQ(UndoMenuText(ws.history.undoCaption(), kEnglish), "Undo Edit Channel 5");
  EXPECT_EQ(UndoMenuText(ws.history.undoCaption(), kChinese), "撤销编辑信道5");
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
  const CodeplugData after = snapshot(ws.working);

  ASSERT_TRUE(Undo(ws));
  EXPECT_TRUE(sameBytes(ws.working, before));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));  // back to exactly the saved data
  EXPECT_FALSE(ws.history.canUndo());
  EXPECT_EQ(ws.history.redoCaption()->english, "Edit Channel 5");
  ASSERT_TRUE(Redo(ws));
  EXPECT_TRUE(sameBytes(ws.working, after));
  EXPECT_FALSE(Redo(ws));
}

TEST_F(HistoryTest, NothingChangedRecordsNoStepAndANewStepDropsTheRedos) {
  ChangeChannel(ctx, 1, 1, kFieldRx, "440.00000");  // the same value
  ChangeChannel(ctx, 1, 9, kFieldPower, "High");    // no such channel
  EXPECT_EQ(ws.history.undoCount(), 0u);
  ChangeChannel(ctx, 1, 1, kFieldPower, "High");
  ChangeChannel(ctx, 1, 2, kFieldPower, "Low");
  Undo(ws);
  EXPECT_TRUE(ws.history.canRedo());
  ChangeChannel(ctx, 1, 1, kFieldPower, "Low");
  EXPECT_FALSE(ws.history.canRedo());
  EXPECT_EQ(ws.history.undoCount(), 2u);
}

TEST_F(HistoryTest, NestedStepsAreOneStepNamedAfterTheOuter) {
  {
    EditStep outer(ws, step::ChannelDetails(1));
    ChangeChannel(ctx, 1, 1, kFieldReverse, "1");
    ChangeChannel(ctx, 1, 1, kFieldTalkaround, "0");
    ChangeChannel(ctx, 1, 1, kFieldTx, "");
    EXPECT_EQ(ws.history.undoCount(), 0u);  // recorded when the outer step closes
  }
  ASSERT_EQ(ws.history.undoCount(), 1u);
  EXPECT_EQ(undoName(), "Edit Channel 1 Details");
  Undo(ws);
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  // A cancelled step records nothing; an edit inside a cancelled step does not either.
  {
    EditStep s(ws, step::ChannelDetails(2));
    ChangeChannel(ctx, 1, 2, kFieldPower, "High");
    s.cancel();
  }
  EXPECT_EQ(ws.history.undoCount(), 0u);
}

TEST_F(HistoryTest, ClipboardCommandsAreStepsOfTheirOwn) {
  ChannelClipboard clip;
  const CodeplugData start = snapshot(ws.working);
  SetCHEdit(ctx, clip, ChannelEditCommandKey::Copy, 1);
  EXPECT_EQ(ws.history.undoCount(), 0u);  // Copy changes nothing
  SetCHEdit(ctx, clip, ChannelEditCommandKey::Paste, 20);  // a new channel in bank 2
  EXPECT_EQ(undoName(), "Paste Channel 20");
  EXPECT_EQ(ws.working.scan.words[2], 4);  // bank 2's choice follows the pasted channel
  SetCHEdit(ctx, clip, ChannelEditCommandKey::Cut, 2);
  EXPECT_EQ(undoName(), "Cut Channel 2");
  SetCHEdit(ctx, clip, ChannelEditCommandKey::Delete, 1);
  EXPECT_EQ(undoName(), "Delete Channel 1");
  EXPECT_EQ(ws.working.channelCount, 1);
  while (Undo(ws)) {
  }
  EXPECT_TRUE(sameBytes(ws.working, start));  // scan bank choices included
  while (Redo(ws)) {
  }
  EXPECT_EQ(ws.working.channelCount, 1);
  EXPECT_TRUE(ws.working.findChannel(20));
}

TEST_F(HistoryTest, BatchApplyIsOneStepAndItsPreviewCountsExactly) {
  BatchItems items = DefaultBatchItems();
  BatchInput in;
  in.rxStart = "430";
  in.rxStep = "12.5";
  in.decodeRandom = true;  // random tones: the preview must use the same ones
  const CodeplugData before = snapshot(ws.working);
  const ChannelCounts preview = PreviewBatch(ctx, items, in, 42);
  EXPECT_TRUE(sameBytes(ws.working, before));  // the preview ran on a copy
  EXPECT_EQ(preview.created, 30);
  EXPECT_EQ(preview.changed, 2);
  EXPECT_EQ(BatchQuestion(preview, {1, 32}),
            "Apply will create 30 channels and change 2 (channels 1–32).");
  SetLanguageIndex(kChinese);
  EXPECT_EQ(BatchQuestion(preview, {1, 32}), "应用将新建 30 个信道、修改 2 个（信道 1–32）。");
  SetLanguageIndex(kEnglish);

  ApplyBatch(ctx, items, in, SeededRandom(42));
  ASSERT_EQ(ws.history.undoCount(), 1u);
  EXPECT_EQ(undoName(), "Batch Edit");
  const ChannelCounts real = CountChannelChanges(before, ws.working);
  EXPECT_EQ(real.created, preview.created);
  EXPECT_EQ(real.changed, preview.changed);
  Undo(ws);
  EXPECT_TRUE(sameBytes(ws.working, before));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));

  // Clearing outside the range is counted and named.
  in.allChannels = false;
  in.fromText = "2";
  in.toText = "3";
  in.clearOutside = true;
  const ChannelCounts cleared = PreviewBatch(ctx, items, in, 1);
  EXPECT_EQ(cleared.deleted, 1);
  EXPECT_EQ(BatchQuestion(cleared, {2, 3}),
            "Apply will create 1 channel, change 1 and delete 1 (channels 2–3).");
  // A count of zero is left out; with nothing to do the question says so.
  EXPECT_EQ(BatchQuestion({0, 4, 0}, {1, 32}), "Apply will change 4 channels (channels 1–32).");
  EXPECT_EQ(BatchQuestion({0, 1, 2}, {1, 32}), "Apply will change 1 channel and delete 2 (channels 1–32).");
  EXPECT_EQ(BatchQuestion({0, 0, 0}, {1, 32}), "Apply will change no channel (channels 1–32).");
  SetLanguageIndex(kChinese);
  EXPECT_EQ(BatchQuestion({0, 4, 1}, {1, 16}), "应用将修改 4 个信道、删除 1 个（信道 1–16）。");
  EXPECT_EQ(BatchQuestion({0, 0, 0}, {1, 16}), "应用不会更改任何信道（信道 1–16）。");
  SetLanguageIndex(kEnglish);
}

TEST_F(HistoryTest, FeatureSettingStepSurvivesALanguageSwitch) {
  const features::Area *function = features::FindArea("function");
  ASSERT_TRUE(function);
  features::FeatureContext fctx(ctx);
  const int16_t squelch = ws.working.function.squelch;
  ASSERT_TRUE(features::ChooseSetting(fctx, *function, *function->find("squelch"), "7").ok());
  EXPECT_EQ(undoName(), "Function Setup: Squelch Level");
  EXPECT_EQ(ws.history.undoCaption()->chinese, "功能设定：静噪等级");
  // The run-time switches are part of the steps too.
  ASSERT_TRUE(features::ChooseSetting(fctx, *function, *function->find("reverse"), "On").ok());
  EXPECT_TRUE(ws.reverseSwitch);
  // "Time Out Timer(TOT)[s]" is named without its unit.
  features::ChooseSetting(fctx, *function, *function->find("tot"), "60");
  EXPECT_EQ(undoName(), "Function Setup: Time Out Timer(TOT)");

  SetLanguageIndex(kChinese);  // the windows close and reopen in the other language
  EXPECT_EQ(UndoMenuText(ws.history.undoCaption(), kChinese), "撤销功能设定：超时定时器(TOT)");
  ASSERT_TRUE(Undo(ws));
  ASSERT_TRUE(Undo(ws));
  EXPECT_FALSE(ws.reverseSwitch);
  ASSERT_TRUE(Undo(ws));
  EXPECT_EQ(ws.working.function.squelch, squelch);
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
}

TEST_F(HistoryTest, UndoTellsEveryListener) {
  struct Recorder : ChannelListener {
    int all = 0, settings = 0;
    void allChannelsChanged() override { ++all; }
    void settingsChanged() override { ++settings; }
  } window;
  ChangeChannel(ctx, 1, 1, kFieldPower, "High");
  {
    // The window that made the change is gone; another one listens now.
    ctx.addListener(&window);
    ASSERT_TRUE(UndoEdit(ctx));
    EXPECT_EQ(window.all, 1);
    EXPECT_EQ(window.settings, 1);
    ASSERT_TRUE(RedoEdit(ctx));
    EXPECT_EQ(window.all, 2);
    EXPECT_FALSE(RedoEdit(ctx));
    EXPECT_EQ(window.all, 2);  // nothing to repeat: nobody is told
    ctx.removeListener(&window);
  }
}

struct QuietHost : ShellHost {
  Answer ask(const std::string &, Prompt) override { return Answer::Ok; }
  void showMessage(const std::string &, BoxIcon) override {}
  std::optional<std::string> chooseFileToOpen() override { return std::nullopt; }
  std::optional<std::string> chooseFileToSave(const std::string &) override { return std::nullopt; }
  void storePendingInput() override {}
  void closeAllWindows() override {}
  void openDefaultEditors() override {}
  void setCaptionForm(CaptionForm) override {}
};

TEST_F(HistoryTest, BandSwitchIsOneStepThatBringsTheOldConfigurationBack) {
  ws.loadDefaultFile = false;
  ws.fileName = "/tmp/a.dat";
  ws.untitled = false;
  ChangeChannel(ctx, 1, 1, kFieldPower, "High");  // an earlier step stays undoable
  const CodeplugData before = snapshot(ws.working);
  const CodeplugData savedBefore = ws.saved;
  QuietHost host;
  ASSERT_TRUE(ApplyModelInformation(ws, host, "N27", kBand136));
  EXPECT_EQ(ws.bandText, kBand136);
  EXPECT_EQ(ws.working.channelCount, 0);
  EXPECT_TRUE(ws.untitled);
  ASSERT_EQ(ws.history.undoCount(), 2u);
  EXPECT_EQ(undoName(), "Model Information");

  ASSERT_TRUE(Undo(ws));
  EXPECT_EQ(ws.bandText, kBand400);
  EXPECT_EQ(ws.lowerLimit, 400.0);
  EXPECT_EQ(ws.fileName, "/tmp/a.dat");
  EXPECT_FALSE(ws.untitled);
  EXPECT_TRUE(sameBytes(ws.working, before));
  EXPECT_TRUE(ws.saved == savedBefore);
  EXPECT_TRUE(IsModified(ws.working, ws.saved));  // the power edit is still there
  ASSERT_TRUE(Undo(ws));
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  Redo(ws);
  ASSERT_TRUE(Redo(ws));
  EXPECT_EQ(ws.bandText, kBand136);
  EXPECT_EQ(ws.upperLimit, 174.0);
  EXPECT_EQ(ws.working.channelCount, 0);
}

TEST_F(HistoryTest, NewOpenAndReadClearTheHistory) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("n27_history_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "a.dat").string();
  ASSERT_EQ(SaveDataFile(ws, path), FileStatus::Ok);

  ChangeChannel(ctx, 1, 1, kFieldPower, "High");
  ASSERT_EQ(LoadDataFile(ws, path), FileStatus::Ok);
  EXPECT_FALSE(ws.history.canUndo());

  ChangeChannel(ctx, 1, 1, kFieldPower, "High");
  Undo(ws);
  ASSERT_EQ(LoadDataFile(ws, (dir / "missing.dat").string()), FileStatus::FileError);
  EXPECT_TRUE(ws.history.canRedo());  // a failed Open keeps everything

  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  EXPECT_FALSE(ws.history.canRedo());

  ChangeChannel(ctx, 1, 3, kFieldRx, "445");
  CompleteRead(ws, link::Identification{});
  EXPECT_FALSE(ws.history.canUndo());
  std::filesystem::remove_all(dir);
}

TEST_F(HistoryTest, KeepsTheNewestStepsUpToItsDepth) {
  EXPECT_GE(ws.history.depth(), 100u);
  ws.history.setDepth(100);
  for (int i = 0; i < 150; ++i)
    ChangeChannel(ctx, 1, 1, kFieldScrambleFreq, std::to_string(1300 + i));
  EXPECT_EQ(ws.history.undoCount(), 100u);
  int undone = 0;
  while (Undo(ws)) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(ws.working.channels[0].scrambleFreq, 1300 + 49);  // the oldest 50 were dropped
}

// Speed and size: an undo of a step that changes every channel field of all 128 channels, and
// 100 such steps (a full copy of the configuration is 9.8 KB, one such step about 8.7 KB).
TEST(EditHistorySize, FullChannelTableStepsAreFastAndSmall) {
  ChannelFixture f;
  for (int n = 1; n <= kMaxChannels; ++n) AddChannel(f.ctx, 1, n, "440.00000");
  f.ws.history.clear();
  f.ws.history.setDepth(100);
  for (int i = 0; i < 100; ++i) {
    EditStep s(f.ws, step::ImportChannels());
    for (int n = 1; n <= kMaxChannels; ++n) {
      ChannelRecord &e = f.channel(n);
      e.rx.assign(std::to_string(40000000 + i * 1000 + n));
      e.tx.assign(std::to_string(41000000 + i * 1000 + n));
      e.decode.assign(i % 2 ? "0101" : "0202");
      e.power = static_cast<uint16_t>(i % 3);
      e.scrambleFreq = static_cast<uint16_t>(1300 + i);
    }
  }
  ASSERT_EQ(f.ws.history.undoCount(), 100u);
  EXPECT_LT(f.ws.history.memoryBytes(), 2u * 1024 * 1024);
  ::testing::Test::RecordProperty("history_bytes", static_cast<int>(f.ws.history.memoryBytes()));

  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(Undo(f.ws));
  const auto took = std::chrono::steady_clock::now() - start;
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(took).count();
  EXPECT_LT(micros, 5000);
  ::testing::Test::RecordProperty("undo_microseconds", static_cast<int>(micros));
  EXPECT_EQ(f.channel(7).scrambleFreq, 1300 + 98);
}

TEST_F(HistoryTest, WhatChangedSinceTheSave) {
  ChangeChannel(ctx, 1, 1, kFieldPower, "High");
  ChangeChannel(ctx, 1, 1, kFieldTx, "");
  ChangeChannel(ctx, 1, 2, kFieldRx, "");   // deleted
  ChangeChannel(ctx, 1, 7, kFieldRx, "450");  // added
  EXPECT_EQ(CompareWithSaved(ws.working, ws.saved, 1), ChannelChange::Changed);
  EXPECT_EQ(CompareWithSaved(ws.working, ws.saved, 2), ChannelChange::Deleted);
  EXPECT_EQ(CompareWithSaved(ws.working, ws.saved, 7), ChannelChange::Added);
  EXPECT_EQ(CompareWithSaved(ws.working, ws.saved, 3), ChannelChange::Same);
  const auto fields = ChangedFields(ws.working, ws.saved, 1);
  EXPECT_TRUE(fields[kFieldPower]);
  EXPECT_TRUE(fields[kFieldTx]);
  EXPECT_FALSE(fields[kFieldRx]);
  EXPECT_FALSE(fields[kFieldDecode]);
  // Text padding after the terminating NUL is not a change.
  ws.saved.channels[0].rx.assign("440");
  ws.saved.channels[0].rx.bytes[6] = 'x';
  ws.working.channels[0].rx.assign("440");
  EXPECT_FALSE(ChangedFields(ws.working, ws.saved, 1)[kFieldRx]);
}

TEST(RecentFiles, MostRecentFirstAtMostEight) {
  std::vector<std::string> list;
  for (int i = 1; i <= 10; ++i) list = AddRecentFile(list, "/d/" + std::to_string(i) + ".dat");
  ASSERT_EQ(list.size(), kRecentFileCount);
  EXPECT_EQ(list.front(), "/d/10.dat");
  EXPECT_EQ(list.back(), "/d/3.dat");
  list = AddRecentFile(list, "/d/5.dat");
  EXPECT_EQ(list.front(), "/d/5.dat");
  EXPECT_EQ(list.size(), kRecentFileCount);  // moved, not repeated
  list = RemoveRecentFile(list, "/d/5.dat");
  EXPECT_EQ(list.size(), kRecentFileCount - 1);
  EXPECT_EQ(CleanRecentFiles({"", "/a.dat", "/a.dat", "/b.dat"}),
            (std::vector<std::string>{"/a.dat", "/b.dat"}));
  EXPECT_EQ(RecentFileMenuText(0, "/home/x/R&D.dat"), "&1 R&&D.dat  [/home/x]");
  EXPECT_EQ(RecentFileMenuText(7, "b.dat"), "&8 b.dat");
}

}  // namespace
}  // namespace n27
