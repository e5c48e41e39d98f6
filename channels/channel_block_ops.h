#pragma once
// Channel plan commands on rows of the channel grid: a block clipboard (copy, cut, paste and
// delete of several rows at once), moving channels up and down, inserting and deleting rows,
// sorting by RX frequency and closing the gaps.
//
// Rows are channel numbers 1..128. Each command is one function call that changes the
// working copy and then tells the listeners (allChannelsChanged, or channelChanged for a
// single row). Each is one undo step named after it ("Move Up", "Sort Ascending" …); a one-row
// clipboard command is the single-channel step ("Cut Channel 5"). A renumbering that moved the
// DW, current or priority channels also tells the listeners settingsChanged.
//
// Two kinds of command:
//  - The clipboard commands keep every channel at its number, like the single-channel
//    clipboard: a channel removed or added repairs the scan bank choices (RepairScanGroups);
//    the DW channel and the current channel are left as they are. A clipboard of one row and a
//    selection of one row behave exactly like the single-channel commands (SetCHEdit).
//  - The renumbering commands (move, insert row, delete row, sort, compact) move channels to
//    other numbers. Every setting that names a channel follows it: the scan bank priority
//    channels, the DW channel and the current channel (scan-add and valid bits travel with the
//    channel entry). See ApplyRowMap for what happens when a channel is removed or leaves its
//    scan bank.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "channels/channel_context.h"
#include "codeplug/codeplug_data.h"

namespace n27 {

// Rows of a selection: ascending, no repeats, each in 1..128.
using RowSelection = std::vector<int>;
// Sorts, drops repeats and rows outside 1..128.
RowSelection NormaliseRows(std::vector<int> rows);
// Rows first..last (either order), clamped to 1..128.
RowSelection RowRange(int first, int last);
// "5" or "5-7" (blanks allowed around the numbers): the rows first and last, each in 1..128
// and first <= last; nullopt for anything else.
std::optional<std::pair<int, int>> ParseRowRange(std::string_view text);

enum class BlockOutcome {
  Done,             // the command changed the channels; listeners were told
  Unchanged,        // nothing to do (a move past the first or last row, an empty selection …)
  LastChannel,      // refused: the list holds one channel ("At least one channel must be reserved")
  LastChannelKept,  // done, but the first selected channel was kept so that one channel is left
  EmptyClipboard,   // paste before any copy or cut
  LastRowInUse,     // insert refused: the channels at the end of the list have no row to go to
  BadRow,           // a row outside 1..128, or a block that does not fit
  Refused,          // the renumbering was refused (ApplyRowMap); nothing changed
};

// The message a refused or partly done command shows (current language), or empty.
std::string BlockOutcomeMessage(BlockOutcome outcome);

// ---- block clipboard ----------------------------------------------------------------------

struct BlockClipboard {
  bool filled = false;                              // set by copy and cut
  std::vector<std::optional<ChannelRecord>> rows;   // in row order; empty: a row without channel
};

// Copies the selected rows: their channels in order, a row without a channel as a gap.
// Nothing changes; no listener is told.
void CopyBlock(const CodeplugData &data, BlockClipboard &clipboard, const RowSelection &rows);
// Copies, then deletes the selected channels (the last channel too, as a single cut).
BlockOutcome CutBlock(ChannelContext &ctx, BlockClipboard &clipboard, const RowSelection &rows);

// What a paste at `row` would do, asked before it runs.
struct PastePreview {
  int rows = 0;         // rows the clipboard holds
  int overwritten = 0;  // existing channels replaced or cleared (a gap clears the row it lands on)
  int pastEnd = 0;      // clipboard channels that would fall past row 128 and be dropped
  bool ask = false;     // the caller asks OK / Cancel first (never for a one-row clipboard)
};
PastePreview PreviewPaste(const CodeplugData &data, const BlockClipboard &clipboard, int row);
// The OK / Cancel question for a preview that asks.
std::string PasteQuestion(const PastePreview &preview);
// Places the clipboard's rows from `row` on: a channel replaces or creates the channel of its
// row (taking that number), a gap deletes the channel of its row, what falls past row 128 is
// dropped. A one-row clipboard is exactly the single-channel paste.
BlockOutcome PasteBlock(ChannelContext &ctx, const BlockClipboard &clipboard, int row);
// Deletes the selected channels. With one channel in the list nothing changes (LastChannel);
// a selection holding every channel keeps its first one (LastChannelKept).
BlockOutcome DeleteBlock(ChannelContext &ctx, const RowSelection &rows);

// ---- renumbering --------------------------------------------------------------------------

// Moves rows first..last so that the block starts at row `at`; the rows in between close up
// on the other side (moving 5-7 to 2 puts 2..4 at 5..7). BadRow when the block would not fit.
BlockOutcome MoveBlock(ChannelContext &ctx, int first, int last, int at);
// Rows the grid does not show (empty rows while they are hidden), by row number.
using HiddenRows = std::array<bool, kMaxChannels + 1>;
// Alt+Up / Alt+Down: each run of selected rows moves one row up (direction −1) or down (+1),
// swapping with its neighbour. Unchanged when the selection touches row 1 (up) or 128 (down).
// With `hidden` rows, the selection keeps moving past hidden neighbours until it has passed a
// shown row (or reached the edge), as one command: a channel passes the channel shown above or
// below it and the hidden empty rows between end up on the other side.
// `moved` receives the rows where the selection now is.
BlockOutcome MoveRows(ChannelContext &ctx, const RowSelection &rows, int direction,
                      RowSelection *moved = nullptr, const HiddenRows *hidden = nullptr);
// Inserts `count` empty rows at `row`: the channels from there on move down. Refused when a
// channel would be pushed past row 128 (LastRowInUse).
BlockOutcome InsertRows(ChannelContext &ctx, int row, int count = 1);
// Deletes the selected rows: their channels are deleted and the following channels move up.
// Same last-channel rule as DeleteBlock.
BlockOutcome DeleteRows(ChannelContext &ctx, const RowSelection &rows);
// Sorts the channels of the selected rows (all rows when the selection is empty) by RX
// frequency; rows without a channel stay where they are; equal frequencies keep their order.
BlockOutcome SortRows(ChannelContext &ctx, const RowSelection &rows, bool descending);
// Closes the gaps: the channels keep their order and become 1..n.
BlockOutcome CompactChannels(ChannelContext &ctx);

// A renumbering: where each row goes (to[1..128] a permutation of 1..128; to[0] unused) and
// which rows lose their channel. Channels move to their new rows; settings follow:
//  - DW channel and current channel naming a moved channel follow it; naming a removed channel
//    they go to the first channel left (what the Function Setup window shows then); naming a
//    row without a channel they follow the row (and so still name no channel).
//  - A scan bank choice follows its channel while it stays in the bank. A bank whose choice
//    left the bank or was removed takes a channel that was another bank's choice and moved
//    in, otherwise it is repaired as RepairScanGroups does (the bank's channel last in list
//    order, or 255). An open scan window changes nothing of this: it shows the result.
// Listeners hear allChannelsChanged. False (and nothing changes, no listener is told) when
// `to` is not a permutation; the commands then answer Refused.
struct RowMap {
  std::array<int, kMaxChannels + 1> to{};
  std::array<bool, kMaxChannels + 1> removed{};
  static RowMap Identity();
};
bool ApplyRowMap(ChannelContext &ctx, const RowMap &map);

// ---- finding ------------------------------------------------------------------------------

// The next row after `afterRow` (wrapping past 128 to 1, `afterRow` itself last) whose channel
// shows `text` in its RX or TX frequency (as shown, "462.125" matches 462.12500; a leading
// part matches) or in its decode or encode tone ("D023N", "67.0", case-insensitive); 0 when
// none does.
int FindChannelRow(const ChannelContext &ctx, const std::string &text, int afterRow);

}  // namespace n27
