#include "channels/channel_block_ops.h"

#include <algorithm>
#include <cctype>

#include "base/ascii_case.h"
#include "base/messages.h"
#include "channels/channel_changes.h"
#include "codeplug/edit_history.h"
#include "channels/channel_clipboard.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

constexpr int kRows = kMaxChannels;

inline constexpr Tr kRowsInUse{
    "No row can be inserted: a channel would be pushed past channel 128.",
    "无法插入行：会有信道被挤到信道128之后。"};
inline constexpr Tr kPasteOverwrite{"%1 existing channel(s) will be overwritten.",
                                    "将覆盖 %1 个已有信道。"};
inline constexpr Tr kPastePastEnd{"%1 channel(s) fall past channel 128 and will be left out.",
                                  "有 %1 个信道超出信道 128，将不会粘贴。"};
inline constexpr Tr kPasteContinue{"Paste anyway?", "仍要粘贴吗？"};
inline constexpr Tr kRenumberRefused{
    "The channels could not be renumbered: the new order was not complete. Nothing was changed.",
    "无法重新编号信道：新的顺序不完整。未作任何更改。"};

std::string fill(const Tr &text, int n) {
  std::string s = text.get();
  auto at = s.find("%1");
  if (at != std::string::npos) s.replace(at, 2, std::to_string(n));
  return s;
}

int bankRow(int bank, int position) { return (bank - 1) * kChannelsPerBank + position; }

// The slot (1..count) holding each row's channel, 0 for none.
std::array<int, kRows + 1> rowSlots(const CodeplugData &data) {
  std::array<int, kRows + 1> slots{};
  for (int k = 1; k <= data.channelCount && k <= kRows; ++k) {
    int n = data.channels[k - 1].number;
    if (n >= 1 && n <= kRows && slots[n] == 0) slots[n] = k;
  }
  return slots;
}

bool validRow(int row) { return row >= 1 && row <= kRows; }

int countChannels(const CodeplugData &data) { return std::min<int>(data.channelCount, kRows); }

// Deletes the channels of the given rows (slots found by number), keeping slot order.
int removeRows(CodeplugData &data, const std::array<bool, kRows + 1> &gone) {
  int kept = 0, removed = 0;
  int count = countChannels(data);
  for (int k = 0; k < count; ++k) {
    int n = data.channels[k].number;
    if (n >= 1 && n <= kRows && gone[n]) {
      ++removed;
      continue;
    }
    if (kept != k) data.channels[kept] = data.channels[k];
    ++kept;
  }
  data.channelCount = static_cast<uint16_t>(kept);
  return removed;
}

// A channel as the clipboard puts it into row `row`.
void placeChannel(CodeplugData &data, const ChannelRecord &source, int row, bool &added) {
  int slot = data.findChannel(row);
  ChannelRecord *e = data.slot(slot);
  if (!e) {
    if (data.channelCount >= kRows) return;
    e = &data.channels[data.channelCount++];
    added = true;
  }
  *e = source;
  e->number = static_cast<uint16_t>(row);
  e->inUse = 1;
}

// The single-channel clipboard for a one-row block.
ChannelClipboard single(const BlockClipboard &clipboard) {
  ChannelClipboard c;
  c.filled = clipboard.filled;
  if (!clipboard.rows.empty()) c.channel = clipboard.rows.front();
  return c;
}

BlockOutcome fromSingle(ChannelEditOutcome o) {
  switch (o) {
    case ChannelEditOutcome::Done: return BlockOutcome::Done;
    case ChannelEditOutcome::LastChannel: return BlockOutcome::LastChannel;
    case ChannelEditOutcome::EmptyClipboard: return BlockOutcome::EmptyClipboard;
    case ChannelEditOutcome::BadChannel: return BlockOutcome::BadRow;
  }
  return BlockOutcome::BadRow;
}

// The rows that lose their channel in a delete of `rows`, with the last-channel rule: with one
// channel nothing goes; a selection of every channel keeps its first one.
// `anyRow`: Delete refuses whenever one channel is left, whatever the rows hold (as the
// single-channel Delete); Delete Row only when that channel is among the rows.
BlockOutcome rowsToDelete(const CodeplugData &data, const RowSelection &rows,
                          std::array<bool, kRows + 1> &gone, int &keptRow, bool anyRow) {
  keptRow = 0;
  auto slots = rowSlots(data);
  int selectedChannels = 0;
  for (int r : rows)
    if (slots[r]) ++selectedChannels;
  const int total = countChannels(data);
  if (total == 1 && (anyRow || selectedChannels == 1)) return BlockOutcome::LastChannel;
  BlockOutcome outcome = BlockOutcome::Done;
  if (selectedChannels > 0 && selectedChannels == total) {
    for (int r : rows)
      if (slots[r]) {
        keptRow = r;
        break;
      }
    outcome = BlockOutcome::LastChannelKept;
  }
  for (int r : rows)
    if (slots[r] && r != keptRow) gone[r] = true;
  return outcome;
}

// RX frequency as a number for sorting; a text that is not a number sorts last.
int64_t rxKey(const ChannelRecord &e) {
  std::string t = e.rx.text();
  bool digits = !t.empty() && std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isdigit(c); });
  return digits && t.size() <= 18 ? std::stoll(t) : INT64_MAX;
}


std::string trim(const std::string &s) {
  auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// A stored frequency text in its grid form, without ShowFre's message for a damaged text.
std::string shownFrequency(const std::string &stored) {
  if (stored.empty() || stored == kNoTxFrequency || stored.size() > 18) return {};
  if (!std::all_of(stored.begin(), stored.end(), [](unsigned char c) { return std::isdigit(c); }))
    return {};
  return FormatFixed(std::stoll(stored), 5, 3);
}

bool toneMatches(const std::string &shown, const std::string &wanted) {
  if (shown.empty()) return false;
  if (AsciiLower(shown) == AsciiLower(wanted)) return true;
  auto a = ParseDecimal(shown), b = ParseDecimal(wanted);
  return a && b && a->units == b->units;
}

}  // namespace

RowSelection NormaliseRows(std::vector<int> rows) {
  rows.erase(std::remove_if(rows.begin(), rows.end(), [](int r) { return !validRow(r); }),
             rows.end());
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

RowSelection RowRange(int first, int last) {
  if (first > last) std::swap(first, last);
  first = std::max(first, 1);
  last = std::min(last, kRows);
  RowSelection rows;
  for (int r = first; r <= last; ++r) rows.push_back(r);
  return rows;
}

std::optional<std::pair<int, int>> ParseRowRange(std::string_view text) {
  auto number = [](std::string_view t) -> std::optional<int> {
    std::string s = trim(std::string(t));
    if (s.empty() || s.size() > 3 ||
        !std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); }))
      return std::nullopt;
    int v = std::stoi(s);
    return validRow(v) ? std::optional<int>(v) : std::nullopt;
  };
  auto dash = text.find('-');
  auto first = number(text.substr(0, dash));
  auto last = dash == std::string_view::npos ? first : number(text.substr(dash + 1));
  if (!first || !last || *first > *last) return std::nullopt;
  return std::make_pair(*first, *last);
}

std::string BlockOutcomeMessage(BlockOutcome outcome) {
  switch (outcome) {
    case BlockOutcome::LastChannel:
    case BlockOutcome::LastChannelKept: return msg::kAtLeastOneChannel.get();
    case BlockOutcome::LastRowInUse: return kRowsInUse.get();
    case BlockOutcome::Refused: return kRenumberRefused.get();
    default: return {};
  }
}

// ---- block clipboard ----------------------------------------------------------------------

void CopyBlock(const CodeplugData &data, BlockClipboard &clipboard, const RowSelection &rows) {
  RowSelection sel = NormaliseRows(rows);
  if (sel.empty()) return;
  clipboard.filled = true;
  clipboard.rows.clear();
  auto slots = rowSlots(data);
  for (int r : sel) {
    const ChannelRecord *e = data.slot(slots[r]);
    if (e && e->inUse)
      clipboard.rows.emplace_back(*e);
    else
      clipboard.rows.emplace_back(std::nullopt);
  }
}

BlockOutcome CutBlock(ChannelContext &ctx, BlockClipboard &clipboard, const RowSelection &rows) {
  RowSelection sel = NormaliseRows(rows);
  if (sel.empty()) return BlockOutcome::Unchanged;
  if (sel.size() == 1) {
    ChannelClipboard c;
    auto o = SetCHEdit(ctx, c, ChannelEditCommandKey::Cut, sel.front());
    clipboard.filled = true;
    clipboard.rows.assign(1, c.channel);
    return fromSingle(o);
  }
  EditStep undoStep(ctx.ws, StepCaption{"Cut Channels", "剪切信道"});
  CopyBlock(ctx.ws.working, clipboard, sel);
  std::array<bool, kRows + 1> gone{};
  for (int r : sel) gone[r] = true;
  removeRows(ctx.ws.working, gone);
  RepairScanGroups(ctx);  // as a single cut, also when the rows held no channel
  ctx.notifyAll();
  return BlockOutcome::Done;
}

PastePreview PreviewPaste(const CodeplugData &data, const BlockClipboard &clipboard, int row) {
  PastePreview p;
  p.rows = static_cast<int>(clipboard.rows.size());
  if (!clipboard.filled || !validRow(row)) return p;
  auto slots = rowSlots(data);
  for (int i = 0; i < p.rows; ++i) {
    int r = row + i;
    if (r > kRows) {
      if (clipboard.rows[i]) ++p.pastEnd;
    } else if (slots[r]) {
      ++p.overwritten;
    }
  }
  p.ask = p.rows > 1 && (p.overwritten > 0 || p.pastEnd > 0);
  return p;
}

std::string PasteQuestion(const PastePreview &preview) {
  std::string q;
  if (preview.overwritten > 0) q += fill(kPasteOverwrite, preview.overwritten) + "\n";
  if (preview.pastEnd > 0) q += fill(kPastePastEnd, preview.pastEnd) + "\n";
  return q + kPasteContinue.get();
}

BlockOutcome PasteBlock(ChannelContext &ctx, const BlockClipboard &clipboard, int row) {
  if (!clipboard.filled) return BlockOutcome::EmptyClipboard;
  if (!validRow(row)) return BlockOutcome::BadRow;
  if (clipboard.rows.empty()) return BlockOutcome::Unchanged;
  if (clipboard.rows.size() == 1) {
    ChannelClipboard c = single(clipboard);
    return fromSingle(SetCHEdit(ctx, c, ChannelEditCommandKey::Paste, row));
  }
  EditStep undoStep(ctx.ws, StepCaption{"Paste Channels", "粘贴信道"});
  CodeplugData &data = ctx.ws.working;
  std::array<bool, kRows + 1> gone{};
  bool removed = false, added = false;
  for (std::size_t i = 0; i < clipboard.rows.size(); ++i) {
    int r = row + static_cast<int>(i);
    if (r > kRows) break;
    if (!clipboard.rows[i] && data.findChannel(r)) gone[r] = removed = true;
  }
  if (removed) removeRows(data, gone);
  for (std::size_t i = 0; i < clipboard.rows.size(); ++i) {
    int r = row + static_cast<int>(i);
    if (r > kRows) break;
    if (clipboard.rows[i]) placeChannel(data, *clipboard.rows[i], r, added);
  }
  if (removed || added) RepairScanGroups(ctx);
  ctx.notifyAll();
  return BlockOutcome::Done;
}

BlockOutcome DeleteBlock(ChannelContext &ctx, const RowSelection &rows) {
  RowSelection sel = NormaliseRows(rows);
  if (sel.empty()) return BlockOutcome::Unchanged;
  if (sel.size() == 1) {
    ChannelClipboard unused;
    return fromSingle(SetCHEdit(ctx, unused, ChannelEditCommandKey::Delete, sel.front()));
  }
  std::array<bool, kRows + 1> gone{};
  int keptRow = 0;
  BlockOutcome outcome = rowsToDelete(ctx.ws.working, sel, gone, keptRow, true);
  if (outcome == BlockOutcome::LastChannel) return outcome;
  EditStep undoStep(ctx.ws, StepCaption{"Delete Channels", "删除信道"});
  if (removeRows(ctx.ws.working, gone) > 0) RepairScanGroups(ctx);
  ctx.notifyAll();
  return outcome;
}

// ---- renumbering --------------------------------------------------------------------------

RowMap RowMap::Identity() {
  RowMap m;
  for (int r = 0; r <= kRows; ++r) m.to[r] = r;
  return m;
}

bool ApplyRowMap(ChannelContext &ctx, const RowMap &map) {
  std::array<bool, kRows + 1> hit{};
  for (int r = 1; r <= kRows; ++r) {
    int to = map.to[r];
    if (!validRow(to) || hit[to]) return false;
    hit[to] = true;
  }
  CodeplugData &data = ctx.ws.working;
  const auto before = rowSlots(data);
  const int16_t dwBefore = data.function.dwChannel, currentBefore = data.standAlone.currentChannel;
  const auto banksBefore = data.scan.words;

  // Which old rows held a channel that goes, and where each old row goes.
  std::array<bool, kRows + 1> gone{};
  for (int r = 1; r <= kRows; ++r) gone[r] = before[r] && map.removed[r];
  removeRows(data, gone);
  for (int k = 1; k <= countChannels(data); ++k) {
    ChannelRecord &e = data.channels[k - 1];
    if (validRow(e.number)) e.number = static_cast<uint16_t>(map.to[e.number]);
  }
  const auto after = rowSlots(data);
  int firstLeft = 0;
  for (int r = 1; r <= kRows && !firstLeft; ++r)
    if (after[r]) firstLeft = r;

  // DW channel and current channel: stored as channel number − 1.
  auto follow = [&](int16_t &stored) {
    int row = stored + 1;
    if (!validRow(row)) return;  // a damaged value names no row: left alone
    if (before[row] && map.removed[row]) {
      if (firstLeft) stored = static_cast<int16_t>(firstLeft - 1);
    } else {
      stored = static_cast<int16_t>(map.to[row] - 1);
    }
  };
  follow(data.function.dwChannel);
  follow(data.standAlone.currentChannel);

  // Scan bank priority channels: a position 1..16 within the bank. A bank that had none
  // (255) may take a choice that moved in, as a lost one does, but is not repaired otherwise.
  std::array<bool, kScanBanks + 1> lost{}, none{};
  std::vector<int> movedChoices;  // new rows of choices that left their bank
  for (int g = 1; g <= kScanBanks; ++g) {
    int16_t &choice = data.scan.words[g];
    if (choice == kNoBankChannel) none[g] = true;
    if (choice < 1 || choice > kChannelsPerBank) continue;  // none (255) or damaged: kept
    int row = bankRow(g, choice);
    if (before[row] && map.removed[row]) {
      lost[g] = true;
      continue;
    }
    int to = map.to[row];
    if (BankOf(to) == g) {
      choice = static_cast<int16_t>(PositionInBank(to));
    } else {
      lost[g] = true;
      if (after[to]) movedChoices.push_back(to);
    }
  }
  std::sort(movedChoices.begin(), movedChoices.end());
  // The choices follow whether or not the scan window is open: it only shows them again.
  for (int g = 1; g <= kScanBanks; ++g) {
    if (!lost[g] && !none[g]) continue;
    int16_t &choice = data.scan.words[g];
    auto adopted = std::find_if(movedChoices.begin(), movedChoices.end(),
                                [g](int r) { return BankOf(r) == g; });
    if (adopted != movedChoices.end()) {
      choice = static_cast<int16_t>(PositionInBank(*adopted));
      movedChoices.erase(adopted);
      continue;
    }
    if (!lost[g]) continue;
    // As RepairScanGroups: the bank's channel last in list order, or none.
    int remembered = kNoBankChannel;
    for (int k = 1; k <= countChannels(data); ++k) {
      int n = data.channels[k - 1].number;
      if (validRow(n) && BankOf(n) == g) remembered = PositionInBank(n);
    }
    choice = static_cast<int16_t>(remembered);
  }
  ctx.notifyAll();
  // The windows showing the DW, current or priority channels show where they went.
  if (data.function.dwChannel != dwBefore || data.standAlone.currentChannel != currentBefore ||
      data.scan.words != banksBefore)
    ctx.notifySettings();
  return true;
}

namespace {

// Runs a renumbering as one undo step; a map ApplyRowMap refuses records no step.
BlockOutcome renumber(ChannelContext &ctx, StepCaption caption, const RowMap &map,
                      BlockOutcome done = BlockOutcome::Done) {
  EditStep undoStep(ctx.ws, caption);
  return ApplyRowMap(ctx, map) ? done : BlockOutcome::Refused;
}

}  // namespace

BlockOutcome MoveBlock(ChannelContext &ctx, int first, int last, int at) {
  if (first > last) std::swap(first, last);
  const int len = last - first + 1;
  if (!validRow(first) || !validRow(last) || !validRow(at) || at + len - 1 > kRows)
    return BlockOutcome::BadRow;
  if (at == first) return BlockOutcome::Unchanged;
  RowMap m = RowMap::Identity();
  if (at < first) {
    for (int r = at; r < first; ++r) m.to[r] = r + len;  // the rows above close up below
  } else {
    for (int r = last + 1; r <= at + len - 1; ++r) m.to[r] = r - len;
  }
  for (int r = first; r <= last; ++r) m.to[r] = at + (r - first);
  return renumber(ctx, StepCaption{"Move Channels", "移动信道"}, m);
}

BlockOutcome MoveRows(ChannelContext &ctx, const RowSelection &rows, int direction,
                      RowSelection *moved, const HiddenRows *hidden) {
  RowSelection sel = NormaliseRows(rows);
  if (moved) *moved = sel;
  if (sel.empty() || (direction != -1 && direction != 1)) return BlockOutcome::Unchanged;
  auto atEdge = [&](const RowSelection &s) {
    return (direction < 0 && s.front() == 1) || (direction > 0 && s.back() == kRows);
  };
  if (atEdge(sel)) return BlockOutcome::Unchanged;
  // One row at a time; with hidden rows, until a shown row has been passed (or the edge is
  // reached), so the selection always passes its shown neighbour. The steps make one map.
  RowMap total = RowMap::Identity();  // original row -> row now
  RowSelection cur = sel;
  for (;;) {
    std::array<int, kRows + 1> at{};  // row now -> original row
    for (int r = 1; r <= kRows; ++r) at[total.to[r]] = r;
    RowMap m = RowMap::Identity();
    bool passedShown = false;
    // Each run of selected rows moves by one; the neighbour it passes takes the other end.
    for (std::size_t i = 0; i < cur.size();) {
      std::size_t j = i;
      while (j + 1 < cur.size() && cur[j + 1] == cur[j] + 1) ++j;
      int first = cur[i], last = cur[j];
      for (int r = first; r <= last; ++r) m.to[r] = r + direction;
      int neighbour = direction < 0 ? first - 1 : last + 1;
      m.to[neighbour] = direction < 0 ? last : first;
      if (!hidden || !(*hidden)[at[neighbour]]) passedShown = true;
      i = j + 1;
    }
    for (int r = 1; r <= kRows; ++r) total.to[r] = m.to[total.to[r]];
    for (int &r : cur) r += direction;
    if (passedShown || atEdge(cur)) break;
  }
  const BlockOutcome outcome = renumber(
      ctx, direction < 0 ? StepCaption{"Move Up", "上移"} : StepCaption{"Move Down", "下移"}, total);
  if (moved && outcome == BlockOutcome::Done) *moved = cur;
  return outcome;
}

BlockOutcome InsertRows(ChannelContext &ctx, int row, int count) {
  if (!validRow(row) || count < 1 || count > kRows - row + 1) return BlockOutcome::BadRow;
  auto slots = rowSlots(ctx.ws.working);
  for (int r = kRows - count + 1; r <= kRows; ++r)
    if (slots[r]) return BlockOutcome::LastRowInUse;
  RowMap m = RowMap::Identity();
  for (int r = row; r <= kRows - count; ++r) m.to[r] = r + count;
  for (int i = 0; i < count; ++i) m.to[kRows - count + 1 + i] = row + i;  // empty rows come in
  return renumber(ctx, StepCaption{"Insert Row", "插入行"}, m);
}

BlockOutcome DeleteRows(ChannelContext &ctx, const RowSelection &rows) {
  RowSelection sel = NormaliseRows(rows);
  if (sel.empty()) return BlockOutcome::Unchanged;
  std::array<bool, kRows + 1> gone{};
  int keptRow = 0;
  BlockOutcome outcome = rowsToDelete(ctx.ws.working, sel, gone, keptRow, false);
  if (outcome == BlockOutcome::LastChannel) return outcome;
  // The deleted rows close up; they come back empty at the end of the list.
  std::array<bool, kRows + 1> dropped{};
  for (int r : sel)
    if (r != keptRow) dropped[r] = true;
  RowMap m;
  int next = 1;
  for (int r = 1; r <= kRows; ++r)
    if (!dropped[r]) m.to[r] = next++;
  for (int r = 1; r <= kRows; ++r)
    if (dropped[r]) m.to[r] = next++;
  m.removed = gone;
  return renumber(ctx, StepCaption{"Delete Row", "删除行"}, m, outcome);
}

BlockOutcome SortRows(ChannelContext &ctx, const RowSelection &rows, bool descending) {
  RowSelection sel = rows.empty() ? RowRange(1, kRows) : NormaliseRows(rows);
  const CodeplugData &data = ctx.ws.working;
  auto slots = rowSlots(data);
  std::vector<int> occupied;
  for (int r : sel)
    if (slots[r]) occupied.push_back(r);
  if (occupied.size() < 2) return BlockOutcome::Unchanged;
  std::vector<int> order = occupied;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    int64_t ka = rxKey(*data.slot(slots[a])), kb = rxKey(*data.slot(slots[b]));
    if (ka == INT64_MAX || kb == INT64_MAX) return ka != INT64_MAX && kb == INT64_MAX;
    return descending ? ka > kb : ka < kb;
  });
  if (order == occupied) return BlockOutcome::Unchanged;
  RowMap m = RowMap::Identity();
  for (std::size_t i = 0; i < order.size(); ++i) m.to[order[i]] = occupied[i];
  return renumber(ctx,
                  descending ? StepCaption{"Sort Descending", "降序排序"} : StepCaption{"Sort Ascending", "升序排序"},
                  m);
}

BlockOutcome CompactChannels(ChannelContext &ctx) {
  auto slots = rowSlots(ctx.ws.working);
  RowMap m;
  int next = 1;
  for (int r = 1; r <= kRows; ++r)
    if (slots[r]) m.to[r] = next++;
  const int channels = next - 1;
  for (int r = 1; r <= kRows; ++r)
    if (!slots[r]) m.to[r] = next++;
  bool same = true;
  for (int r = 1; r <= kRows; ++r) same = same && m.to[r] == r;
  if (same || channels == 0) return BlockOutcome::Unchanged;
  return renumber(ctx, StepCaption{"Compact Channels", "整理信道"}, m);
}

// ---- finding ------------------------------------------------------------------------------

int FindChannelRow(const ChannelContext &ctx, const std::string &text, int afterRow) {
  const std::string wanted = trim(text);
  if (wanted.empty()) return 0;
  const CodeplugData &data = ctx.ws.working;
  auto slots = rowSlots(data);
  if (!validRow(afterRow)) afterRow = 0;
  for (int i = 1; i <= kRows; ++i) {
    int r = (afterRow + i - 1) % kRows + 1;
    const ChannelRecord *e = data.slot(slots[r]);
    if (!e) continue;
    const std::string rx = shownFrequency(e->rx.text());
    const std::string tx = shownFrequency(e->tx.text());
    if ((!rx.empty() && rx.rfind(wanted, 0) == 0) || (!tx.empty() && tx.rfind(wanted, 0) == 0))
      return r;
    if (toneMatches(ValueToText(ctx, *e, kFieldDecode), wanted)) return r;
    if (!tx.empty() && toneMatches(ValueToText(ctx, *e, kFieldEncode), wanted)) return r;
  }
  return 0;
}

}  // namespace n27
