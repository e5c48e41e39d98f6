#include "channels/grid_cursor.h"

#include <algorithm>

namespace n27 {

bool IsGridColumnHidden(int col) {
  return col < 0 || col >= kGridColumnCount || kGridColumnTwips[static_cast<std::size_t>(col)] == 0;
}

bool GridCursor::enterCell(int row, int col) {
  current_ = {std::clamp(row, 1, kGridChannelRows), std::clamp(col, 0, kGridColumnCount - 1)};
  if (suppress_) {
    suppress_ = false;
    return false;
  }
  return true;
}

std::vector<GridCell> GridCursor::nextCol(bool currentCellEmpty, int from) {
  int next = (from > 0 ? from : current_.col) + 1;
  if (currentCellEmpty && next == kColEncode) next = kColPower;
  while (next < kColMore && IsGridColumnHidden(next)) ++next;
  if (next < kColMore) {
    current_.col = next;
    return {current_};
  }
  // Past the last field column: back to the RX cell, then down one row. The cell-enter of
  // the first step must not save the pending edit a second time.
  suppress_ = true;
  current_.col = kColRx;
  GridCell first = current_;
  return {first, nextLine()};
}

int GridCursor::shownRow(int row, int step) const {
  int r = row;
  for (int i = 0; i < kGridChannelRows; ++i) {
    r += step;
    if (r > kGridChannelRows) r = 1;
    if (r < 1) r = kGridChannelRows;
    if (!hidden_[static_cast<std::size_t>(r)]) return r;
  }
  return row;
}

GridCell GridCursor::nextLine() {
  current_.row = shownRow(current_.row, 1);
  return current_;
}

GridCell GridCursor::prevCol() {
  int prev = std::min(current_.col, static_cast<int>(kColMore)) - 1;
  while (prev >= kColRx && IsGridColumnHidden(prev)) --prev;
  if (prev < kColRx) {
    prev = kColSpacing;
    current_.row = shownRow(current_.row, -1);
  }
  current_.col = prev;
  return current_;
}

EditorEnter GridCursor::enterInEditor(std::string_view editorText) const {
  if (current_.col == kColRx && editorText.empty()) return EditorEnter::NextLine;
  if (current_.col == kColMore) return EditorEnter::OpenDetail;
  return EditorEnter::NextCol;
}

bool GridCursor::concludeRx(bool rowHasRx) {
  if (rowHasRx) return true;
  current_.col = kColRx;
  return false;
}

DoubleClickOutcome GridCursor::doubleClick(int row, int col, bool rowHasRx, bool txCellEmpty) {
  editAtDoubleClick_ = edit_;
  current_ = {std::clamp(row, 1, kGridChannelRows), std::clamp(col, 0, kGridColumnCount - 1)};
  if (current_.col == kColOptSignal || current_.col == kColPttId) current_.col = kColSpacing;
  DoubleClickOutcome out;
  if (current_.col >= kColTx && current_.col <= kColSpacing && !concludeRx(rowHasRx)) {
    out.open = false;
  } else {
    if (current_.col == kColEncode && txCellEmpty) current_.col = kColTx;
    out.open = current_.col != kColChannel;
  }
  out.cell = current_;
  return out;
}

bool GridCursor::prefillTx(bool txCellEmpty) const {
  return txCellEmpty && current_.col == kColTx && editAtDoubleClick_.row == current_.row &&
         editAtDoubleClick_.col == kColRx;
}

}  // namespace n27
