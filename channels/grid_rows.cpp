#include "channels/grid_rows.h"

#include "channels/channel_window_texts.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"

namespace n27 {

namespace {
constexpr int kOptSignalMax = 2;

bool noTx(const ChannelRecord &e) {
  std::string tx = e.tx.text();
  return tx.empty() || tx == kNoTxFrequency;
}
}  // namespace

GridRowText EmptyGridRow(int row) {
  GridRowText cells;
  cells[kColChannel] = std::to_string(row);
  cells[kColMore] = chtext::kMoreCell;
  return cells;
}

GridRowText GridRowTexts(const ChannelContext &ctx, ChannelRecord &entry) {
  if (entry.optSignal > kOptSignalMax) entry.optSignal = 0;
  GridRowText cells = EmptyGridRow(entry.number);
  const bool withoutTx = noTx(entry);
  for (int col = kColRx; col <= kColSpacing; ++col) {
    if (withoutTx && (col == kColTx || col == kColEncode)) continue;
    cells[static_cast<std::size_t>(col)] = ValueToText(ctx, entry, col);
  }
  return cells;
}

std::string FormatTypedFrequency(std::string_view text) {
  auto d = ParseDecimal(text);
  if (!d) return std::string(text);
  return FormatFixed(RoundTo(*d, 5, Rounding::HalfAwayFromZero), 5, 3);
}

bool FrequencyKeyPasses(char32_t ch) {
  if (ch < 32 || ch == 127) return true;
  return (ch >= '0' && ch <= '9') || ch == '.';
}

bool DigitKeyPasses(char32_t ch) {
  if (ch < 32 || ch == 127) return true;
  return ch >= '0' && ch <= '9';
}

}  // namespace n27
