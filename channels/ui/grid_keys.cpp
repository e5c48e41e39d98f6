// The channel window's keys and mouse: Enter and Tab in the grid and in its editors, the
// Channel Edit keys, typing that starts an edit, clicks on the CH column, help.

#include "channels/ui/frmCommChInfo.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

#include "base/ui/handler_guard.h"
#include "channels/channel_window_texts.h"
#include "channels/grid_rows.h"
#include "channels/ui/channel_widgets.h"

namespace n27 {

namespace {

bool gridIsEnter(const QKeyEvent *k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

}  // namespace

bool frmCommChInfo::selectionKey(QKeyEvent *key) {
  const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const int k = key->key();
  const bool vertical = k == Qt::Key_Up || k == Qt::Key_Down;
  if (vertical && mods == Qt::AltModifier) {
    blockCommand(k == Qt::Key_Up ? ChannelEditCommand::MoveUp : ChannelEditCommand::MoveDown);
    return true;
  }
  if (vertical && mods == Qt::ShiftModifier) {
    // Shift+arrows extend the selection to the next shown row.
    const HiddenRows hidden = hiddenRows();
    int row = cursor_.row();
    do row += k == Qt::Key_Up ? -1 : 1;
    while (row >= 1 && row <= kGridChannelRows && hidden[row]);
    if (row < 1 || row > kGridChannelRows) return true;
    SaveShowGridData(true);
    selection_.extendTo(row);
    moveKeepingSelection(row);
    paintSelection();
    return true;
  }
  if (k == Qt::Key_Insert && mods == Qt::NoModifier) {
    blockCommand(ChannelEditCommand::InsertRow);
    return true;
  }
  if (k == Qt::Key_Delete && mods == Qt::ControlModifier) {
    blockCommand(ChannelEditCommand::DeleteRow);
    return true;
  }
  if (key->matches(QKeySequence::Find)) {
    blockCommand(ChannelEditCommand::Find);
    return true;
  }
  if (k == Qt::Key_F3 && mods == Qt::NoModifier) {
    findNext(find_->text());
    return true;
  }
  const QKeySequence pressed(key->keyCombination());
  for (ChannelEditCommand c :
       {ChannelEditCommand::SortAscending, ChannelEditCommand::SortDescending, ChannelEditCommand::Compact})
    if (pressed == QKeySequence(QString::fromLatin1(ChannelPlanKeys(c)))) {
      blockCommand(c);
      return true;
    }
  return false;
}

void frmCommChInfo::showHelpFor(int col) {
  if (!host_.showHelp) return;
  int topic = chtext::kHelpChannelWindow;
  if (IsFrequencyColumn(col)) topic = chtext::kHelpFrequencyBase + col;
  if (col == kColPower) topic = chtext::kHelpPower;
  if (col == kColSpacing) topic = chtext::kHelpSpacing;
  if (col == kColScanAdd) topic = chtext::kHelpScanAdd;
  host_.showHelp(topic);
}

bool frmCommChInfo::frequencyKey(QKeyEvent *key) {
  bool eat = false;
  RunHandler(QString(kShortWindowName_), "Text1_KeyPress", [&] { eat = FilterFrequencyKey(key); });
  return eat;
}

bool frmCommChInfo::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::Resize && watched == grid_->viewport()) placeEditor();
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QModelIndex index = grid_->indexAt(mouse->position().toPoint());
    if (mouse->button() == Qt::LeftButton && index.isValid() && index.column() == kColChannel) {
      run("MSFlexGrid1_Click", [&] { channelCellClicked(index.row() + 1, mouse->modifiers()); });
      return true;
    }
  }
  // Ctrl+F and F3 also from the find box.
  if (watched == find_ && event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F3) {
      findNext(find_->text());
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      grid_->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }

  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (gridIsEnter(key)) {
      EnterGridEdit();
      return true;
    }
    if (key->key() == Qt::Key_F1) {
      showHelpFor(cursor_.col());
      return true;
    }
    if (selectionKey(key)) return true;
    // Tab walks through the fields as Enter does after an edit; Shift+Tab walks back.
    if (key->key() == Qt::Key_Tab) {
      GridNextCol();
      return true;
    }
    if (key->key() == Qt::Key_Backtab) {
      moveTo(cursor_.prevCol());
      return true;
    }
    // The Channel Edit commands from the keyboard.
    const std::pair<QKeySequence::StandardKey, ChannelEditCommand> shortcuts[] = {
        {QKeySequence::Copy, ChannelEditCommand::Copy},
        {QKeySequence::Cut, ChannelEditCommand::Cut},
        {QKeySequence::Paste, ChannelEditCommand::Paste},
        {QKeySequence::Delete, ChannelEditCommand::Delete}};
    for (const auto &[sequence, command] : shortcuts)
      if (key->matches(sequence)) {
        blockCommand(command);
        return true;
      }
    // Typing a digit on a frequency cell starts editing it with that digit.
    const QString t = key->text();
    if (IsFrequencyColumn(cursor_.col()) && t.size() == 1 && !(key->modifiers() & Qt::ControlModifier) &&
        (t[0].isDigit() || t[0] == '.') && t[0].unicode() < 128) {
      EnterGridEdit();
      if (text1_->isVisible()) text1_->setText(t);
      return true;
    }
    return false;
  }

  QWidget *editor = openEditor();
  const bool isEditorObject =
      editor && (watched == editor || (editor == combo1_ && watched == combo1_->lineEdit()));
  if (!isEditorObject) return QWidget::eventFilter(watched, event);

  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    const bool isText = editor == text1_;
    if (gridIsEnter(key) || key->key() == Qt::Key_Tab) {
      if (isText)
        RunHandler(QString(kShortWindowName_), "Text1_KeyPress", [&] { editorEnter(); });
      else
        run((editor->objectName().left(6) + "_KeyPress").toUtf8().constData(), [&] { editorEnter(); });
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      cancelEdit();
      return true;
    }
    if (key->key() == Qt::Key_F1) {
      showHelpFor(cursor_.editCell().col);
      return true;
    }
    if (isText) return frequencyKey(key);
    if (auto *box = qobject_cast<QComboBox *>(editor); box && watched == box)
      return StepListWithoutChoosing(box, key);
    return false;
  }
  if (event->type() == QEvent::Wheel) return true;  // the wheel scrolls, it does not choose
  if (event->type() == QEvent::FocusOut) {
    auto *focus = static_cast<QFocusEvent *>(event);
    QWidget *now = QApplication::focusWidget();
    const bool stillInside = now && (now == editor || editor->isAncestorOf(now));
    if (focus->reason() != Qt::PopupFocusReason && !stillInside && !QApplication::activePopupWidget())
      run(editor == text1_ ? "Text1_Validate"
                           : (editor->objectName().left(6) + "_Validate").toUtf8().constData(),
          [&] { SaveShowGridData(true); });
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace n27
