#include "channels/batch_engine.h"

#include "channels/channel_changes.h"

#include <chrono>
#include <memory>
#include <random>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/paths.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

constexpr int kAllChannelsLast = 32;
constexpr int kRangeMax = 16;

constexpr BatchItems kDefaultItems = {1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
// Off at every start, whatever the file says.
constexpr int kOffAtStart[] = {kItemOptSignal, kItemRelation, kItemCall1,
                               kItemCall2,     kItemTalkaround, kItemReverse};

// The shortest decimal text of an exact value ("12.50" → "12.5", "-0" → "0").
std::string plainText(const Decimal &d) {
  std::string s = FormatFixed(RoundTo(d, Decimal::kScale, Rounding::HalfEven), Decimal::kScale, 1);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

Decimal numberOrZero(std::string_view text) { return ParseDecimal(text).value_or(Decimal{}); }

// start ± step·k / 1000 (MHz from a kHz step), written "#0.00000".
std::string stepped(const std::string &start, const std::string &step, bool increasing, int k) {
  Decimal f = numberOrZero(start);
  Decimal s = numberOrZero(step);
  __int128 delta = s.units * k;
  bool inexact = delta % 1000 != 0;
  delta /= 1000;
  f.units += increasing ? delta : -delta;
  f.inexact = f.inexact || s.inexact || inexact;
  return FormatFixed(RoundTo(f, 5, Rounding::HalfAwayFromZero), 5, 1);
}

int clampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// start ± interval·k, brought into the list by whole turns of it.
int steppedTone(int start, const std::string &interval, bool increasing, int k) {
  Decimal step = numberOrZero(interval);
  const __int128 unit = static_cast<__int128>(Decimal::fromInt(1).units);
  const __int128 turn = unit * kToneCount;
  __int128 pos = (static_cast<__int128>(clampInt(start, 0, kToneCount - 1)) * unit) % turn;
  __int128 delta = (step.units % turn) * k % turn;
  pos = ((increasing ? pos + delta : pos - delta) % turn + turn) % turn;
  Decimal d;
  d.units = pos;
  int p = static_cast<int>(RoundTo(d, 0, Rounding::HalfEven));
  return p % kToneCount;
}

int randomTone(const RandomSource &random) {
  double r = random();
  return clampInt(static_cast<int>(r * kToneCount), 0, kToneCount - 1);
}

}  // namespace

RandomSource SeededRandom(uint64_t seed) {
  auto engine = std::make_shared<std::mt19937_64>(seed);
  return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

BatchItems DefaultBatchItems() { return kDefaultItems; }

BatchItems LoadBatchItems(const std::string &folder) {
  BatchItems items = kDefaultItems;
  auto bytes = ReadWholeFile(JoinPath(folder, kBatchFileName));
  if (bytes && bytes->size() >= items.size()) {
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = (*bytes)[i] != 0 ? 1 : 0;
  } else {
    SaveBatchItems(folder, items);
  }
  for (int i : kOffAtStart) items[i] = 0;
  return items;
}

bool SaveBatchItems(const std::string &folder, const BatchItems &items) {
  std::string bytes;
  for (uint8_t b : items) bytes.push_back(static_cast<char>(b != 0 ? 1 : 0));
  return WriteFileAtomically(JoinPath(folder, kBatchFileName), bytes);
}

std::string CorrectRangeText(std::string_view text) {
  auto d = ParseDecimal(text);
  if (!d) return "1";
  if (*d > Decimal::fromInt(kRangeMax)) return std::to_string(kRangeMax);
  const auto one = Decimal::fromInt(1).units;
  if (d->units >= one) return std::to_string(static_cast<int64_t>(d->units / one));
  return "1";
}

BatchRange ResolveBatchRange(const BatchInput &input) {
  if (input.allChannels) return {1, kAllChannelsLast};
  int from = static_cast<int>(ParseInteger(CorrectRangeText(input.fromText)).value_or(1));
  int to = static_cast<int>(ParseInteger(CorrectRangeText(input.toText)).value_or(1));
  if (to < from) std::swap(from, to);
  return {from, to};
}

void NormalizeBatchInput(const ChannelContext &ctx, const BatchItems &items, BatchInput &in) {
  auto plainOrZero = [](std::string &t) {
    auto d = ParseDecimal(t);
    t = d ? plainText(*d) : "0";
  };
  auto keepIfNumeric = [](std::string &t) {
    if (!IsNumeric(t)) t = "0";
  };
  if (items[kItemRx]) {
    in.rxStart = FormatLimitedFre(ctx, in.rxStart, kFieldRx);
    plainOrZero(in.rxStep);
  }
  if (items[kItemTx]) {
    in.txStart = FormatLimitedFre(ctx, in.txStart, kFieldTx);
    plainOrZero(in.txOffset);
    plainOrZero(in.txStep);
  }
  if (items[kItemDecode]) keepIfNumeric(in.decodeInterval);
  if (items[kItemEncode]) keepIfNumeric(in.encodeInterval);
  in.fromText = CorrectRangeText(in.fromText);
  in.toText = CorrectRangeText(in.toText);
}

BatchResult ApplyBatch(ChannelContext &ctx, const BatchItems &items, BatchInput &in,
                       RandomSource random) {
  BatchResult result;
  EditStep undoStep(ctx.ws, step::BatchEdit());  // the whole run is one undo step
  NormalizeBatchInput(ctx, items, in);
  if ((items[kItemDecode] || items[kItemEncode]) && !random) random = SeededRandom(static_cast<uint64_t>(
        std::chrono::system_clock::now().time_since_epoch().count()));
  const BatchRange range = ResolveBatchRange(in);
  CodeplugData &data = ctx.ws.working;

  if (in.clearOutside) {
    for (int n = 1; n <= kAllChannelsLast; ++n) {
      if (n >= range.from && n <= range.to) continue;
      if (int slot = data.findChannel(n)) {
        DeleteChannel(ctx, slot);
        ++result.deleted;
      }
    }
  }

  for (int n = range.from; n <= range.to; ++n) {
    const int k = n - range.from;
    bool created = false;
    if (items[kItemRx]) {
      std::string f = FormatLimitedFre(ctx, stepped(in.rxStart, in.rxStep, in.rxIncreasing, k), kFieldRx);
      if (int slot = data.findChannel(n)) {
        SetChannelValue(ctx, *data.slot(slot), kFieldRx, f);
      } else if (AddChannel(ctx, 1, n, f) == EditStatus::Ok) {
        created = true;
      }
    }
    int slot = data.findChannel(n);
    if (slot == 0) continue;
    ChannelRecord &e = *data.slot(slot);
    created ? ++result.created : ++result.changed;

    if (items[kItemTx]) {
      std::string tx;
      if (in.txMode == TxMode::Default) {
        tx = ShowFre(ctx, e.rx.text());
      } else if (in.txMode == TxMode::Offset) {
        Decimal f = numberOrZero(ShowFre(ctx, e.rx.text()));
        Decimal offset = numberOrZero(in.txOffset);
        if (in.offsetSign == OffsetSign::Plus) f.units += offset.units;
        if (in.offsetSign == OffsetSign::Minus) f.units -= offset.units;
        tx = FormatFixed(RoundTo(f, 5, Rounding::HalfAwayFromZero), 5, 1);
      } else {
        tx = stepped(in.txStart, in.txStep, in.txIncreasing, k);
      }
      // Only the TX text changes: the transmit-off mark (word 19) stays as it was.
      e.tx.assign(SaveFre(ctx, FormatLimitedFre(ctx, tx, kFieldTx)));
    }
    if (items[kItemDecode]) {
      int p = in.decodeRandom ? randomTone(random)
                              : steppedTone(in.decodeStart, in.decodeInterval, in.decodeIncreasing, k);
      e.decode.assign(ToneToCode(ToneListEntry(p)));
    }
    if (items[kItemEncode]) {
      if (in.encodeRandom) {
        e.encode.assign(ToneToCode(ToneListEntry(randomTone(random))));
      } else if (in.encodeDefault) {
        e.encode = e.decode;
      } else {
        int p = steppedTone(in.encodeStart, in.encodeInterval, in.encodeIncreasing, k);
        e.encode.assign(ToneToCode(ToneListEntry(p)));
      }
    }
    if (items[kItemPower]) e.power = static_cast<uint16_t>(clampInt(in.power, 0, 2));
    if (items[kItemOptSignal])
      SetChannelValue(ctx, e, kFieldOptSignal, kOptSignalTexts[clampInt(in.optSignal, 0, 2)].get());
    if (items[kItemPttId]) e.pttId = static_cast<uint16_t>(clampInt(in.pttId, 0, 3));
    if (items[kItemSpacing]) e.spacing = static_cast<uint16_t>(clampInt(in.spacing, 0, 1));
    if (items[kItemBusyLock]) {
      int v = clampInt(in.busyLock, 0, 3);
      // "Repeater" needs the tone the channel listens with.
      const FixedText<4> &tone = e.reverse ? e.encode : e.decode;
      if (v == 2 && tone.text() == kToneOff) v = 1;
      e.busyLock = static_cast<uint16_t>(v);
    }
    if (items[kItemRelation]) e.relation = static_cast<uint16_t>(clampInt(in.relation, 0, 1));
    if (items[kItemCall1]) e.call1 = static_cast<uint16_t>(clampInt(in.call1, 0, 15));
    if (items[kItemCall2]) e.call2 = static_cast<uint16_t>(clampInt(in.call2, 0, 15));
    if (items[kItemScanAdd]) e.scanAdd = in.scanAdd ? 1 : 0;
    if (items[kItemTalkaround]) e.talkaround = in.talkaround ? 1 : 0;
    if (items[kItemReverse]) e.reverse = in.reverse ? 1 : 0;
    if (items[kItemCompander]) e.compander = in.compander ? 1 : 0;
  }

  ctx.notifyAll();
  RepairScanGroups(ctx);
  return result;
}

}  // namespace n27
