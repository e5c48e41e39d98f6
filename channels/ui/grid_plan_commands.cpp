// The channel window's Channel Edit commands: the clipboard of one channel or a block of rows,
// move, insert and delete rows, sort, compact, find; the selection of rows and the hidden
// empty rows they work on.

#include "channels/ui/frmCommChInfo.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>

#include "base/messages.h"
#include "base/ui/prompter.h"
#include "channels/channel_ops.h"
#include "channels/grid_rows.h"

namespace n27 {

namespace {

inline constexpr Tr kNotFound{"No channel shows \"%1\".", "没有信道含有“%1”。"};

// The selection: the CH cell in a strong colour, the rest of the row tinted.
const QColor kSelectedChannel(96, 160, 230);
const QColor kSelectedRow(214, 232, 252);

}  // namespace

void frmCommChInfo::SetCHEdit(ChannelEditCommandKey command) {
  run("SetCHEdit", [&] {
    SaveShowGridData(true);
    if (n27::SetCHEdit(ctx_, clipboard_, command, cursor_.row()) == ChannelEditOutcome::LastChannel)
      ShowMessage(this, QString::fromUtf8(msg::kAtLeastOneChannel.get()));
  });
}

void frmCommChInfo::channelEdit(ChannelEditCommand command) { blockCommand(command); }

void frmCommChInfo::showOutcome(BlockOutcome outcome) {
  const std::string text = BlockOutcomeMessage(outcome);
  if (!text.empty()) ShowMessage(this, QString::fromStdString(text));
}

void frmCommChInfo::blockCommand(ChannelEditCommand command) {
  run("SetCHEdit", [&] {
    SaveShowGridData(true);
    const RowSelection rows = selection_.rows();
    const bool several = rows.size() > 1;
    switch (command) {
      case ChannelEditCommand::Copy:
        if (!several) {
          block_ = {};
          SetCHEdit(ChannelEditCommandKey::Copy);
        } else {
          CopyBlock(ctx_.ws.working, block_, rows);
        }
        return;
      case ChannelEditCommand::Cut:
        if (!several) {
          block_ = {};
          SetCHEdit(ChannelEditCommandKey::Cut);
        } else {
          showOutcome(CutBlock(ctx_, block_, rows));
        }
        return;
      case ChannelEditCommand::Paste: {
        if (!block_.filled || block_.rows.size() < 2) {
          SetCHEdit(ChannelEditCommandKey::Paste);
          return;
        }
        const int at = selection_.first();
        const PastePreview preview = PreviewPaste(ctx_.ws.working, block_, at);
        if (preview.ask && Ask(this, QString::fromStdString(PasteQuestion(preview)),
                               Prompt::WarningOkCancel) != Answer::Ok)
          return;
        showOutcome(PasteBlock(ctx_, block_, at));
        // The pasted rows stay selected.
        RowSelection pasted;
        for (int r = at; r < at + preview.rows && r <= kMaxChannels; ++r)
          if (!grid_->isRowHidden(r - 1)) pasted.push_back(r);
        if (!pasted.empty()) selection_.set(pasted, at);
        paintSelection();
        return;
      }
      case ChannelEditCommand::Delete:
        if (!several)
          SetCHEdit(ChannelEditCommandKey::Delete);
        else
          showOutcome(DeleteBlock(ctx_, rows));
        return;
      case ChannelEditCommand::MoveUp:
      case ChannelEditCommand::MoveDown: {
        const int direction = command == ChannelEditCommand::MoveUp ? -1 : 1;
        const HiddenRows hidden = hiddenRows();
        RowSelection moved;
        const BlockOutcome outcome = MoveRows(ctx_, rows, direction, &moved, &hidden);
        showOutcome(outcome);
        if (outcome != BlockOutcome::Done) return;
        // The selection and the cursor go with the channels.
        const int shift = moved.empty() || rows.empty() ? 0 : moved.front() - rows.front();
        const int cursor = std::clamp(cursor_.row() + shift, 1, kMaxChannels);
        selection_.set(moved, cursor);
        moveKeepingSelection(cursor);
        paintSelection();
        return;
      }
      case ChannelEditCommand::InsertRow:
        showOutcome(InsertRows(ctx_, cursor_.row(), 1));
        return;
      case ChannelEditCommand::DeleteRow:
        showOutcome(DeleteRows(ctx_, rows));
        if (grid_->isRowHidden(cursor_.row() - 1)) applyHiddenRows();
        selection_.click(cursor_.row());
        paintSelection();
        return;
      case ChannelEditCommand::SortAscending:
      case ChannelEditCommand::SortDescending:
        // A selection of several rows sorts those rows, otherwise the whole list.
        showOutcome(SortRows(ctx_, several ? rows : RowSelection{}, command == ChannelEditCommand::SortDescending));
        return;
      case ChannelEditCommand::Compact:
        showOutcome(CompactChannels(ctx_));
        return;
      case ChannelEditCommand::Find:
        find_->setFocus(Qt::ShortcutFocusReason);
        find_->selectAll();
        return;
    }
  });
}

// ---- selection, hidden rows, find --------------------------------------------------------

void frmCommChInfo::paintSelection() {
  const QPalette pal = grid_->palette();
  for (int row = 1; row <= kGridChannelRows; ++row) {
    const bool on = selection_.contains(row);
    if (on == painted_[row]) continue;
    painted_[row] = on;
    for (int col = 0; col < kGridColumnCount; ++col) {
      QTableWidgetItem *item = grid_->item(row - 1, col);
      if (!item) continue;
      if (col == kColChannel)
        item->setBackground(on ? QBrush(kSelectedChannel) : pal.button());
      else
        item->setBackground(on ? QBrush(kSelectedRow) : QBrush());
    }
  }
}

void frmCommChInfo::moveKeepingSelection(int row) {
  if (row < 1 || row > kGridChannelRows) return;
  keepSelection_ = true;
  struct Reset {
    bool &flag;
    ~Reset() { flag = false; }
  } reset{keepSelection_};
  moveTo({row, cursor_.col() >= kColRx ? cursor_.col() : kColRx});
  grid_->scrollToItem(grid_->item(row - 1, kColRx));
}

void frmCommChInfo::channelCellClicked(int row, Qt::KeyboardModifiers modifiers) {
  SaveShowGridData(true);
  if (modifiers & Qt::ShiftModifier)
    selection_.extendTo(row);
  else if (modifiers & Qt::ControlModifier)
    selection_.toggle(row);
  else
    selection_.click(row);
  moveKeepingSelection(row);
  paintSelection();
  grid_->setFocus(Qt::MouseFocusReason);
}

bool frmCommChInfo::hideEmptyRows() const { return hideEmpty_ && hideEmpty_->isChecked(); }

void frmCommChInfo::setHideEmptyRows(bool hide) { hideEmpty_->setChecked(hide); }

HiddenRows frmCommChInfo::hiddenRows() const {
  HiddenRows hidden{};
  if (!hideEmptyRows()) return hidden;
  const CodeplugData &data = ctx_.ws.working;
  bool any = false;
  for (int row = 1; row <= kGridChannelRows; ++row) {
    hidden[row] = !data.findChannel(row);
    any = any || !hidden[row];
  }
  if (!any) hidden = {};  // no channel at all: every row stays, so one can be typed
  return hidden;
}

void frmCommChInfo::applyHiddenRows() {
  const HiddenRows hidden = hiddenRows();
  for (int row = 1; row <= kGridChannelRows; ++row)
    if (grid_->isRowHidden(row - 1) != hidden[row]) grid_->setRowHidden(row - 1, hidden[row]);
  selection_.setHidden(hidden);
  cursor_.setHiddenRows(hidden);
  // The cursor never stays on a hidden row: the next shown row below, else above.
  int row = cursor_.row();
  if (row >= 1 && row <= kGridChannelRows && hidden[row]) {
    int to = 0;
    for (int r = row + 1; r <= kGridChannelRows && !to; ++r)
      if (!hidden[r]) to = r;
    for (int r = row - 1; r >= 1 && !to; --r)
      if (!hidden[r]) to = r;
    if (to) {
      cancelEdit();
      moveTo({to, cursor_.col() >= kColRx ? cursor_.col() : kColRx});
    }
  }
  if (selection_.rows().empty()) selection_.click(cursor_.row());
  paintSelection();
}

bool frmCommChInfo::findNext(const QString &text) {
  bool found = false;
  run("FindNext", [&] {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return;
    SaveShowGridData(true);
    const int row = FindChannelRow(ctx_, wanted.toStdString(), cursor_.row());
    if (!row) {
      ShowMessage(this, QString::fromUtf8(kNotFound.get()).arg(wanted));
      return;
    }
    found = true;
    selection_.click(row);
    moveKeepingSelection(row);
    paintSelection();
  });
  return found;
}
}  // namespace n27
