// Selecting rows of the channel grid with the mouse and the keyboard.

#include <gtest/gtest.h>

#include "channels/grid_selection.h"

namespace n27 {
namespace {

TEST(GridSelection, ClickShiftAndCtrl) {
  GridSelection s;
  EXPECT_EQ(s.rows(), (RowSelection{1}));
  s.click(5);
  s.extendTo(8);
  EXPECT_EQ(s.rows(), (RowSelection{5, 6, 7, 8}));
  s.extendTo(3);  // from the same anchor, upwards
  EXPECT_EQ(s.rows(), (RowSelection{3, 4, 5}));
  EXPECT_EQ(s.cursor(), 3);
  EXPECT_EQ(s.first(), 3);
  s.toggle(10);
  s.toggle(4);
  EXPECT_EQ(s.rows(), (RowSelection{3, 5, 10}));
  EXPECT_EQ(s.anchor(), 4);
  s.extendTo(6);  // Shift after Ctrl extends from the row last clicked
  EXPECT_EQ(s.rows(), (RowSelection{4, 5, 6}));
  s.click(7);
  s.toggle(7);  // the last selected row cannot be taken out
  EXPECT_EQ(s.rows(), (RowSelection{7}));
  s.click(0);
  s.extendTo(129);
  s.toggle(-1);
  EXPECT_EQ(s.rows(), (RowSelection{7}));
}

TEST(GridSelection, HiddenRowsAreSkippedAndFollowAMove) {
  GridSelection s;
  std::array<bool, kMaxChannels + 1> hidden{};
  hidden[3] = hidden[4] = true;
  s.click(2);
  s.extendTo(6);
  EXPECT_EQ(s.rows(), (RowSelection{2, 3, 4, 5, 6}));
  s.setHidden(hidden);
  EXPECT_EQ(s.rows(), (RowSelection{2, 5, 6}));
  s.click(1);
  s.extendTo(5);
  EXPECT_EQ(s.rows(), (RowSelection{1, 2, 5}));
  s.set({0, 2, 3, 2}, 3);
  EXPECT_EQ(s.rows(), (RowSelection{2, 3}));
  EXPECT_EQ(s.cursor(), 3);
  EXPECT_TRUE(s.contains(2));
  EXPECT_FALSE(s.contains(5));
}

}  // namespace
}  // namespace n27
