// The channel grid as a dealer regroups a plan with it: rows selected with the mouse and the
// keyboard, block clipboard, moving, inserting and deleting rows, sorting, compacting, hiding
// the empty rows and finding; each command one undo step, and the settings that name channels
// following them.

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <map>

#include "channels/channel_changes.h"
#include "channels/channel_ops.h"
#include "channels/grid_rows.h"
#include "channels/ui/frmCommChInfo.h"
#include "codeplug/image_codec.h"
#include "link/frames.h"
#include "link/transfer_session.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

class GridPlanTest : public MainWindowTest {
 protected:
  // Channels on the given rows, RX 440 + row MHz, saved as the reference.
  void plan(std::initializer_list<int> rows) {
    ChannelContext quiet(ws);
    for (int r : rows) AddChannel(quiet, 1, r, std::to_string(440 + r) + ".00000");
    ws.history.clear();
  }
  frmCommChInfo &start() {
    frmMain &m = makeMain();
    QApplication::setActiveWindow(&m);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&m));
    auto *g = qobject_cast<frmCommChInfo *>(main->findWindow(window::kChannelGrid));
    EXPECT_NE(g, nullptr);
    g->grid()->setFocus();
    return *g;
  }
  frmCommChInfo &grid() { return *qobject_cast<frmCommChInfo *>(main->findWindow(window::kChannelGrid)); }
  QTableWidget *table() { return grid().grid(); }
  void clickCh(int row, Qt::KeyboardModifiers mods = {}) {
    table()->scrollToItem(table()->item(row - 1, kColChannel));
    const QRect r = table()->visualItemRect(table()->item(row - 1, kColChannel));
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, mods, r.center());
  }
  void key(Qt::Key k, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(table(), k, mods); }
  // RX frequency of a row as the grid shows it ("" for no channel).
  QString rx(int row) { return table()->item(row - 1, kColRx)->text(); }
  QString undoText() { return main->action("mnuEditUndo")->text(); }
  void undo() { QTest::keyClick(table(), Qt::Key_Z, Qt::ControlModifier); }
  RowSelection rows() { return grid().selection().rows(); }
};

TEST_F(GridPlanTest, SelectionByMouseAndKeysShowsInTheGrid) {
  plan({1, 2, 3, 4, 5, 6});
  start();
  clickCh(2);
  EXPECT_EQ(rows(), (RowSelection{2}));
  clickCh(4, Qt::ShiftModifier);
  EXPECT_EQ(rows(), (RowSelection{2, 3, 4}));
  EXPECT_EQ(grid().currentRow(), 4);
  clickCh(6, Qt::ControlModifier);
  EXPECT_EQ(rows(), (RowSelection{2, 3, 4, 6}));
  clickCh(3, Qt::ControlModifier);  // Ctrl+click on a selected row takes it out
  EXPECT_EQ(rows(), (RowSelection{2, 4, 6}));
  // Selected rows are tinted, their CH cell strongly; others are not.
  const QColor ch = table()->item(1, kColChannel)->background().color();
  const QColor cell = table()->item(1, kColRx)->background().color();
  EXPECT_NE(ch, table()->item(2, kColChannel)->background().color());
  EXPECT_EQ(table()->item(2, kColRx)->background().style(), Qt::NoBrush);
  EXPECT_NE(cell, QColor(Qt::white));

  clickCh(3);
  key(Qt::Key_Down, Qt::ShiftModifier);
  key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(rows(), (RowSelection{3, 4, 5}));
  key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(rows(), (RowSelection{3, 4}));
  // A plain arrow selects the row it goes to alone.
  key(Qt::Key_Down);
  EXPECT_EQ(rows(), (RowSelection{5}));
}

TEST_F(GridPlanTest, BlockCopyPasteAsksBeforeOverwritingAndIsOneUndoStep) {
  plan({1, 2, 3, 10});
  start();
  clickCh(1);
  clickCh(3, Qt::ShiftModifier);
  key(Qt::Key_C, Qt::ControlModifier);
  clickCh(9);
  // Rows 9..11: the paste overwrites channel 10; Cancel leaves everything.
  prompter.answers = {Answer::Cancel};
  key(Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_TRUE(prompter.questions[0].contains("1 existing channel")) << prompter.questions[0].toStdString();
  EXPECT_EQ(rx(10), "450.00000");
  EXPECT_EQ(rx(9), "");

  prompter.answers = {Answer::Ok};
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(rx(9), "441.00000");
  EXPECT_EQ(rx(10), "442.00000");
  EXPECT_EQ(rx(11), "443.00000");
  EXPECT_EQ(rows(), (RowSelection{9, 10, 11}));
  EXPECT_EQ(undoText(), "Undo Paste Channels");
  undo();
  EXPECT_EQ(rx(9), "");
  EXPECT_EQ(rx(10), "450.00000");
  EXPECT_EQ(rx(11), "");

  // Cut and Delete of a selection, each one step.
  clickCh(1);
  clickCh(2, Qt::ShiftModifier);
  key(Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(rx(1), "");
  EXPECT_EQ(rx(2), "");
  EXPECT_EQ(undoText(), "Undo Cut Channels");
  undo();
  EXPECT_EQ(rx(1), "441.00000");
  clickCh(2);
  clickCh(3, Qt::ShiftModifier);
  key(Qt::Key_Delete);
  EXPECT_EQ(rx(2), "");
  EXPECT_EQ(rx(3), "");
  EXPECT_EQ(undoText(), "Undo Delete Channels");
  undo();
  EXPECT_EQ(rx(3), "443.00000");
}

TEST_F(GridPlanTest, SingleRowClipboardIsTheChannelCommandItself) {
  plan({1, 2});
  start();
  clickCh(1);
  key(Qt::Key_C, Qt::ControlModifier);
  clickCh(2);
  key(Qt::Key_V, Qt::ControlModifier);  // one row: no question, as before
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_EQ(rx(2), "441.00000");
  EXPECT_EQ(undoText(), "Undo Paste Channel 2");
  // Deleting the last channel is still refused with the same message.
  clickCh(1);
  clickCh(2, Qt::ShiftModifier);
  key(Qt::Key_Delete);
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back(), "At least one channel must be reserved");
  EXPECT_EQ(rx(1), "441.00000");
}

TEST_F(GridPlanTest, MovingTakesDwChannelAlongAndTellsTheSettingsWindows) {
  plan({1, 2, 3, 4});
  ws.working.function.dwChannel = 1;  // channel 2
  start();
  clickCh(2);
  clickCh(3, Qt::ShiftModifier);
  key(Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(rx(3), "442.00000");
  EXPECT_EQ(rx(4), "443.00000");
  EXPECT_EQ(rx(2), "444.00000");
  EXPECT_EQ(rows(), (RowSelection{3, 4}));
  EXPECT_EQ(ws.working.function.dwChannel, 2);  // channel 3 now
  EXPECT_EQ(undoText(), "Undo Move Down");
  key(Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(rx(2), "442.00000");
  EXPECT_EQ(undoText(), "Undo Move Up");
  undo();
  undo();
  EXPECT_EQ(rx(2), "442.00000");
  EXPECT_EQ(rx(4), "444.00000");
  EXPECT_EQ(ws.working.function.dwChannel, 1);
}

TEST_F(GridPlanTest, InsertAndDeleteRowFromTheKeyboard) {
  plan({1, 2, 3});
  start();
  clickCh(2);
  key(Qt::Key_Insert);
  EXPECT_EQ(rx(2), "");
  EXPECT_EQ(rx(3), "442.00000");
  EXPECT_EQ(rx(4), "443.00000");
  EXPECT_EQ(undoText(), "Undo Insert Row");
  clickCh(2);
  key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(rx(2), "442.00000");
  EXPECT_EQ(rx(4), "");
  EXPECT_EQ(undoText(), "Undo Delete Row");
  undo();
  undo();
  EXPECT_EQ(rx(2), "442.00000");
  EXPECT_EQ(rx(3), "443.00000");

  // Channel 128 in use: Insert Row says why it is refused and changes nothing.
  ChannelContext quiet(ws);
  AddChannel(quiet, 1, 128, "470.00000");
  grid().SetGridData();
  prompter.messages.clear();
  clickCh(2);
  key(Qt::Key_Insert);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].contains("128"));
  EXPECT_EQ(rx(2), "442.00000");
}

TEST_F(GridPlanTest, SortAndCompactFromTheMenuAreOneStepEach) {
  plan({2, 5, 9});
  ws.working.standAlone.currentChannel = 8;  // channel 9 (449 MHz)
  start();
  trigger("mnuCHSortDown");
  EXPECT_EQ(rx(2), "449.00000");
  EXPECT_EQ(rx(9), "442.00000");
  EXPECT_EQ(ws.working.standAlone.currentChannel, 1);  // followed its channel to row 2
  EXPECT_EQ(undoText(), "Undo Sort Descending");
  trigger("mnuCHCompact");
  EXPECT_EQ(rx(1), "449.00000");
  EXPECT_EQ(rx(2), "445.00000");
  EXPECT_EQ(rx(3), "442.00000");
  EXPECT_EQ(undoText(), "Undo Compact Channels");
  // A selection of several rows sorts only those.
  clickCh(2);
  clickCh(3, Qt::ShiftModifier);
  trigger("mnuCHSortUp");
  EXPECT_EQ(rx(1), "449.00000");
  EXPECT_EQ(rx(2), "442.00000");
  EXPECT_EQ(rx(3), "445.00000");
  undo();
  undo();
  undo();
  EXPECT_EQ(rx(2), "442.00000");
  EXPECT_EQ(rx(9), "449.00000");
  EXPECT_EQ(ws.working.standAlone.currentChannel, 8);
  // The menu shows the keys of the commands.
  EXPECT_EQ(main->action("mnuCHMoveUp")->shortcut().toString(), "Alt+Up");
  EXPECT_EQ(main->action("mnuCHFind")->shortcut(), QKeySequence(QKeySequence::Find));
}

TEST_F(GridPlanTest, SortAndCompactKeysWorkInTheGridAndClashWithNoOtherKey) {
  plan({2, 5, 9});
  start();
  clickCh(2);
  key(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(rx(2), "449.00000");
  EXPECT_EQ(undoText(), "Undo Sort Descending");
  key(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(rx(1), "449.00000");
  EXPECT_EQ(rx(3), "442.00000");
  EXPECT_EQ(undoText(), "Undo Compact Channels");
  key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(rx(1), "442.00000");
  EXPECT_EQ(rx(3), "449.00000");
  EXPECT_EQ(undoText(), "Undo Sort Ascending");

  // The menu shows them, and no two entries of the main window share a key.
  EXPECT_EQ(main->action("mnuCHSortUp")->shortcut().toString(), "Ctrl+Shift+A");
  EXPECT_EQ(main->action("mnuCHSortDown")->shortcut().toString(), "Ctrl+Shift+E");
  EXPECT_EQ(main->action("mnuCHCompact")->shortcut().toString(), "Ctrl+Shift+O");
  std::map<QString, QStringList> users;
  for (QAction *a : main->findChildren<QAction *>())
    for (const QKeySequence &k : a->shortcuts())
      if (!users[k.toString()].contains(a->text())) users[k.toString()] << a->text();
  for (const auto &[keys, entries] : users)
    EXPECT_EQ(entries.size(), 1) << keys.toStdString() << ": " << entries.join(", ").toStdString();
  // Nor the keys a text box or the grid already take.
  for (QKeySequence::StandardKey taken : {QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo,
                                          QKeySequence::Find, QKeySequence::FindNext, QKeySequence::Save,
                                          QKeySequence::SaveAs, QKeySequence::Open, QKeySequence::New,
                                          QKeySequence::Print, QKeySequence::Deselect})
    for (const QKeySequence &k : QKeySequence::keyBindings(taken))
      for (const char *name : {"mnuCHSortUp", "mnuCHSortDown", "mnuCHCompact"})
        EXPECT_NE(main->action(name)->shortcut(), k) << name;
}

TEST_F(GridPlanTest, FindBoxShowsItsWholeExampleInBothLanguages) {
  start();
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    grid().ReShowChInfoByLanguage();
    QApplication::processEvents();
    QLineEdit *box = grid().findBox();
    const int text = box->fontMetrics().horizontalAdvance(box->placeholderText());
    // The text, the frame and the clear button beside it.
    EXPECT_GE(box->width(), text + 30) << language;
    EXPECT_GE(box->minimumWidth(), text + 30) << language;  // also when the window is made narrower
  }
}

TEST_F(GridPlanTest, HiddenEmptyRowsAreRememberedAndSteppedOver) {
  plan({1, 5, 9});
  start();
  grid().hideEmptyBox()->click();
  EXPECT_TRUE(table()->isRowHidden(1));
  EXPECT_FALSE(table()->isRowHidden(4));
  EXPECT_TRUE(QSettings().value("ChannelGrid/HideEmptyRows").toBool());
  // The arrows and Shift+arrows go from shown row to shown row.
  clickCh(1);
  key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(rows(), (RowSelection{1, 5}));
  // Alt+Up on channel 9 passes channel 5: one command, the empty rows end up below.
  clickCh(9);
  key(Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(rx(5), "449.00000");
  EXPECT_EQ(rx(6), "445.00000");
  EXPECT_EQ(rows(), (RowSelection{5}));
  EXPECT_EQ(undoText(), "Undo Move Up");
  EXPECT_TRUE(table()->isRowHidden(8));
  undo();
  EXPECT_EQ(rx(9), "449.00000");
  EXPECT_FALSE(table()->isRowHidden(8));

  // A new grid window starts with the rows hidden again.
  {
    ChannelContext other(ws);
    frmCommChInfo second(other);
    EXPECT_TRUE(second.hideEmptyBox()->isChecked());
    EXPECT_TRUE(second.grid()->isRowHidden(1));
  }
  grid().hideEmptyBox()->click();
  EXPECT_FALSE(table()->isRowHidden(1));
  EXPECT_FALSE(QSettings().value("ChannelGrid/HideEmptyRows").toBool());
}

TEST_F(GridPlanTest, FindHighlightsTheNextMatch) {
  plan({1, 2, 3});
  ChannelContext quiet(ws);
  ChangeChannel(quiet, 1, 3, kColDecode, "67.0", true);
  start();
  clickCh(1);
  key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(grid().findBox()->hasFocus());
  QTest::keyClicks(grid().findBox(), "67.0");
  QTest::keyClick(grid().findBox(), Qt::Key_Return);
  EXPECT_EQ(grid().currentRow(), 3);
  EXPECT_EQ(rows(), (RowSelection{3}));
  grid().findBox()->setText("442");
  QTest::keyClick(grid().findBox(), Qt::Key_F3);
  EXPECT_EQ(grid().currentRow(), 2);
  grid().findBox()->setText("999");
  QTest::keyClick(grid().findBox(), Qt::Key_Return);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].contains("999"));
  EXPECT_EQ(grid().currentRow(), 2);
}

// Every command acts on the row the cursor shows: after Enter on an empty RX cell the selection
// follows the cursor to the next row, and with empty rows hidden Tab and Enter pass over them.
TEST_F(GridPlanTest, CommandsActOnTheRowTheCursorShows) {
  plan({1, 3, 5});
  start();
  clickCh(4);
  key(Qt::Key_Return);                                            // the empty RX cell's editor
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // empty: down one row, no channel
  EXPECT_EQ(grid().currentRow(), 5);
  EXPECT_EQ(rows(), (RowSelection{5}));
  key(Qt::Key_Delete, Qt::ControlModifier);  // Delete Row: row 5, not row 4
  EXPECT_FALSE(ws.working.findChannel(5));
  EXPECT_TRUE(ws.working.findChannel(3));

  plan({2, 9});
  grid().setHideEmptyRows(true);
  clickCh(3);
  for (int i = 0; i < 6; ++i) key(Qt::Key_Tab);  // past the last column: the next shown row
  EXPECT_EQ(grid().currentRow(), 9);
  EXPECT_EQ(rows(), (RowSelection{9}));
  QTest::keyClick(table(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(grid().currentRow(), 3);
  key(Qt::Key_Return);                                            // the spacing list
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // taken: on to the next shown row
  EXPECT_EQ(grid().currentRow(), 9);
  grid().setHideEmptyRows(false);
}

// The grid has the focus as soon as its window opens, from the menu or from the tree.
TEST_F(GridPlanTest, TheGridHasTheFocusWhenItsWindowOpens) {
  plan({1, 2});
  start();
  for (int way = 0; way < 2; ++way) {
    main->CloseCurAllWindows();
    if (way == 0) {
      trigger("mnuChInfo");
    } else {
      QTreeWidgetItem *node = main->tree()->topLevelItem(0)->child(0);
      const QRect r = main->tree()->visualItemRect(node);
      QTest::mouseClick(main->tree()->viewport(), Qt::LeftButton, {}, r.center());
    }
    ASSERT_NE(main->findWindow(window::kChannelGrid), nullptr) << way;
    EXPECT_EQ(QApplication::focusWidget(), table()) << way;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(grid().findBox()->hasFocus()) << way;
  }
}

// A read is the reference of the change marks and starts the undo history, whatever was open
// before it; the read still counts as not saved.
TEST_F(GridPlanTest, AReadIsTheReferenceOfTheChangeMarks) {
  plan({1, 2, 3});
  start();
  ChangeChannel(main->channels(), 1, 2, kFieldPower, "High");
  Workspace radio;
  radio.programFolder = ws.programFolder;
  NewConfiguration(radio);
  ChannelContext radioChannels(radio);
  for (int r : {1, 7, 20}) AddChannel(radioChannels, 1, r, "446.00625");
  EncodeImage(radio);
  ws.image = radio.image;
  link::Identification ident;
  ident.firmware = "V101";
  CompleteRead(ws, ident);
  main->showReadConfiguration();
  for (int row = 1; row <= 128; ++row) EXPECT_EQ(table()->item(row - 1, kColChannel)->text(), QString::number(row));
  EXPECT_FALSE(main->action("mnuEditUndo")->isEnabled());
  EXPECT_TRUE(IsModified(ws.working, ws.saved));  // not saved anywhere yet
  ChangeChannel(main->channels(), 1, 7, kFieldPower, "High");
  EXPECT_EQ(table()->item(6, kColChannel)->text(), QString::fromUtf8("\u25CF 7"));
}

// Pictures of a selection and of hidden empty rows in both languages, for checking by eye:
// written when N27_SHOT_DIR names a folder.
TEST_F(GridPlanTest, Screenshots) {
  const QString folder = qEnvironmentVariable("N27_SHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "N27_SHOT_DIR not set";
  plan({1, 2, 3, 6, 7, 12, 20});
  start();
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    grid().ReShowChInfoByLanguage();
    const QString tag = language == kEnglish ? "en" : "zh";
    grid().hideEmptyBox()->setChecked(false);
    clickCh(2);
    clickCh(3, Qt::ShiftModifier);
    clickCh(6, Qt::ControlModifier);
    table()->scrollToTop();
    grid().grab().save(folder + "/grid-selection-" + tag + ".png");
    grid().hideEmptyBox()->setChecked(true);
    table()->scrollToTop();
    grid().grab().save(folder + "/grid-hidden-" + tag + ".png");
  }
}

}  // namespace
}  // namespace n27::test
