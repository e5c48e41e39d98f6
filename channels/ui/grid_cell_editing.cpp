// The channel window's in-place editors and its cursor: opening the editor of a cell, taking
// its text back into the channel list, and where the cursor goes after an edit.

#include "channels/ui/frmCommChInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "base/ui/accessible_names.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "channels/channel_ops.h"
#include "channels/channel_window_texts.h"
#include "channels/grid_rows.h"
#include "channels/ui/FrmCHInfoEdit.h"
#include "channels/ui/channel_widgets.h"

namespace n27 {

QWidget *frmCommChInfo::editorOf(int col) const {
  switch (col) {
    case kColRx:
    case kColTx: return text1_;
    case kColDecode:
    case kColEncode: return combo1_;
    case kColPower: return combo2_;
    case kColScanAdd: return combo4_[0];
    case kColOptSignal: return combo5_;
    case kColPttId: return combo4_[1];
    case kColSpacing: return combo3_;
    default: return nullptr;
  }
}

QWidget *frmCommChInfo::openEditor() const {
  return cursor_.editing() ? editorOf(cursor_.editCell().col) : nullptr;
}

void frmCommChInfo::placeEditor() {
  QWidget *editor = openEditor();
  if (!editor) return;
  const GridCell c = cursor_.editCell();
  QRect r = grid_->visualItemRect(grid_->item(c.row - 1, c.col));
  if (auto *box = qobject_cast<QComboBox *>(editor))
    r.setHeight(std::max(r.height(), box->sizeHint().height()));
  editor->setGeometry(r);
}

void frmCommChInfo::EnterGridEdit() {
  run("EnterGridEdit", [&] {
    SaveShowGridData(true);
    if (detail_) detail_->SetGridEditData(true);
    const GridCell c = cursor_.current();
    if (c.col == kColMore) {
      showDetailDialog();
      return;
    }
    QWidget *editor = editorOf(c.col);
    if (!editor) return;
    if (IsFrequencyColumn(c.col)) {
      if (c.col == kColTx && cursor_.prefillTx(cellText(c.row, kColTx).isEmpty()))
        setCellText(c.row, kColTx, cellText(c.row, kColRx));
      text1_->setText(cellText(c.row, c.col));
    } else {
      ShowListText(static_cast<QComboBox *>(editor), cellText(c.row, c.col));
    }
    cursor_.editorOpened();
    // A screen reader names the editor after its cell: "CH 5, RX Frequency".
    editor->setAccessibleName(cellCaption(c.row, c.col));
    placeEditor();
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    // What the cell shows is selected: typing replaces it (a tone typed over "None").
    if (editor == text1_ && !text1_->text().isEmpty()) text1_->selectAll();
    if (editor == combo1_) combo1_->lineEdit()->selectAll();
  });
}

QString frmCommChInfo::cellCaption(int row, int col) const {
  auto header = [this](int c) {
    const QTableWidgetItem *h = grid_->horizontalHeaderItem(c);
    return h ? PlainLabel(h->text()) : QString();
  };
  return header(kColChannel) + " " + QString::number(row) + ", " + header(col);
}

void frmCommChInfo::SaveShowGridData(bool refresh) {
  run("SaveShowGridData", [&] {
    if (!cursor_.editing() || saving_) return;
    saving_ = true;
    struct Reset {
      bool &flag;
      ~Reset() { flag = false; }
    } reset{saving_};

    const GridCell c = cursor_.editCell();
    QWidget *editor = editorOf(c.col);
    QString text;
    if (IsFrequencyColumn(c.col))
      text = QString::fromStdString(FormatTypedFrequency(text1_->text().toStdString()));
    else
      text = ListText(static_cast<QComboBox *>(editor));
    setCellText(c.row, c.col, text);
    cursor_.editorClosed();
    // The editor goes before the channel list takes the text: a message it shows must not
    // find the editor still open and save it again.
    if (editor->isAncestorOf(QApplication::focusWidget()) || editor->hasFocus())
      grid_->setFocus(Qt::OtherFocusReason);
    editor->hide();
    const EditStatus status = ChangeChannel(ctx_, 1, c.row, c.col, text.toStdString(), refresh);
    // An edit the channel list did not take (a list value on a row without a channel, a tone
    // the list does not hold) leaves nothing behind in the cell: it shows what is stored.
    if (status != EditStatus::Ok) fillRow(c.row);
    toneRefused_ = status == EditStatus::Unmatched && editor == combo1_ && !text.trimmed().isEmpty();
    if (toneRefused_) ShowMessage(this, QString::fromUtf8(chtext::kToneNotInList.get()).replace("%1", text));
  });
}

void frmCommChInfo::editorEnter() {
  QWidget *editor = openEditor();
  const QString typed =
      editor == text1_ ? text1_->text() : editor ? ListText(static_cast<QComboBox *>(editor)) : QString();
  SaveShowGridData(true);
  if (toneRefused_) {  // the cell is open again for the tone to be typed anew
    EnterGridEdit();
    return;
  }
  switch (cursor_.enterInEditor(typed.toStdString())) {
    case EditorEnter::NextLine: GridNextLine(); break;
    case EditorEnter::NextCol: GridNextCol(); break;
    case EditorEnter::OpenDetail: showDetailDialog(); break;
  }
}

void frmCommChInfo::cancelEdit() {
  QWidget *editor = openEditor();
  if (!editor) return;
  cursor_.editorClosed();
  grid_->setFocus(Qt::OtherFocusReason);
  editor->hide();
}

void frmCommChInfo::listChosen() {
  // A choice from the list is taken at once; the row is redrawn so that values the choice
  // changes beside it (the encode tone following the decode tone) show too.
  SaveShowGridData(true);
  grid_->setFocus(Qt::OtherFocusReason);
}

// ---- cursor ---------------------------------------------------------------------------

void frmCommChInfo::moveTo(const GridCell &cell) {
  grid_->setCurrentCell(cell.row - 1, cell.col);
}

void frmCommChInfo::GridNextCol(int from) {
  RunHandler(QString(kShortWindowName_), "GridNextCol", [&] {
    const GridCell c = cursor_.current();
    const bool empty = cellText(c.row, c.col).isEmpty();
    for (const GridCell &step : cursor_.nextCol(empty, from)) moveTo(step);
    grid_->setFocus(Qt::OtherFocusReason);
  });
}

void frmCommChInfo::GridNextLine() {
  run("GridNextLine", [&] {
    moveTo(cursor_.nextLine());
    grid_->setFocus(Qt::OtherFocusReason);
  });
}

bool frmCommChInfo::FlexConcludeRx() {
  bool has = false;
  run("FlexConcludeRx", [&] {
    has = !cellText(cursor_.row(), kColRx).isEmpty();
    if (!cursor_.concludeRx(has)) moveTo(cursor_.current());
  });
  return has;
}

void frmCommChInfo::selectRow(int row) {
  if (row < 1 || row > kGridChannelRows) return;
  int col = cursor_.col() >= kColRx ? cursor_.col() : kColRx;
  moveTo({row, col});
}

void frmCommChInfo::cellEntered(int row, int col) {
  // The cursor on another row than the selection's selects that row alone (unless Shift is
  // extending), however it got there: a click, an arrow key, or Enter and Tab after an edit.
  if (!keepSelection_ && row != selection_.cursor() && row >= 1 && row <= kGridChannelRows) {
    selection_.click(row);
    paintSelection();
  }
  if (!cursor_.enterCell(row, col)) return;
  SaveShowGridData(true);
  updateCaption();
  if (detail_) detail_->SetGridEditData(true);
}

void frmCommChInfo::cellDoubleClicked(int row, int col) {
  SaveShowGridData(true);
  const bool hasRx = !cellText(row, kColRx).isEmpty();
  const DoubleClickOutcome out =
      cursor_.doubleClick(row, col, hasRx, cellText(row, kColTx).isEmpty());
  moveTo(out.cell);
  if (out.open) EnterGridEdit();
}

void frmCommChInfo::updateCaption() {
  setWindowTitle(QString::fromStdString(chtext::GridCaption(cursor_.row())));
}

}  // namespace n27
