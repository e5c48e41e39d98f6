#pragma once
// Tab order by what the user sees: the controls of a window are visited in the order of the
// layouts that place them — a box layout from its first item to its last (top to bottom, left
// to right), a form row by row, a grid in the order its cells were filled (column by column
// for columns of boxes, row by row for rows), the pages of a tab widget in tab order. Columns
// of label/box pairs are side-by-side layouts, so Tab goes down one column before the next.
// Controls that no layout places come last, by position (top to bottom, then left to right).

#include <vector>

class QWidget;

namespace n27 {

// The controls of `window` that take the focus by Tab, in visual order.
std::vector<QWidget *> VisualTabOrder(QWidget *window);
// Chains the focus of `window`'s controls in visual order.
void ApplyVisualTabOrder(QWidget *window);

}  // namespace n27
