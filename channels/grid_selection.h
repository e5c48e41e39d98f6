#pragma once
// The rows selected in the channel grid, kept apart from the widgets: a click on the CH cell
// selects one row, Shift+click and Shift+arrows extend from the anchor, Ctrl+click adds or
// removes one row. Rows hidden from view (empty rows while they are hidden) are never part of
// a range the user sweeps over. The block commands take rows().

#include <array>

#include "channels/channel_block_ops.h"

namespace n27 {

class GridSelection {
 public:
  GridSelection() { rows_ = {1}; }

  // A plain click (or an arrow key without Shift) on `row`: only that row, the anchor too.
  void click(int row);
  // Shift+click or Shift+arrow to `row`: the visible rows from the anchor to `row`.
  void extendTo(int row);
  // Ctrl+click: adds the row, or takes it out when it was selected (the last row stays).
  void toggle(int row);
  // After a command moved the channels (Alt+Up …): these rows, the cursor on `cursor`.
  void set(const RowSelection &rows, int cursor);

  // Rows the grid does not show; a hidden row drops out of the selection.
  void setHidden(const std::array<bool, kMaxChannels + 1> &hidden);

  const RowSelection &rows() const { return rows_; }
  bool contains(int row) const;
  int anchor() const { return anchor_; }
  // The row last clicked or reached: the row the grid's cursor is on, where a paste goes.
  int cursor() const { return cursor_; }
  // The first selected row (a paste of a block goes to the top of the selection).
  int first() const { return rows_.empty() ? cursor_ : rows_.front(); }

 private:
  bool visible(int row) const { return row >= 1 && row <= kMaxChannels && !hidden_[row]; }

  RowSelection rows_;
  int anchor_ = 1;
  int cursor_ = 1;
  std::array<bool, kMaxChannels + 1> hidden_{};
};

}  // namespace n27
