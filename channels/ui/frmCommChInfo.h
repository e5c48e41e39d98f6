#pragma once
// frmCommChInfo: the channel window. One grid row per channel number 1..128; RX and TX
// frequency, tones, power and spacing are edited in place, the other fields in the detail
// dialog behind the "More" column. The grid never writes the channel list itself: every edit
// goes through ChangeChannel, and rows are redrawn when the channel list says they changed.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "base/ui/editor_window.h"
#include "channels/channel_block_ops.h"
#include "channels/channel_clipboard.h"
#include "channels/channel_context.h"
#include "channels/grid_cursor.h"
#include "channels/grid_selection.h"
#include "channels/ui/channel_window_host.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;
class QTableWidget;

namespace n27 {

class FrmCHInfoEdit;

class frmCommChInfo : public QWidget, public EditorWindow, public ChannelListener {
  Q_OBJECT

 public:
  frmCommChInfo(ChannelContext &ctx, ChannelWindowHost host = {}, QWidget *parent = nullptr);
  ~frmCommChInfo() override;

  // Clears every row, fills the rows of all channels, then SetShowEditData.
  void SetGridData();
  // Fills the row of every channel in the channel list.
  void ShowAllFredata();
  // Redraws one row (channel number = row): filled when the channel exists, else cleared.
  void reShowGrid(int row);
  // Copies the text of the current cell into the editor of the current column.
  void SetShowEditData();
  // Takes the open editor's text back into the cell it was opened on and into the channel
  // list (ChangeChannel); then hides the editor. Does nothing while no editor is open.
  void SaveShowGridData(bool refresh);
  // Opens the editor of the current cell ("More": the detail dialog).
  void EnterGridEdit();
  // Cursor movement after an edit.
  void GridNextCol(int from = 0);
  void GridNextLine();
  // True when the current row has an RX frequency; otherwise the cursor goes to its RX cell.
  bool FlexConcludeRx();
  // The clipboard commands "C", "X", "V", "D" on the channel of the current row.
  void SetCHEdit(ChannelEditCommandKey command);
  // The Channel Edit commands on the selection: a one-row selection is SetCHEdit itself; more
  // rows use the block clipboard (a paste that overwrites channels or runs past 128 asks
  // first), and the channel plan commands (move, insert/delete row, sort, compact, find).
  void blockCommand(ChannelEditCommand command);
  const GridSelection &selection() const { return selection_; }
  // Hides the rows without a channel (remembered per user); the cursor goes to a shown row.
  void setHideEmptyRows(bool hide);
  bool hideEmptyRows() const;
  // Find: the next channel after the cursor whose frequency or tone shows `text`, selected.
  // False (with a message) when none does.
  bool findNext(const QString &text);
  QLineEdit *findBox() const { return find_; }
  QCheckBox *hideEmptyBox() const { return hideEmpty_; }
  // Re-applies every text in the current language, then SetGridData.
  void ReShowChInfoByLanguage();

  // The current row (channel number) and column of the cursor.
  int currentRow() const { return cursor_.row(); }
  int currentCol() const { return cursor_.col(); }
  // Puts the cursor on a channel's row (the detail dialog's channel list does this).
  void selectRow(int row);
  // Opens the detail dialog, or brings it to the front.
  void showDetailDialog();
  FrmCHInfoEdit *detailDialog() const;
  QTableWidget *grid() const { return grid_; }
  const ChannelClipboard &clipboard() const { return clipboard_; }

  // The design size, wide enough for every visible column.
  QSize sizeHint() const override;

  // EditorWindow
  void storePendingInput() override;
  void channelEdit(ChannelEditCommand command) override;

  // ChannelListener
  void channelChanged(int number, bool refresh) override;
  void allChannelsChanged() override;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

 private:
  void buildUi();
  int gridWidth() const;
  void applyLanguage();
  void fillRow(int row);
  // The CH cell's mark of a channel that differs from the saved copy.
  void markRow(int row);
  void markAllRows();
  QString cellText(int row, int col) const;
  void setCellText(int row, int col, const QString &text);
  // Moves the grid's current cell; its cell-enter event follows.
  void moveTo(const GridCell &cell);
  void cellEntered(int row, int col);
  void cellDoubleClicked(int row, int col);
  // Enter (or Tab) in an in-place editor.
  void editorEnter();
  void cancelEdit();
  void listChosen();
  QWidget *editorOf(int col) const;
  // "CH 5, RX Frequency": the row and column captions of a cell.
  QString cellCaption(int row, int col) const;
  QWidget *openEditor() const;
  void placeEditor();
  void showHelpFor(int col);
  void activationChanged(bool active);
  void updateCaption();
  bool frequencyKey(QKeyEvent *key);
  // Grid keys of the selection and the channel plan commands; true when taken.
  bool selectionKey(QKeyEvent *key);
  // A click on the CH column: select, Shift extend, Ctrl add.
  void channelCellClicked(int row, Qt::KeyboardModifiers modifiers);
  // Moves the cursor without the move resetting the selection.
  void moveKeepingSelection(int row);
  void paintSelection();
  // Hides or shows the empty rows after the channel list changed.
  void applyHiddenRows();
  HiddenRows hiddenRows() const;
  void showOutcome(BlockOutcome outcome);
  // Two handlers of this window report themselves without the leading "f".
  static constexpr const char *kShortWindowName_ = "rmCommChInfo";
  // Runs a handler; a failure shows "frmCommChInfo_<name>" and the handler ends.
  bool run(const char *handler, const std::function<void()> &body);

  ChannelContext &ctx_;
  ChannelWindowHost host_;
  GridCursor cursor_;
  ChannelClipboard clipboard_;
  BlockClipboard block_;  // filled by a copy or cut of several rows; wins over clipboard_
  GridSelection selection_;
  std::array<bool, kMaxChannels + 1> painted_{};  // rows drawn as selected
  bool keepSelection_ = false;

  QLabel *label1_ = nullptr;
  QCheckBox *hideEmpty_ = nullptr;
  QLabel *findLabel_ = nullptr;
  QLineEdit *find_ = nullptr;
  QComboBox *combo6_ = nullptr;
  QTableWidget *grid_ = nullptr;
  QLineEdit *text1_ = nullptr;
  QComboBox *combo1_ = nullptr;  // the tone list (decode and encode)
  QComboBox *combo2_ = nullptr;  // TX power
  QComboBox *combo3_ = nullptr;  // channel spacing
  QComboBox *combo4_[2] = {};    // scan add, PTT ID
  QComboBox *combo5_ = nullptr;  // optional signalling
  QPushButton *commandEdit_ = nullptr;
  QPushButton *commandHelp_ = nullptr;
  QPushButton *commandClose_ = nullptr;
  QPointer<FrmCHInfoEdit> detail_;
  QPointer<QMdiSubWindow> subWindow_;

  bool saving_ = false;
  bool active_ = false;
  bool toneRefused_ = false;  // the last edit was a tone the list does not hold
};

}  // namespace n27
