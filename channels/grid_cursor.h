#pragma once
// The channel grid's cursor and edit flow, kept apart from the widgets so that the rules can
// be tested on their own: where the cursor goes after an edit (hidden columns skipped, the
// last column wrapping to the next row, row 128 wrapping to row 1), which cell-enter event is
// swallowed after such a wrap, what a double click opens, which cell a pending edit belongs
// to, and when the TX editor is pre-filled with the RX frequency.
//
// Rows are channel numbers 1..128. Columns are the channel field numbers 1..9 of the codec,
// column 0 holds the channel number and column 10 ("More") opens the detail dialog.

#include <array>
#include <string_view>
#include <vector>

namespace n27 {

inline constexpr int kGridChannelRows = 128;
inline constexpr int kGridColumnCount = 11;

enum GridColumn : int {
  kColChannel = 0,
  kColRx = 1,
  kColTx = 2,
  kColDecode = 3,
  kColEncode = 4,
  kColPower = 5,
  kColScanAdd = 6,
  kColOptSignal = 7,
  kColPttId = 8,
  kColSpacing = 9,
  kColMore = 10,
};

// Column widths in twips (15 twips = 1 pixel at 96 dpi). A width of 0 hides the column:
// scan add, optional signalling and PTT ID are kept in the grid but not shown.
inline constexpr std::array<int, kGridColumnCount> kGridColumnTwips{
    500, 1000, 1000, 1500, 1500, 1000, 0, 0, 0, 2000, 1000};
inline constexpr int kGridHeaderTwips = 500;

bool IsGridColumnHidden(int col);
// Columns whose editor is the frequency text box (RX, TX).
inline bool IsFrequencyColumn(int col) { return col == kColRx || col == kColTx; }
// Columns whose editor is a value list (tones, power, scan add, signalling, PTT ID, spacing).
inline bool IsListColumn(int col) { return col >= kColDecode && col <= kColSpacing; }

struct GridCell {
  int row = 1;
  int col = 1;
  bool operator==(const GridCell &) const = default;
};

// What Enter in an in-place editor leads to, after the edit has been saved.
enum class EditorEnter {
  NextLine,    // an empty RX moves down without creating a channel
  NextCol,     // columns 1..9 advance to the next visible column
  OpenDetail,  // column 10 opens the detail dialog
};

// What a double click on a cell does, after the pending edit has been saved.
struct DoubleClickOutcome {
  GridCell cell;      // where the cursor is to go
  bool open = false;  // whether the editor of that cell opens (EnterGridEdit)
};

class GridCursor {
 public:
  GridCell current() const { return current_; }
  int row() const { return current_.row; }
  int col() const { return current_.col; }

  // A cell-enter event from the grid (a click, the keyboard, or a step of a move this model
  // asked for). Makes (row, col) current. Returns false when the event is the one swallowed
  // after a wrap to the next row: the caller then neither saves nor refreshes anything.
  bool enterCell(int row, int col);
  // The swallow flag, set when the column advance wraps; cleared by the next cell-enter.
  bool suppressed() const { return suppress_; }

  // GridNextCol. currentCellEmpty: the cell under the cursor shows no text (an empty row
  // then skips the encode column). Hidden columns are skipped; past column 9 the cursor wraps
  // to column 1 of the next row. Returns the cells the cursor passes through, in order; the
  // caller moves the grid to each of them so that their cell-enter events fire in turn
  // (the first one after a wrap is swallowed).
  std::vector<GridCell> nextCol(bool currentCellEmpty, int from = 0);
  // GridNextLine: the next row, row 1 after row 128. Returns the cell to move to.
  GridCell nextLine();
  // Shift+Tab: the previous visible field column, from column 1 the last one of the row
  // above (row 128 above row 1). Returns the cell to move to.
  GridCell prevCol();
  // Rows the grid does not show (its empty rows, while they are hidden): the steps to another
  // row (nextLine, the wrap of nextCol, prevCol) pass over them. None by default.
  void setHiddenRows(const std::array<bool, kGridChannelRows + 1> &hidden) { hidden_ = hidden; }

  // Enter in an in-place editor of the current column; editorText is what it held.
  EditorEnter enterInEditor(std::string_view editorText) const;

  // FlexConcludeRx: true when the current row has an RX frequency; otherwise the cursor goes
  // to column 1 of the row and false comes back.
  bool concludeRx(bool rowHasRx);

  // A double click on (row, col). rowHasRx: the row shows an RX frequency; txCellEmpty: its
  // TX cell is empty. Hidden columns 7 and 8 count as column 9; columns 2..9 need an RX
  // frequency (otherwise the cursor goes to the RX cell and nothing opens); an encode cell
  // without a TX frequency sends the cursor to the TX cell. Remembers where the editing was
  // at this moment, for the TX prefill rule.
  DoubleClickOutcome doubleClick(int row, int col, bool rowHasRx, bool txCellEmpty);

  // EnterGridEdit opens the editor of the current cell: the pending edit now belongs to it,
  // wherever the cursor goes before the edit is saved.
  void editorOpened() { edit_ = current_; editing_ = true; }
  // The edit was saved or dropped.
  void editorClosed() { editing_ = false; }
  bool editing() const { return editing_; }
  // The cell the open editor writes to.
  GridCell editCell() const { return edit_; }

  // The TX editor of an empty TX cell starts with the row's RX frequency when, at the last
  // double click, the editing position was the RX cell of the same row (edit RX, then
  // double-click the empty TX cell beside it).
  bool prefillTx(bool txCellEmpty) const;

 private:
  GridCell current_{};
  GridCell edit_{0, 0};
  bool editing_ = false;
  bool suppress_ = false;
  GridCell editAtDoubleClick_{0, 0};  // the editing position when the last double click came
  std::array<bool, kGridChannelRows + 1> hidden_{};
  // The next shown row from `row` in direction `step` (±1), wrapping; `row` when none is shown.
  int shownRow(int row, int step) const;
};

}  // namespace n27
