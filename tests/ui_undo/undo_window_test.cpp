// Undo and redo as a user works them: a grid edit, a paste, a batch Apply, a feature setting and
// a band switch, each taken back and repeated through the Edit menu, the toolbar and the
// shortcuts; the marks of what changed; the recent files; a data file dropped on the window.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

#include "app/ui/frmModelInfo.h"
#include "channels/channel_changes.h"
#include "channels/channel_ops.h"
#include "channels/grid_cursor.h"
#include "channels/grid_rows.h"
#include "channels/ui/FrmCHInfoEdit.h"
#include "channels/ui/frmCommChInfo.h"
#include "codeplug/bands.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

class UndoWindowTest : public MainWindowTest {
 protected:
  frmMain &start() {
    frmMain &m = makeMain();
    QApplication::setActiveWindow(&m);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&m));
    return m;
  }
  frmCommChInfo *grid() { return qobject_cast<frmCommChInfo *>(main->findWindow(window::kChannelGrid)); }
  QString chCell(int row) { return grid()->grid()->item(row - 1, kColChannel)->text(); }
  bool chBold(int row) { return grid()->grid()->item(row - 1, kColChannel)->font().bold(); }
  QString cell(int row, int col) { return grid()->grid()->item(row - 1, col)->text(); }
  QString undoText() { return main->action("mnuEditUndo")->text(); }
  QString redoText() { return main->action("mnuEditRedo")->text(); }
  QString panel1() { return main->statusBar()->findChild<QLabel *>("sbStatusBar_Panel1")->text(); }
  const ChannelRecord *channel(int n) {
    const int slot = ws.working.findChannel(n);
    return slot ? ws.working.slot(slot) : nullptr;
  }
  // Types into a grid cell as a user does: cursor on the cell, Enter, the text, Enter.
  void typeInCell(int row, int col, const char *text) {
    grid()->grid()->setFocus();
    grid()->grid()->setCurrentCell(row - 1, col);
    QTest::keyClick(grid()->grid(), Qt::Key_Return);
    QWidget *editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    if (auto *line = qobject_cast<QLineEdit *>(editor)) line->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  void shortcut(Qt::Key key, Qt::KeyboardModifiers mods) {
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : main.get();
    QTest::keyClick(target, key, mods);
  }
  // A configuration with channels 1 and 2, saved, so marks show what differs from it.
  void savedConfiguration() {
    ChannelContext quiet(ws);
    AddChannel(quiet, 1, 1, "440.00000");
    AddChannel(quiet, 1, 2, "441.00000");
    ASSERT_EQ(SaveDataFile(ws, path("base.dat")), FileStatus::Ok);
    ws.history.clear();
  }
};

TEST_F(UndoWindowTest, GridEditThroughMenuAndShortcuts) {
  savedConfiguration();
  start();
  ASSERT_NE(grid(), nullptr);
  EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());
  EXPECT_EQ(undoText(), "Undo");
  EXPECT_EQ(chCell(3), "3");
  EXPECT_EQ(panel1(), "Ready");

  typeInCell(3, kColRx, "450");
  ASSERT_NE(channel(3), nullptr);
  EXPECT_EQ(cell(3, kColRx), "450.00000");
  EXPECT_EQ(undoText(), "Undo Edit Channel 3");
  EXPECT_EQ(chCell(3), QString::fromUtf8("+ 3"));
  EXPECT_TRUE(chBold(3));
  EXPECT_EQ(panel1(), "Modified");

  main->action("mnuEditUndo")->trigger();
  EXPECT_EQ(channel(3), nullptr);
  EXPECT_EQ(cell(3, kColRx), "");
  EXPECT_EQ(chCell(3), "3");
  EXPECT_FALSE(chBold(3));
  EXPECT_EQ(panel1(), "Ready");
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  EXPECT_EQ(redoText(), "Redo Edit Channel 3");

  grid()->grid()->setFocus();
  shortcut(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(cell(3, kColRx), "450.00000");
  shortcut(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(cell(3, kColRx), "");
  shortcut(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(cell(3, kColRx), "450.00000");
  ASSERT_NE(channel(3), nullptr);

  // An edit of an existing channel marks it as changed; the toolbar button takes it back.
  typeInCell(1, kColTx, "445");
  EXPECT_EQ(chCell(1), QString::fromUtf8("\u25CF 1"));
  EXPECT_EQ(main->action("Undo")->toolTip(), "Undo Edit Channel 1");
  main->action("Undo")->trigger();
  EXPECT_EQ(cell(1, kColTx), "440.00000");
  EXPECT_EQ(chCell(1), "1");

  // Saving makes the present data the reference: no marks, no Modified.
  ASSERT_EQ(SaveDataFile(ws, path("base.dat")), FileStatus::Ok);
  main->setCaptionForm(CaptionForm::File);
  EXPECT_EQ(chCell(3), "3");
  EXPECT_EQ(panel1(), "Ready");
  main->action("mnuEditUndo")->trigger();  // the history outlives a save
  EXPECT_EQ(chCell(3), QString::fromUtf8("\u2212 3"));
  EXPECT_EQ(panel1(), "Modified");
}

TEST_F(UndoWindowTest, PasteAndDeleteAreUndoneWithTheScanChoices) {
  savedConfiguration();
  start();
  grid()->grid()->setFocus();
  grid()->grid()->setCurrentCell(0, kColRx);
  main->action("mnuCHCopy")->trigger();
  grid()->grid()->setCurrentCell(19, kColRx);
  main->action("mnuCHPaste")->trigger();
  ASSERT_NE(channel(20), nullptr);
  EXPECT_EQ(cell(20, kColRx), "440.00000");
  EXPECT_EQ(undoText(), "Undo Paste Channel 20");
  EXPECT_EQ(ws.working.scan.words[2], 4);

  grid()->grid()->setCurrentCell(1, kColRx);
  main->action("mnuCHDelete")->trigger();
  EXPECT_EQ(channel(2), nullptr);
  EXPECT_EQ(chCell(2), QString::fromUtf8("\u2212 2"));

  shortcut(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(cell(2, kColRx), "441.00000");
  shortcut(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(channel(20), nullptr);
  EXPECT_EQ(cell(20, kColRx), "");
  EXPECT_EQ(ws.working.scan.words[2], 255);
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  main->action("mnuEditRedo")->trigger();
  EXPECT_EQ(cell(20, kColRx), "440.00000");
}

TEST_F(UndoWindowTest, BatchApplyAsksFirstAndIsOneStep) {
  savedConfiguration();
  start();
  QWidget *batch = main->openEditor(window::kBatchEdit);
  ASSERT_NE(batch, nullptr);
  auto *rx = batch->findChild<QLineEdit *>("Text2_0");
  rx->clear();
  QTest::keyClicks(rx, "430");
  auto *step = batch->findChild<QLineEdit *>("Text2_1");
  step->clear();
  QTest::keyClicks(step, "12.5");

  // Cancel leaves everything as it was.
  prompter.answers = {Answer::Cancel};
  batch->findChild<QPushButton *>("CommandApply")->click();
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(prompter.questions[0], "Apply will create 30 channels and change 2 (channels 1–32).");
  EXPECT_EQ(ws.working.channelCount, 2);
  EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());

  prompter.answers = {Answer::Ok};
  batch->findChild<QPushButton *>("CommandApply")->click();
  EXPECT_EQ(ws.working.channelCount, 32);
  EXPECT_EQ(cell(32, kColRx), "430.38750");
  EXPECT_EQ(undoText(), "Undo Batch Edit");
  EXPECT_EQ(chCell(32), QString::fromUtf8("+ 32"));

  main->action("mnuEditUndo")->trigger();
  EXPECT_EQ(ws.working.channelCount, 2);
  EXPECT_EQ(cell(32, kColRx), "");
  EXPECT_EQ(cell(1, kColRx), "440.00000");
  EXPECT_FALSE(IsModified(ws.working, ws.saved));
  main->action("Redo")->trigger();
  EXPECT_EQ(ws.working.channelCount, 32);
  EXPECT_EQ(cell(1, kColRx), "430.00000");

  SetLanguageIndex(kChinese);
  main->Change_Language();
  EXPECT_EQ(undoText(), QString::fromUtf8("撤销批量编辑"));
  EXPECT_EQ(panel1(), QString::fromUtf8("已修改"));
}

TEST_F(UndoWindowTest, FeatureSettingUndoneAfterItsWindowClosedAndAcrossLanguages) {
  start();
  QWidget *function = main->openEditor(window::kFunctionSetup);
  ASSERT_NE(function, nullptr);
  auto *squelch = function->findChild<QComboBox *>("Combo1_2");
  const int was = ws.working.function.squelch;
  const int pick = squelch->findText("7");
  squelch->setCurrentIndex(pick);
  emit squelch->activated(pick);
  EXPECT_EQ(ws.working.function.squelch, 7);
  EXPECT_EQ(undoText(), "Undo Function Setup: Squelch Level");

  // The open window shows the undone value at once.
  main->action("mnuEditUndo")->trigger();
  EXPECT_EQ(ws.working.function.squelch, was);
  EXPECT_EQ(squelch->currentText(), QString::number(was));
  shortcut(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(squelch->currentText(), "7");

  // The window is closed, the language switched: the step is still there.
  main->CloseCurAllWindows();
  QApplication::processEvents();
  SetLanguageIndex(kChinese);
  main->Change_Language();
  EXPECT_EQ(undoText(), QString::fromUtf8("撤销功能设定：静噪等级"));
  main->action("mnuEditUndo")->trigger();
  EXPECT_EQ(ws.working.function.squelch, was);
  EXPECT_EQ(redoText(), QString::fromUtf8("重做功能设定：静噪等级"));
  QWidget *again = main->openEditor(window::kFunctionSetup);
  EXPECT_EQ(again->findChild<QComboBox *>("Combo1_2")->currentText(), QString::number(was));
}

TEST_F(UndoWindowTest, BandSwitchUndone) {
  savedConfiguration();
  frmMain &m = start();
  main->setCaptionForm(CaptionForm::File);
  prompter.onDialog = [](QDialog &d) {
    auto *info = qobject_cast<frmModelInfo *>(&d);
    info->bandBox()->setCurrentIndex(info->bandBox()->findText(kBand136));
    return int(QDialog::Accepted);
  };
  prompter.answers = {Answer::Ok};  // "Frequency data will be cleared."
  main->action("mnuModelInfo")->trigger();
  EXPECT_EQ(ws.bandText, kBand136);
  EXPECT_EQ(m.windowTitle(), "N27[File Name:new.dat]");
  EXPECT_EQ(undoText(), "Undo Model Information");

  main->action("mnuEditUndo")->trigger();
  EXPECT_EQ(ws.bandText, kBand400);
  EXPECT_EQ(ws.working.channelCount, 2);
  EXPECT_EQ(m.windowTitle(), "N27[N27PR:400 - 490 MHz][File Name:base.dat]");
  EXPECT_EQ(m.statusBar()->findChild<QLabel *>("sbStatusBar_Panel2")->text(), "[N27 400 - 490 MHz]");
  EXPECT_EQ(cell(2, kColRx), "441.00000");
  EXPECT_FALSE(IsModified(ws.working, ws.saved));

  // New clears the history.
  prompter.answers = {Answer::Ok};
  main->action("mnuFileNew")->trigger();
  EXPECT_FALSE(main->action("mnuEditRedo")->isEnabled());
  EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());
}

TEST_F(UndoWindowTest, DetailDialogMarksItsChangedFields) {
  savedConfiguration();
  start();
  grid()->grid()->setCurrentCell(0, kColRx);
  grid()->showDetailDialog();
  FrmCHInfoEdit *detail = grid()->detailDialog();
  ASSERT_NE(detail, nullptr);
  auto *powerLabel = detail->findChild<QLabel *>("Label2_6");
  ASSERT_NE(powerLabel, nullptr);
  EXPECT_FALSE(powerLabel->font().bold());
  auto *power = detail->findChild<QComboBox *>("Combo2_4");
  const int high = power->findText("High");
  power->setCurrentIndex(high);
  emit power->activated(high);
  EXPECT_EQ(channel(1)->power, 2);
  EXPECT_TRUE(powerLabel->font().bold());
  EXPECT_TRUE(powerLabel->text().startsWith(QString::fromUtf8(kChangeMarker)));
  EXPECT_EQ(undoText(), "Undo Edit Channel 1 Details");
  auto *scanAdd = detail->findChild<QCheckBox *>("Check1_0");
  EXPECT_FALSE(scanAdd->font().bold());

  main->action("mnuEditUndo")->trigger();
  EXPECT_EQ(channel(1)->power, 1);
  EXPECT_FALSE(powerLabel->font().bold());
  EXPECT_EQ(power->currentText(), "Middle");
}

TEST_F(UndoWindowTest, RecentFilesAndDroppedFiles) {
  savedConfiguration();
  start();
  const std::string other = path("other.dat");
  ASSERT_EQ(SaveDataFile(ws, other), FileStatus::Ok);
  main->setCaptionForm(CaptionForm::File);
  main->openRecentFile(path("base.dat"));  // not modified: no question
  ASSERT_EQ(main->recentFiles().size(), 2u);
  EXPECT_EQ(main->recentFiles()[0], path("base.dat"));
  QAction *first = main->findChild<QAction *>("mnuFileRecent1");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->text(), QString::fromStdString("&1 base.dat  [" + dir.string() + "]"));

  // A file that has gone is dropped from the list with a message.
  std::filesystem::remove(other);
  main->findChild<QAction *>("mnuFileRecent2")->trigger();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].contains("no longer exists"));
  EXPECT_EQ(main->recentFiles().size(), 1u);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(main->findChild<QAction *>("mnuFileRecent2"), nullptr);

  // Dropping a data file on the window opens it, after the save question when modified.
  ChannelContext quiet(ws);
  ASSERT_EQ(SaveDataFile(ws, path("dropped.dat")), FileStatus::Ok);
  ChangeChannel(quiet, 1, 9, kFieldRx, "450");
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path("dropped.dat")))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(main.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  prompter.answers = {Answer::No};  // "File has been modify,save it now?"
  QApplication::sendEvent(main.get(), &drop);
  QApplication::processEvents();
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(ws.fileName, path("dropped.dat"));
  EXPECT_EQ(ws.working.findChannel(9), 0);
  EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());  // Open clears the history

  // Anything but a data file is refused.
  QMimeData text;
  text.setUrls({QUrl::fromLocalFile(QString::fromStdString(path("notes.txt")))});
  QDragEnterEvent refused(QPoint(50, 50), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(main.get(), &refused);
  EXPECT_FALSE(refused.isAccepted());
}

}  // namespace
}  // namespace n27::test
