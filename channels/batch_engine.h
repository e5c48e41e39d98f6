#pragma once
// Batch channel edit: sets chosen fields of a run of channels in one action — RX/TX by start
// and step, tones stepped through or picked at random from the tone list, and one value for
// the other chosen fields. The batch window (and `n27-cli batch`) fill a BatchInput and call
// ApplyBatch; the work goes through the channel operations.
//
// Which fields take part is a set of 20 item flags kept in "BatchFun.ini" (20 bytes, 0/1,
// in item order) in a folder the caller gives.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "channels/channel_context.h"

namespace n27 {

enum BatchItem : int {
  kItemRx = 0,
  kItemTx = 1,
  kItemDecode = 2,
  kItemEncode = 3,
  kItemPower = 4,
  kItemOptSignal = 5,
  kItemPttId = 6,
  kItemSpacing = 7,
  kItemBusyLock = 8,
  kItemReverseGroup = 9,   // the reverse/talkaround group box; sets nothing itself
  kItemRelation = 10,
  kItemCall1 = 11,
  kItemCall2 = 12,
  kItemScanAdd = 13,
  kItemScramble = 14,      // no channel value behind it
  kItemTxInhibit = 15,     // no channel value behind it
  kItemTalkaround = 16,
  kItemReverse = 17,
  kItemWhisper = 18,       // no channel value behind it
  kItemCompander = 19,
  kBatchItemCount = 20,
};

using BatchItems = std::array<uint8_t, kBatchItemCount>;
inline constexpr const char *kBatchFileName = "BatchFun.ini";

BatchItems DefaultBatchItems();
// Start-up: the 20 bytes of <folder>/BatchFun.ini, or the defaults (written to the file) when
// it is missing or shorter than 20 bytes; any non-zero byte counts as 1. Then the items
// optional signalling, signal relation, Call 1, Call 2, talkaround and reverse are off
// whatever the file held.
BatchItems LoadBatchItems(const std::string &folder);
// Writes all 20 bytes (after every change of an item box). False on failure.
bool SaveBatchItems(const std::string &folder, const BatchItems &items);

enum class TxMode { Default, Offset, Start };  // default: TX = RX
enum class OffsetSign { None, Plus, Minus };

// The window's inputs. Texts are as typed; ApplyBatch normalises them first.
struct BatchInput {
  // Range: all channels (1..32) or from/to (each 1..16, exchanged when to < from).
  bool allChannels = true;
  std::string fromText = "1";
  std::string toText = "16";
  bool clearOutside = false;     // delete channels 1..32 outside the range first

  std::string rxStart;           // MHz
  std::string rxStep;            // kHz
  bool rxIncreasing = true;

  TxMode txMode = TxMode::Default;
  std::string txOffset;          // MHz
  OffsetSign offsetSign = OffsetSign::Plus;
  std::string txStart;           // MHz
  std::string txStep;            // kHz
  bool txIncreasing = true;

  int decodeStart = 0;           // tone list position 0..282
  std::string decodeInterval = "1";
  bool decodeIncreasing = true;
  bool decodeRandom = false;

  int encodeStart = 0;
  std::string encodeInterval = "1";
  bool encodeIncreasing = true;
  bool encodeRandom = false;
  bool encodeDefault = false;    // encode = the channel's decode code

  // Value lists, as list positions = stored values.
  int power = 1;                 // 0 Low, 1 Middle, 2 High
  int optSignal = 0;             // 0 None, 1 DTMF, 2 FleetSync
  int pttId = 0;                 // 0 Off, 1 BOT, 2 EOT, 3 Both
  int spacing = 1;               // 0 12.5 kHz, 1 25 kHz
  int busyLock = 0;              // 0 Off, 1 Carrier, 2 Repeater, 3 Option Signalling
  int relation = 0;              // 0 And, 1 Or
  int call1 = 0;                 // 0..15, shown "1".."16"
  int call2 = 0;

  // Check boxes.
  bool scanAdd = true;
  bool scramble = false;
  bool txInhibit = false;
  bool talkaround = false;
  bool reverse = false;
  bool whisper = false;
  bool compander = false;
};

// A range text corrected as it is typed: above 16 → "16", at least 1 → its integer part,
// anything else → "1".
std::string CorrectRangeText(std::string_view text);
struct BatchRange {
  int from = 1;
  int to = 32;
};
BatchRange ResolveBatchRange(const BatchInput &input);

// Normalises the numeric inputs of the items that are on, as when they lose the focus:
// RX start and TX start through CheckFre (no message), steps and offset to their plain number
// or "0", tone intervals kept when numeric, else "0".
void NormalizeBatchInput(const ChannelContext &ctx, const BatchItems &items, BatchInput &input);

// A number in [0, 1). Tests pass a fixed sequence; empty = a generator seeded from the clock.
using RandomSource = std::function<double()>;
// A repeatable source: the same seed gives the same sequence.
RandomSource SeededRandom(uint64_t seed);

struct BatchResult {
  int created = 0;
  int changed = 0;   // existing channels of the range that took part
  int deleted = 0;   // by "clear outside the range"
};

// Runs the batch edit: normalise `input` (in place, for the window to show), clear outside
// the range when asked, then for each channel n of the range with k = n − from:
//   RX      start ± step·k/1000, clamped silently; creates a missing channel;
//   TX      (existing channels only, as all below) copy of RX, RX ± offset, or start ± step·k;
//   tones   random, or start ± interval·k wrapped into the 283 entries; encode may copy decode;
//   values  the chosen list position or check box value ("Repeater" becomes "Carrier" on a
//           channel without the tone it needs).
// Afterwards listeners hear allChannelsChanged and the scan bank choices are repaired.
BatchResult ApplyBatch(ChannelContext &ctx, const BatchItems &items, BatchInput &input,
                       RandomSource random = {});

}  // namespace n27
