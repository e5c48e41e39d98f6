// The grid's cursor rules without widgets: column advance, wraps, the swallowed cell-enter,
// double clicks and the TX prefill.

#include "channels/grid_cursor.h"

#include <gtest/gtest.h>

namespace n27 {
namespace {

TEST(GridCursor, AdvanceSkipsHiddenColumnsAndWrapsToNextRow) {
  GridCursor c;
  c.enterCell(3, kColPower);
  auto steps = c.nextCol(false);
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0], (GridCell{3, kColSpacing}));  // 6, 7 and 8 have no width

  steps = c.nextCol(false);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0], (GridCell{3, kColRx}));
  EXPECT_EQ(steps[1], (GridCell{4, kColRx}));
  EXPECT_EQ(c.current(), (GridCell{4, kColRx}));
  // The first cell-enter after the wrap is swallowed, the next one is not.
  EXPECT_TRUE(c.suppressed());
  EXPECT_FALSE(c.enterCell(steps[0].row, steps[0].col));
  EXPECT_TRUE(c.enterCell(steps[1].row, steps[1].col));

  c.enterCell(kGridChannelRows, kColSpacing);
  steps = c.nextCol(false);
  EXPECT_EQ(steps.back(), (GridCell{1, kColRx}));
}

TEST(GridCursor, BackwardsSkipsHiddenColumnsAndWraps) {
  GridCursor c;
  c.enterCell(3, kColSpacing);
  EXPECT_EQ(c.prevCol(), (GridCell{3, kColPower}));
  c.enterCell(1, kColRx);
  EXPECT_EQ(c.prevCol(), (GridCell{kGridChannelRows, kColSpacing}));
  c.enterCell(2, kColMore);
  EXPECT_EQ(c.prevCol(), (GridCell{2, kColSpacing}));
}

TEST(GridCursor, EmptyCellSkipsEncodeColumn) {
  GridCursor c;
  c.enterCell(5, kColDecode);
  EXPECT_EQ(c.nextCol(true).back(), (GridCell{5, kColPower}));
  c.enterCell(5, kColDecode);
  EXPECT_EQ(c.nextCol(false).back(), (GridCell{5, kColEncode}));
  c.enterCell(5, kColRx);
  EXPECT_EQ(c.nextCol(true).back(), (GridCell{5, kColTx}));
}

TEST(GridCursor, EnterInEditor) {
  GridCursor c;
  c.enterCell(128, kColRx);
  EXPECT_EQ(c.enterInEditor(""), EditorEnter::NextLine);
  EXPECT_EQ(c.nextLine(), (GridCell{1, kColRx}));
  EXPECT_EQ(c.enterInEditor("462.125"), EditorEnter::NextCol);
  c.enterCell(1, kColTx);
  EXPECT_EQ(c.enterInEditor(""), EditorEnter::NextCol);  // an empty TX still advances
  c.enterCell(1, kColMore);
  EXPECT_EQ(c.enterInEditor(""), EditorEnter::OpenDetail);
}

TEST(GridCursor, DoubleClickRules) {
  GridCursor c;
  // No RX: any field column sends the cursor to the RX cell and opens nothing.
  auto out = c.doubleClick(7, kColDecode, false, true);
  EXPECT_FALSE(out.open);
  EXPECT_EQ(out.cell, (GridCell{7, kColRx}));
  // The RX cell itself always opens.
  out = c.doubleClick(7, kColRx, false, true);
  EXPECT_TRUE(out.open);
  // Encode without TX goes to the TX cell.
  out = c.doubleClick(7, kColEncode, true, true);
  EXPECT_TRUE(out.open);
  EXPECT_EQ(out.cell, (GridCell{7, kColTx}));
  out = c.doubleClick(7, kColEncode, true, false);
  EXPECT_EQ(out.cell, (GridCell{7, kColEncode}));
  // Hidden signalling / PTT ID columns count as the spacing column.
  out = c.doubleClick(7, kColPttId, true, false);
  EXPECT_EQ(out.cell, (GridCell{7, kColSpacing}));
  // "More" opens even on an empty row.
  EXPECT_TRUE(c.doubleClick(9, kColMore, false, true).open);
  EXPECT_FALSE(c.doubleClick(9, kColChannel, true, false).open);
}

TEST(GridCursor, PendingEditKeepsItsCellAndTxPrefill) {
  GridCursor c;
  c.doubleClick(4, kColRx, true, true);
  c.editorOpened();
  c.enterCell(9, kColPower);  // the cursor moves on before the edit is saved
  EXPECT_TRUE(c.editing());
  EXPECT_EQ(c.editCell(), (GridCell{4, kColRx}));
  c.editorClosed();

  // RX edited, then a double click on the empty TX cell of the same row: prefilled.
  auto out = c.doubleClick(4, kColTx, true, true);
  ASSERT_TRUE(out.open);
  EXPECT_TRUE(c.prefillTx(true));
  EXPECT_FALSE(c.prefillTx(false));
  c.editorOpened();
  // The last edit was TX now: a later double click on TX does not prefill, nor does a row
  // whose RX was not the last edit.
  c.doubleClick(4, kColTx, true, true);
  EXPECT_FALSE(c.prefillTx(true));
  c.doubleClick(5, kColRx, true, true);
  c.editorOpened();
  c.doubleClick(6, kColTx, true, true);
  EXPECT_FALSE(c.prefillTx(true));
}

}  // namespace
}  // namespace n27
