#pragma once
// The channel list operations. Every channel edit of the program — grid, detail dialog,
// batch edit, command line — goes through ChangeChannel or these operations; nothing else
// writes a channel entry.
//
// A channel is addressed by group and channel: number = (group − 1) · 128 + channel. The
// editors always pass group 1. The scan banks of 16 channels are a different division, used
// only by the scan bank choices (scan record words 1..8: position 1..16 within bank g, 255 none).

#include <string>
#include <string_view>
#include <vector>

#include "channels/channel_context.h"
#include "channels/field_codec.h"

namespace n27 {

inline constexpr int kChannelsPerGroup = 128;
inline constexpr int kScanBanks = 8;
inline constexpr int kChannelsPerBank = 16;
// The scan bank (1..8) of a channel number and its place (1..16) in that bank.
inline constexpr int BankOf(int number) { return (number - 1) / kChannelsPerBank + 1; }
inline constexpr int PositionInBank(int number) { return (number - 1) % kChannelsPerBank + 1; }
inline constexpr int kNoBankChannel = 255;
inline constexpr const char *kDecTableFile = "dec.tbl";

// The one entry point for edits:
//   1. RX/TX: a non-empty text is first checked with CheckFre (out-of-range message on);
//   2. an existing channel: an empty RX text deletes it, anything else goes through
//      SetChannelValue;
//   3. no entry: a non-empty RX text creates the channel (AddChannel); other edits do nothing
//      (NoChannel);
//   4. listeners hear channelChanged(number, refresh).
EditStatus ChangeChannel(ChannelContext &ctx, int group, int channel, int field,
                         std::string_view text, bool refresh = true);

// Appends a new channel with an RX display text: TX = RX clamped to the TX limits, tones Off,
// power Middle, 25 kHz, scan add on, everything else off/0; then RepairScanGroups.
EditStatus AddChannel(ChannelContext &ctx, int group, int channel, std::string_view rxText);
// Removes the entry at slot `position` (1..count), later entries move down; then
// RepairScanGroups. False for a position outside the list.
bool DeleteChannel(ChannelContext &ctx, int position);
// Keeps each scan bank choice on a channel that exists: a choice whose channel is gone
// becomes the bank's channel last in list order, or 255 when the bank has none. While the
// scan window is open (a listener says so) it reshows instead and nothing is stored.
void RepairScanGroups(ChannelContext &ctx);
// The channel numbers of scan bank `bank` (1..8) in the list, ascending.
std::vector<int> FillGroupChannels(const CodeplugData &data, int bank);
// Clamps every entry's TX frequency again (after band extension changed); listeners hear
// allChannelsChanged.
void ReLimitTxFre(ChannelContext &ctx);

// Loads the DCS decode table from <ws.programFolder>/dec.tbl (or the given path): entry i
// (1..83) is the i-th byte of the file, plus 256 for i > 50. A missing or short file shows
// "Read dec.TBL File Error!" and leaves the table as it was. Start-up goes on either way.
bool ReadDecTable(ChannelContext &ctx);
bool ReadDecTable(ChannelContext &ctx, const std::string &path);

}  // namespace n27
