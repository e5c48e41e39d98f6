// The channel plan commands: block clipboard, moving, inserting and deleting rows, sorting and
// closing gaps — and that the settings naming a channel still name the same frequency after
// each of them.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <random>

#include "channels/channel_block_ops.h"
#include "channels/channel_changes.h"
#include "channels/channel_clipboard.h"
#include "channels/channel_ops.h"
#include "channels/number_text.h"
#include "channels/channel_test_util.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"

namespace n27 {
namespace {

using test::ChannelFixture;

// A distinct RX frequency per row: 400.5 MHz for row 1 … 464 MHz for row 128.
std::string rxFor(int row) { return FormatFixed(40000000 + int64_t{row} * 50000, 5, 3); }

struct Plan : ChannelFixture {
  struct Listener : ChannelListener {
    int all = 0, single = 0, settings = 0;
    void channelChanged(int, bool) override { ++single; }
    void allChannelsChanged() override { ++all; }
    void settingsChanged() override { ++settings; }
  } heard;

  explicit Plan(std::initializer_list<int> rows) {
    for (int r : rows) add(r);
    ctx.addListener(&heard);
  }
  void add(int row) { ASSERT_EQ(ChangeChannel(ctx, 1, row, 1, rxFor(row)), EditStatus::Ok); }
  // The RX text of the channel at `row`, "" for none.
  std::string rx(int row) const {
    int slot = ws.working.findChannel(row);
    return slot ? ws.working.slot(slot)->rx.text() : std::string();
  }
  // Which original row's channel each row holds now (0 for none).
  std::vector<int> origins() const {
    std::vector<int> out;
    for (int r = 1; r <= 128; ++r) {
      std::string t = rx(r);
      out.push_back(t.empty() ? 0 : static_cast<int>((std::stoll(t) - 40000000) / 50000));
    }
    return out;
  }
  // The origins of rows from..to.
  std::vector<int> originsOf(int from, int to) const {
    auto o = origins();
    return std::vector<int>(o.begin() + from - 1, o.begin() + to);
  }
  std::vector<int> rowsHolding() const {
    std::vector<int> out;
    for (int r = 1; r <= 128; ++r)
      if (ws.working.findChannel(r)) out.push_back(r);
    return out;
  }
  int16_t &bank(int g) { return ws.working.scan.words[g]; }
  int origin(int row) const { return origins()[row - 1]; }
  int dw() const { return ws.working.function.dwChannel + 1; }
  int current() const { return ws.working.standAlone.currentChannel + 1; }
};

// Structural soundness of the channel list after a command.
void ExpectSound(const Plan &p) {
  const CodeplugData &d = p.ws.working;
  std::set<int> seen;
  for (int k = 1; k <= d.channelCount; ++k) {
    int n = d.channels[k - 1].number;
    EXPECT_TRUE(n >= 1 && n <= 128) << n;
    EXPECT_TRUE(seen.insert(n).second) << "channel " << n << " twice";
    EXPECT_EQ(d.channels[k - 1].inUse, 1);
  }
  for (int g = 1; g <= 8; ++g) {
    int c = d.scan.words[g];
    auto members = FillGroupChannels(d, g);
    if (c == 255) continue;
    ASSERT_TRUE(c >= 1 && c <= 16) << "bank " << g;
    EXPECT_NE(std::find(members.begin(), members.end(), (g - 1) * 16 + c), members.end())
        << "bank " << g << " names a channel that is not there";
  }
}

// ---- block clipboard ---------------------------------------------------------------------

TEST(BlockClipboard, CopyHoldsChannelsAndGapsAndPasteRebuildsThemElsewhere) {
  Plan p{3, 4, 6, 20, 21};
  BlockClipboard clip;
  CopyBlock(p.ws.working, clip, {3, 4, 5, 6});
  ASSERT_EQ(clip.rows.size(), 4u);
  EXPECT_FALSE(clip.rows[2].has_value());
  EXPECT_EQ(p.heard.all + p.heard.single, 0) << "copy changes nothing";

  // Rows 20..23: 20 and 21 are overwritten, the gap lands on 22 (empty anyway).
  PastePreview pre = PreviewPaste(p.ws.working, clip, 20);
  EXPECT_EQ(pre.overwritten, 2);
  EXPECT_EQ(pre.pastEnd, 0);
  EXPECT_TRUE(pre.ask);
  EXPECT_NE(PasteQuestion(pre).find("2 existing channel(s) will be overwritten."), std::string::npos);
  EXPECT_EQ(PasteBlock(p.ctx, clip, 20), BlockOutcome::Done);
  EXPECT_EQ(p.origin(20), 3);
  EXPECT_EQ(p.origin(21), 4);
  EXPECT_EQ(p.origin(22), 0);
  EXPECT_EQ(p.origin(23), 6);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{3, 4, 6, 20, 21, 23}));
  EXPECT_EQ(p.heard.all, 1);
  // A paste onto empty rows asks nothing.
  EXPECT_FALSE(PreviewPaste(p.ws.working, clip, 40).ask);
  ExpectSound(p);
}

TEST(BlockClipboard, PasteAtTheEndDropsWhatFallsPastRow128AndAGapClearsItsRow) {
  Plan p{1, 2, 4, 126, 128};
  BlockClipboard clip;
  CopyBlock(p.ws.working, clip, {1, 2, 3, 4});  // channel, channel, gap, channel
  PastePreview pre = PreviewPaste(p.ws.working, clip, 127);
  EXPECT_EQ(pre.overwritten, 1);  // row 128
  EXPECT_EQ(pre.pastEnd, 1);      // the channel of row 4 only: the gap is not counted
  EXPECT_NE(PasteQuestion(pre).find("1 channel(s) fall past channel 128"), std::string::npos);
  EXPECT_EQ(PasteBlock(p.ctx, clip, 127), BlockOutcome::Done);
  EXPECT_EQ(p.origin(127), 1);
  EXPECT_EQ(p.origin(128), 2);
  EXPECT_EQ(p.ws.working.channelCount, 6);

  // A gap of the block lands on a channel: that channel goes, as pasting "no channel" does.
  CopyBlock(p.ws.working, clip, {2, 3});
  EXPECT_EQ(PreviewPaste(p.ws.working, clip, 125).overwritten, 1);
  PasteBlock(p.ctx, clip, 125);
  EXPECT_EQ(p.origin(125), 2);
  EXPECT_EQ(p.origin(126), 0);
  ExpectSound(p);
}

TEST(BlockClipboard, PasteOverlappingItsSourceAndCutThenPaste) {
  Plan p{1, 2, 3, 4, 10};
  BlockClipboard clip;
  CopyBlock(p.ws.working, clip, RowRange(1, 4));
  PasteBlock(p.ctx, clip, 3);
  EXPECT_EQ(p.originsOf(1, 7), (std::vector<int>{1, 2, 1, 2, 3, 4, 0}));

  Plan q{1, 2, 3, 4, 10};
  ASSERT_EQ(CutBlock(q.ctx, clip, RowRange(2, 3)), BlockOutcome::Done);
  EXPECT_EQ(q.rowsHolding(), (std::vector<int>{1, 4, 10}));
  PasteBlock(q.ctx, clip, 3);
  EXPECT_EQ(q.rowsHolding(), (std::vector<int>{1, 3, 4, 10}));
  EXPECT_EQ(q.origin(3), 2);
  EXPECT_EQ(q.origin(4), 3);
  // Cut is never refused, even of every channel.
  EXPECT_EQ(CutBlock(q.ctx, clip, RowRange(1, 128)), BlockOutcome::Done);
  EXPECT_EQ(q.ws.working.channelCount, 0);
  EXPECT_EQ(clip.rows.size(), 128u);
  ExpectSound(q);
}

TEST(BlockClipboard, DeleteKeepsTheLastChannel) {
  Plan p{5, 6, 7};
  EXPECT_EQ(DeleteBlock(p.ctx, {6, 7}), BlockOutcome::Done);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{5}));
  // One channel left: refused whatever the rows hold, with the usual message.
  EXPECT_EQ(DeleteBlock(p.ctx, {4, 5, 6}), BlockOutcome::LastChannel);
  EXPECT_EQ(DeleteBlock(p.ctx, {1, 2}), BlockOutcome::LastChannel);
  EXPECT_EQ(BlockOutcomeMessage(BlockOutcome::LastChannel), "At least one channel must be reserved");
  EXPECT_EQ(p.ws.working.channelCount, 1);

  Plan q{5, 6, 7, 40};
  EXPECT_EQ(DeleteBlock(q.ctx, RowRange(1, 128)), BlockOutcome::LastChannelKept);
  EXPECT_EQ(q.rowsHolding(), (std::vector<int>{5}));
  EXPECT_EQ(q.bank(3), 255);  // bank 3 lost its only channel
  SetLanguageIndex(kChinese);
  EXPECT_EQ(BlockOutcomeMessage(BlockOutcome::LastChannelKept), "至少要保留一个信道");
  SetLanguageIndex(kEnglish);
  ExpectSound(q);
}

// Every command on a one-row selection or a one-row clipboard does exactly what the
// single-channel clipboard does, listeners included.
TEST(BlockClipboard, OneRowIsTheSingleChannelCommand) {
  auto both = [](auto block, auto singleCmd) {
    Plan a{2, 3, 17}, b{2, 3, 17};
    a.bank(1) = 3;
    b.bank(1) = 3;
    block(a);
    singleCmd(b);
    EXPECT_TRUE(a.ws.working == b.ws.working);
    EXPECT_EQ(a.heard.single, b.heard.single);
    EXPECT_EQ(a.heard.all, b.heard.all);
  };
  for (int row : {2, 4, 17}) {
    both([&](Plan &p) { BlockClipboard c; CutBlock(p.ctx, c, {row}); PasteBlock(p.ctx, c, 3); },
         [&](Plan &p) {
           ChannelClipboard c;
           SetCHEdit(p.ctx, c, ChannelEditCommandKey::Cut, row);
           SetCHEdit(p.ctx, c, ChannelEditCommandKey::Paste, 3);
         });
    both([&](Plan &p) { BlockClipboard c; CopyBlock(p.ws.working, c, {row}); PasteBlock(p.ctx, c, 20); },
         [&](Plan &p) {
           ChannelClipboard c;
           SetCHEdit(p.ctx, c, ChannelEditCommandKey::Copy, row);
           SetCHEdit(p.ctx, c, ChannelEditCommandKey::Paste, 20);
         });
    both([&](Plan &p) { DeleteBlock(p.ctx, {row}); },
         [&](Plan &p) { ChannelClipboard c; SetCHEdit(p.ctx, c, ChannelEditCommandKey::Delete, row); });
  }
  BlockClipboard empty;
  Plan p{1};
  EXPECT_EQ(PasteBlock(p.ctx, empty, 1), BlockOutcome::EmptyClipboard);
  EXPECT_FALSE(PreviewPaste(p.ws.working, empty, 1).ask);
}

// ---- renumbering -------------------------------------------------------------------------

TEST(Renumbering, MoveSwapsWithTheNeighbourAndTheSettingsFollow) {
  Plan p{3, 4, 5, 9};
  p.ws.working.function.dwChannel = 4 - 1;
  p.ws.working.standAlone.currentChannel = 5 - 1;
  p.bank(1) = 3;
  RowSelection moved;
  ASSERT_EQ(MoveRows(p.ctx, {3, 4}, -1, &moved), BlockOutcome::Done);
  EXPECT_EQ(moved, (RowSelection{2, 3}));
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{2, 3, 5, 9}));
  EXPECT_EQ(p.origin(2), 3);
  EXPECT_EQ(p.origin(3), 4);
  EXPECT_EQ(p.dw(), 3);       // channel 4 is now row 3
  EXPECT_EQ(p.current(), 5);  // untouched
  EXPECT_EQ(p.bank(1), 2);
  EXPECT_EQ(p.heard.all, 1);

  // Down with a split selection: each run passes its neighbour.
  ASSERT_EQ(MoveRows(p.ctx, {3, 5}, +1, &moved), BlockOutcome::Done);
  EXPECT_EQ(moved, (RowSelection{4, 6}));
  EXPECT_EQ(p.origin(4), 4);
  EXPECT_EQ(p.origin(6), 5);
  EXPECT_EQ(p.current(), 6);
  EXPECT_EQ(p.dw(), 4);

  EXPECT_EQ(MoveRows(p.ctx, {1, 2}, -1), BlockOutcome::Unchanged);
  EXPECT_EQ(MoveRows(p.ctx, {128}, +1), BlockOutcome::Unchanged);
  ExpectSound(p);
}

TEST(Renumbering, MoveStepsPastHiddenRowsAsOneUndoStep) {
  Plan p{2, 6, 7, 12};
  p.ws.working.function.dwChannel = 12 - 1;
  p.ws.history.clear();
  HiddenRows hidden{};
  for (int r = 1; r <= 128; ++r) hidden[r] = !p.ws.working.findChannel(r);
  RowSelection moved;
  // 12 passes the shown channel 7; the empty rows 8..11 go below it.
  ASSERT_EQ(MoveRows(p.ctx, {12}, -1, &moved, &hidden), BlockOutcome::Done);
  EXPECT_EQ(moved, (RowSelection{7}));
  EXPECT_EQ(p.originsOf(6, 8), (std::vector<int>{6, 12, 7}));
  EXPECT_EQ(p.dw(), 7);
  EXPECT_EQ(p.heard.all, 1);      // one redraw
  EXPECT_EQ(p.heard.settings, 1);  // the DW channel moved: the settings windows redraw
  EXPECT_EQ(p.ws.history.undoCaption()->english, "Move Up");
  ASSERT_TRUE(UndoEdit(p.ctx));
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{2, 6, 7, 12}));
  EXPECT_EQ(p.dw(), 12);
  EXPECT_FALSE(p.ws.history.canUndo());

  // Without a shown row to pass, it runs to the edge; at the edge nothing changes.
  for (int r = 1; r <= 128; ++r) hidden[r] = !p.ws.working.findChannel(r);
  ASSERT_EQ(MoveRows(p.ctx, {2}, -1, &moved, &hidden), BlockOutcome::Done);
  EXPECT_EQ(moved, (RowSelection{1}));
  EXPECT_EQ(MoveRows(p.ctx, {1}, -1, &moved, &hidden), BlockOutcome::Unchanged);
  ExpectSound(p);
}

TEST(Renumbering, EachCommandIsOneNamedStepAndSettingsHearOnlyWhenTheyMoved) {
  Plan p{1, 3, 5};
  p.ws.history.clear();
  ASSERT_EQ(InsertRows(p.ctx, 2), BlockOutcome::Done);
  EXPECT_EQ(p.ws.history.undoCaption()->english, "Insert Row");
  EXPECT_EQ(p.heard.settings, 0);  // DW and current channel stay on channel 1
  ASSERT_EQ(SortRows(p.ctx, {}, true), BlockOutcome::Done);
  EXPECT_EQ(p.ws.history.undoCaption()->english, "Sort Descending");
  EXPECT_EQ(p.heard.settings, 1);  // channel 1 (DW, current) went to the end
  ASSERT_EQ(CompactChannels(p.ctx), BlockOutcome::Done);
  EXPECT_EQ(p.ws.history.undoCaption()->english, "Compact Channels");
  ASSERT_EQ(DeleteRows(p.ctx, {1}), BlockOutcome::Done);
  EXPECT_EQ(p.ws.history.undoCaption()->english, "Delete Row");
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(UndoEdit(p.ctx));
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{1, 3, 5}));
  EXPECT_FALSE(p.ws.history.canUndo());
}

TEST(Renumbering, MoveBlockClosesUpBehindIt) {
  Plan p{2, 3, 4, 5, 6, 7};
  ASSERT_EQ(MoveBlock(p.ctx, 5, 7, 2), BlockOutcome::Done);
  EXPECT_EQ(p.originsOf(2, 7), (std::vector<int>{5, 6, 7, 2, 3, 4}));
  ASSERT_EQ(MoveBlock(p.ctx, 2, 4, 10), BlockOutcome::Done);
  EXPECT_EQ(p.originsOf(2, 12), (std::vector<int>{2, 3, 4, 0, 0, 0, 0, 0, 5, 6, 7}));
  EXPECT_EQ(MoveBlock(p.ctx, 1, 3, 127), BlockOutcome::BadRow);
  EXPECT_EQ(MoveBlock(p.ctx, 0, 3, 5), BlockOutcome::BadRow);
  EXPECT_EQ(MoveBlock(p.ctx, 4, 4, 4), BlockOutcome::Unchanged);
}

TEST(Renumbering, APriorityChannelThatLeavesItsBankIsTakenByTheNextBankOrRepaired) {
  // Row 16 is bank 1's priority channel; bank 2 has none (no channels).
  Plan p{10, 16};
  p.bank(1) = 16;
  ASSERT_EQ(p.bank(2), 255);
  ASSERT_EQ(MoveRows(p.ctx, {16}, +1), BlockOutcome::Done);
  EXPECT_EQ(p.bank(2), 1) << "row 17 stays a priority channel";
  EXPECT_EQ(p.bank(1), 10) << "bank 1 repaired onto its remaining channel";

  // Bank 2 already has its own priority channel: it keeps it, bank 1's is repaired.
  Plan q{10, 16, 20};
  q.bank(1) = 16;
  q.bank(2) = 4;
  InsertRows(q.ctx, 12);
  EXPECT_EQ(q.origin(17), 16);
  EXPECT_EQ(q.bank(2), 5);   // channel 20 is row 21 now
  EXPECT_EQ(q.bank(1), 10);
  // Bank 1 without any channel left: none.
  Plan r{16};
  r.bank(1) = 16;
  InsertRows(r.ctx, 1);
  EXPECT_EQ(r.bank(1), 255);
  EXPECT_EQ(r.bank(2), 1);
  ExpectSound(r);
}

TEST(Renumbering, InsertRowIsRefusedWhenTheLastRowsAreInUse) {
  Plan p{1, 2, 128};
  EXPECT_EQ(InsertRows(p.ctx, 1), BlockOutcome::LastRowInUse);
  EXPECT_NE(BlockOutcomeMessage(BlockOutcome::LastRowInUse).find("past channel 128"), std::string::npos);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{1, 2, 128}));
  EXPECT_EQ(p.heard.all, 0);

  Plan q{1, 2, 126};
  q.ws.working.standAlone.currentChannel = 126 - 1;
  EXPECT_EQ(InsertRows(q.ctx, 2, 2), BlockOutcome::Done);
  EXPECT_EQ(q.rowsHolding(), (std::vector<int>{1, 4, 128}));
  EXPECT_EQ(q.current(), 128);
  EXPECT_EQ(InsertRows(q.ctx, 2), BlockOutcome::LastRowInUse);
  EXPECT_EQ(InsertRows(q.ctx, 0), BlockOutcome::BadRow);
}

TEST(Renumbering, DeleteRowClosesUpAndRepairsWhatNamedTheDeletedChannel) {
  Plan p{3, 5, 6, 8, 20};
  p.ws.working.function.dwChannel = 5 - 1;          // deleted below
  p.ws.working.standAlone.currentChannel = 8 - 1;   // moves up by two
  p.bank(1) = 5;
  ASSERT_EQ(DeleteRows(p.ctx, {4, 5}), BlockOutcome::Done);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{3, 4, 6, 18}));
  EXPECT_EQ(p.origin(4), 6);
  EXPECT_EQ(p.current(), 6);
  EXPECT_EQ(p.dw(), 3) << "the DW channel goes to the first channel left";
  EXPECT_EQ(p.bank(1), 6) << "repaired onto the bank's channel last in list order";

  // Deleting an empty row with one channel left is allowed; deleting its row is not.
  Plan q{10};
  EXPECT_EQ(DeleteRows(q.ctx, {2}), BlockOutcome::Done);
  EXPECT_EQ(q.rowsHolding(), (std::vector<int>{9}));
  EXPECT_EQ(DeleteRows(q.ctx, {9}), BlockOutcome::LastChannel);
  Plan r{10, 12};
  EXPECT_EQ(DeleteRows(r.ctx, RowRange(1, 20)), BlockOutcome::LastChannelKept);
  EXPECT_EQ(r.rowsHolding(), (std::vector<int>{1}));
  EXPECT_EQ(r.origin(1), 10);
}

TEST(Renumbering, SortKeepsTheGapsAndEqualFrequenciesInOrder) {
  Plan p{2, 4, 5, 7, 30};
  // Give row 7 the lowest frequency and row 5 the same frequency as row 2.
  ChangeChannel(p.ctx, 1, 7, 1, "400.10000");
  ChangeChannel(p.ctx, 1, 5, 1, rxFor(2));
  ChangeChannel(p.ctx, 1, 5, 5, "High");  // tells it apart from row 2
  p.ws.working.standAlone.currentChannel = 7 - 1;
  ASSERT_EQ(SortRows(p.ctx, RowRange(1, 8), false), BlockOutcome::Done);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{2, 4, 5, 7, 30}));
  EXPECT_EQ(p.rx(2), "40010000");
  EXPECT_EQ(p.origin(4), 2);
  EXPECT_EQ(p.origin(5), 2);
  EXPECT_EQ(p.channel(5).power, 2) << "the old row 5 (same frequency) stays after the old row 2";
  EXPECT_EQ(p.channel(4).power, 1);
  EXPECT_EQ(p.origin(7), 4);
  EXPECT_EQ(p.current(), 2);
  EXPECT_EQ(p.origin(30), 30) << "outside the range";

  ASSERT_EQ(SortRows(p.ctx, {}, true), BlockOutcome::Done);
  EXPECT_EQ(p.origin(2), 30);
  EXPECT_EQ(p.rx(30), "40010000");
  EXPECT_EQ(p.current(), 30);
  EXPECT_EQ(SortRows(p.ctx, {}, true), BlockOutcome::Unchanged);
  ExpectSound(p);
}

TEST(Renumbering, CompactRunsTheChannelsFromOne) {
  Plan p{4, 9, 40, 100};
  p.bank(1) = 9;
  p.bank(7) = 4;   // row 100
  p.bank(3) = 8;   // row 40
  p.ws.working.function.dwChannel = 100 - 1;
  ASSERT_EQ(CompactChannels(p.ctx), BlockOutcome::Done);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(p.originsOf(1, 4), (std::vector<int>{4, 9, 40, 100}));
  EXPECT_EQ(p.dw(), 4);
  // Bank 1 keeps its own choice (old row 9); the priority channels of banks 3 and 7 moved
  // into bank 1 and their banks have no channel left.
  EXPECT_EQ(p.bank(1), 2);
  EXPECT_EQ(p.bank(3), 255);
  EXPECT_EQ(p.bank(7), 255);
  EXPECT_EQ(CompactChannels(p.ctx), BlockOutcome::Unchanged);
  ExpectSound(p);
}

TEST(Renumbering, CompactTakesAChannelAt128AndSortPutsAnUnreadableFrequencyLast) {
  Plan p{5, 128};
  ASSERT_EQ(CompactChannels(p.ctx), BlockOutcome::Done);
  EXPECT_EQ(p.rowsHolding(), (std::vector<int>{1, 2}));
  EXPECT_EQ(p.originsOf(1, 2), (std::vector<int>{5, 128}));

  Plan q{2, 4, 6};
  q.channel(2).rx.assign("4A000000");  // damaged: no frequency can be read from it
  ASSERT_EQ(SortRows(q.ctx, {}, false), BlockOutcome::Done);
  EXPECT_EQ(q.rx(2), "40200000");
  EXPECT_EQ(q.rx(4), "40300000");
  EXPECT_EQ(q.rx(6), "4A000000");
  ASSERT_EQ(SortRows(q.ctx, {}, true), BlockOutcome::Done);
  EXPECT_EQ(q.rx(2), "40300000");
  EXPECT_EQ(q.rx(6), "4A000000") << "last either way";
}

TEST(Renumbering, AMapThatIsNoPermutationIsRefusedAndSaysSo) {
  Plan p{1, 2};
  RowMap m = RowMap::Identity();
  m.to[1] = 2;  // rows 1 and 2 both to row 2
  const CodeplugData before = p.ws.working;
  EXPECT_FALSE(ApplyRowMap(p.ctx, m));
  EXPECT_EQ(p.ws.working, before);
  EXPECT_EQ(p.heard.all + p.heard.settings, 0);
  EXPECT_NE(BlockOutcomeMessage(BlockOutcome::Refused).find("Nothing was changed"), std::string::npos);
}

// The scan window, open: it shows again whatever the commands leave.
struct OpenScanWindow : ChannelListener {
  int shown = 0;
  void allChannelsChanged() override { ++shown; }
  bool reshowScanChoices() override { return true; }
};

// Each renumbering leaves the same plan and the same priority channels whether the scan
// window is open or not, and undo gives back the plan as it was.
TEST(Renumbering, AnOpenScanWindowChangesNothingOfTheResult) {
  const std::vector<std::pair<const char *, std::function<BlockOutcome(ChannelContext &)>>> commands = {
      {"sort", [](ChannelContext &c) { return SortRows(c, {}, true); }},
      {"move", [](ChannelContext &c) { return MoveBlock(c, 33, 48, 1); }},
      {"move down", [](ChannelContext &c) { return MoveRows(c, {100}, +1); }},
      {"compact", [](ChannelContext &c) { return CompactChannels(c); }},
      {"insert row", [](ChannelContext &c) { return InsertRows(c, 1, 10); }},
      {"delete row", [](ChannelContext &c) { return DeleteRows(c, {40}); }},
  };
  for (const auto &[name, run] : commands) {
    Plan closed{4, 9, 40, 100, 112}, open{4, 9, 40, 100, 112};
    for (Plan *p : {&closed, &open}) {
      p->bank(1) = 9;
      p->bank(3) = 8;   // row 40
      p->bank(7) = 4;   // row 100
    }
    const CodeplugData before = open.ws.working;
    OpenScanWindow window;
    open.ctx.addListener(&window);
    ASSERT_EQ(run(closed.ctx), BlockOutcome::Done) << name;
    ASSERT_EQ(run(open.ctx), BlockOutcome::Done) << name;
    EXPECT_EQ(open.ws.working.scan.words, closed.ws.working.scan.words) << name;
    EXPECT_EQ(open.ws.working, closed.ws.working) << name;
    EXPECT_GT(window.shown, 0) << name;
    ExpectSound(open);
    ASSERT_TRUE(UndoEdit(open.ctx)) << name;
    EXPECT_EQ(open.ws.working, before) << name;
  }
}

// The valid and scan-add bits a write sends follow the channels.
TEST(Renumbering, TheImageBitsFollowTheChannel) {
  Plan p{1, 3};
  p.channel(3).scanAdd = 0;
  MoveBlock(p.ctx, 3, 3, 10);
  EncodeImage(p.ws);
  auto bit = [&](std::size_t base, int n) { return (p.ws.image.at(base + (n - 1) / 8) >> ((n - 1) % 8)) & 1; };
  EXPECT_EQ(bit(mem::kValidBitmap, 10), 1);
  EXPECT_EQ(bit(mem::kValidBitmap, 3), 0);
  EXPECT_EQ(bit(mem::kScanAddBitmap, 10), 0);
  EXPECT_EQ(bit(mem::kScanAddBitmap, 1), 1);
}

// A 40-channel plan regrouped by a long run of random commands: after each one the list is
// sound and every setting still names the channel it named, unless that channel was removed
// (or, for a priority channel, left its bank). Channels are told apart by a tag in word 36.
TEST(Renumbering, RandomRegroupingKeepsTheSettingsOnTheirChannels) {
  std::mt19937 rng(16);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Plan p(std::initializer_list<int>{});
  for (int i = 0; i < 40; ++i) {
    int r = pick(1, 100);
    if (!p.exists(r)) p.add(r);
  }
  auto anyRow = [&] {
    auto rows = p.rowsHolding();
    return rows[pick(0, static_cast<int>(rows.size()) - 1)];
  };
  p.ws.working.function.dwChannel = static_cast<int16_t>(anyRow() - 1);
  p.ws.working.standAlone.currentChannel = static_cast<int16_t>(anyRow() - 1);
  int nextTag = 1;
  auto tagAt = [&](int row) {
    int slot = p.ws.working.findChannel(row);
    return slot ? int(p.ws.working.slot(slot)->w36) : 0;
  };

  BlockClipboard clip;
  for (int step = 0; step < 300; ++step) {
    for (int k = 1; k <= p.ws.working.channelCount; ++k)  // pasted copies get tags of their own
      p.ws.working.channels[k - 1].w36 = static_cast<uint16_t>(nextTag++);
    const int dwTag = tagAt(p.dw()), curTag = tagAt(p.current());
    std::map<int, int> bankTag;
    for (int g = 1; g <= 8; ++g)
      if (p.bank(g) != 255) bankTag[g] = tagAt((g - 1) * 16 + p.bank(g));
    const int countBefore = p.ws.working.channelCount;
    bool renumbers = true;
    int a = pick(1, 128), b = pick(1, 128);
    switch (pick(0, 7)) {
      case 0: MoveRows(p.ctx, RowRange(a, std::min(128, a + pick(0, 5))), pick(0, 1) ? 1 : -1); break;
      case 1: InsertRows(p.ctx, a, pick(1, 3)); break;
      case 2: DeleteRows(p.ctx, {a}); break;
      case 3: SortRows(p.ctx, RowRange(a, b), pick(0, 1)); break;
      case 4: CompactChannels(p.ctx); break;
      case 5: MoveBlock(p.ctx, a, std::min(128, a + pick(0, 8)), b); break;
      case 6: CopyBlock(p.ws.working, clip, RowRange(a, std::min(128, a + pick(0, 6)))); renumbers = false; break;
      case 7: PasteBlock(p.ctx, clip, a); renumbers = false; break;
    }
    ExpectSound(p);
    if (HasFailure()) FAIL() << "step " << step;
    if (!renumbers) continue;
    std::map<int, int> rowOfTag;
    for (int r : p.rowsHolding()) rowOfTag[tagAt(r)] = r;
    EXPECT_GE(p.ws.working.channelCount + 1, countBefore) << "at most the deleted row goes";
    if (dwTag && rowOfTag.count(dwTag)) {
      EXPECT_EQ(p.dw(), rowOfTag[dwTag]);
    }
    if (curTag && rowOfTag.count(curTag)) {
      EXPECT_EQ(p.current(), rowOfTag[curTag]);
    }
    for (auto &[g, tag] : bankTag) {
      if (!tag || !rowOfTag.count(tag)) continue;
      int row = rowOfTag[tag];
      if ((row - 1) / 16 + 1 == g) {
        EXPECT_EQ((g - 1) * 16 + p.bank(g), row) << "bank " << g;
      }
    }
    if (HasFailure()) FAIL() << "step " << step;
  }
}

TEST(FindChannel, FindsFrequenciesAndTonesAfterTheCurrentRow) {
  Plan p{3, 8, 50};
  ChangeChannel(p.ctx, 1, 8, 3, "D023N");
  ChangeChannel(p.ctx, 1, 50, 4, "67.0");
  EXPECT_EQ(FindChannelRow(p.ctx, rxFor(8), 0), 8);
  EXPECT_EQ(FindChannelRow(p.ctx, "40", 3), 8);   // a leading part; the search starts after row 3
  EXPECT_EQ(FindChannelRow(p.ctx, "40", 50), 3);  // wraps past row 128
  EXPECT_EQ(FindChannelRow(p.ctx, "d023n", 1), 8);
  EXPECT_EQ(FindChannelRow(p.ctx, "67", 1), 50);
  EXPECT_EQ(FindChannelRow(p.ctx, "470", 1), 0);
  EXPECT_EQ(FindChannelRow(p.ctx, "  ", 1), 0);
}

}  // namespace
}  // namespace n27
