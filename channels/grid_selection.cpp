#include "channels/grid_selection.h"

#include <algorithm>

namespace n27 {

void GridSelection::click(int row) {
  if (row < 1 || row > kMaxChannels) return;
  rows_ = {row};
  anchor_ = cursor_ = row;
}

void GridSelection::extendTo(int row) {
  if (row < 1 || row > kMaxChannels) return;
  rows_.clear();
  for (int r = std::min(anchor_, row); r <= std::max(anchor_, row); ++r)
    if (visible(r) || r == row || r == anchor_) rows_.push_back(r);
  cursor_ = row;
}

void GridSelection::toggle(int row) {
  if (row < 1 || row > kMaxChannels) return;
  auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
  if (at != rows_.end() && *at == row) {
    if (rows_.size() > 1) rows_.erase(at);
  } else {
    rows_.insert(at, row);
  }
  anchor_ = cursor_ = row;
}

void GridSelection::set(const RowSelection &rows, int cursor) {
  rows_ = NormaliseRows(rows);
  if (cursor >= 1 && cursor <= kMaxChannels) cursor_ = cursor;
  if (rows_.empty()) rows_ = {cursor_};
  anchor_ = std::clamp(anchor_, rows_.front(), rows_.back());
}

void GridSelection::setHidden(const std::array<bool, kMaxChannels + 1> &hidden) {
  hidden_ = hidden;
  rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [this](int r) { return !visible(r); }),
              rows_.end());
  if (rows_.empty()) rows_ = {cursor_};
}

bool GridSelection::contains(int row) const {
  return std::binary_search(rows_.begin(), rows_.end(), row);
}

}  // namespace n27
