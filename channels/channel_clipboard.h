#pragma once
// The channel clipboard of the grid: Cut, Copy, Paste and Delete of the main window's Channel
// Edit menu, applied to the channel of the grid's current row.
//
// The clipboard holds a whole channel entry or, after a copy or cut of an empty row, the
// mark "no channel"; pasting that mark deletes the channel it is pasted on.

#include <optional>

#include "channels/channel_context.h"
#include "codeplug/codeplug_data.h"

namespace n27 {

enum class ChannelEditCommandKey : char { Copy = 'C', Cut = 'X', Paste = 'V', Delete = 'D' };

struct ChannelClipboard {
  bool filled = false;                   // set by Copy and Cut
  std::optional<ChannelRecord> channel;  // empty: the clipboard holds "no channel"
};

enum class ChannelEditOutcome {
  Done,           // listeners heard channelChanged(number)
  LastChannel,    // Delete of the only channel is refused: "At least one channel must be reserved"
  EmptyClipboard, // Paste before any Copy or Cut: nothing happens
  BadChannel,     // a number outside 1..128
};

// SetCHEdit on channel `number`:
//   Copy   the channel's entry (or "no channel") into the clipboard;
//   Cut    the same, then the channel is deleted (the last channel too);
//   Paste  the clipboard's entry replaces the channel (keeping its number) or is appended with
//          that number; "no channel" deletes the channel;
//   Delete removes the channel unless it is the only one left.
// Scan bank choices are repaired after every removal and addition.
ChannelEditOutcome SetCHEdit(ChannelContext &ctx, ChannelClipboard &clipboard,
                             ChannelEditCommandKey command, int number);

}  // namespace n27
