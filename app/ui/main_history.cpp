// The main window's Undo and Redo: the Edit menu entries and toolbar buttons named after the
// steps, and the status bar's Modified panel.

#include "app/ui/frmMain.h"
#include "base/qt/qt_text.h"

#include <QAction>
#include <QLabel>

#include "base/main_window_texts.h"
#include "channels/channel_changes.h"
#include "codeplug/configuration.h"

namespace n27 {

namespace {


// The status bar's first panel while the configuration differs from the saved copy.
constexpr Tr kModifiedPanel{"Modified", "已修改"};

}  // namespace


void frmMain::updateHistoryState() {
  const int lang = LanguageIndex();
  const EditHistory &h = ws_.history;
  const QString undoText = qs(UndoMenuText(h.undoCaption(), lang));
  const QString redoText = qs(RedoMenuText(h.redoCaption(), lang));
  actions_["mnuEditUndo"]->setText(undoText);
  actions_["mnuEditRedo"]->setText(redoText);
  for (const char *name : {"mnuEditUndo", "Undo"}) {
    actions_[name]->setToolTip(undoText);
    actions_[name]->setEnabled(h.canUndo());
  }
  for (const char *name : {"mnuEditRedo", "Redo"}) {
    actions_[name]->setToolTip(redoText);
    actions_[name]->setEnabled(h.canRedo());
  }
  updateModifiedPanel();
}

void frmMain::updateModifiedPanel() {
  const bool modified = IsModified(ws_.working, ws_.saved);
  panel1_->setText(qs(Text(modified ? kModifiedPanel : mainText::kReady)));
  QFont f = panel1_->font();
  f.setBold(modified);
  panel1_->setFont(f);
}

void frmMain::afterHistoryMove() {
  // A band switch taken back or repeated brings back another file name and band.
  if (ws_.untitled && captionForm_ == CaptionForm::File) captionForm_ = CaptionForm::New;
  if (!ws_.untitled && captionForm_ != CaptionForm::File) captionForm_ = CaptionForm::File;
  setCaptionForm(captionForm_);
  if (!editors_.find(window::kChannelGrid)) rebuildTree();
  updateHistoryState();
}

void frmMain::undo() {
  run("mnuEditUndo_Click", [this] {
    storePendingInput();  // typed input still open is stored first, so it cannot land later
    if (UndoEdit(*channels_)) afterHistoryMove();
  });
}

void frmMain::redo() {
  run("mnuEditRedo_Click", [this] {
    storePendingInput();
    if (RedoEdit(*channels_)) afterHistoryMove();
  });
}

}  // namespace n27
