// The channel grid driven with the keyboard and the mouse as a dealer uses it.

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

#include "channel_window_fixture.h"
#include "channels/grid_cursor.h"
#include "channels/ui/FrmCHInfoEdit.h"

namespace n27::testing {
namespace {

using Cell = std::pair<int, int>;

TEST_F(ChannelWindowTest, TypingAFrequencyCreatesTheChannelAndMovesToTx) {
  open();
  moveTo(5, kColRx);
  key(Qt::Key_Return);
  auto *text1 = window->findChild<QLineEdit *>("Text1");
  ASSERT_TRUE(text1->isVisible());
  type("462.125");
  key(Qt::Key_Return);

  const ChannelRecord *e = channel(5);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->rx.text(), "46212500");
  EXPECT_EQ(e->tx.text(), "46212500");
  EXPECT_EQ(cell(5, kColRx), "462.12500");
  EXPECT_EQ(cell(5, kColTx), "462.12500");
  EXPECT_EQ(cell(5, kColDecode), "None");
  EXPECT_EQ(cell(5, kColPower), "Middle");
  EXPECT_EQ(cell(5, kColSpacing), "25K(Wide)");
  EXPECT_FALSE(text1->isVisible());
  EXPECT_EQ(cursor(), (Cell{5, kColTx}));
  EXPECT_EQ(window->windowTitle(), "Channel Information[Channel - 5]");

  // Typing a digit straight onto the TX cell starts editing it with that digit.
  type("4");
  EXPECT_TRUE(text1->isVisible());
  EXPECT_EQ(text1->text(), "4");
  type("63");
  key(Qt::Key_Return);
  EXPECT_EQ(channel(5)->tx.text(), "46300000");
  EXPECT_EQ(cursor(), (Cell{5, kColDecode}));
}

TEST_F(ChannelWindowTest, EnterOnEmptyRxMovesDownAndWraps) {
  open();
  moveTo(127, kColRx);
  key(Qt::Key_Return);
  key(Qt::Key_Return);  // empty RX: down, no channel
  EXPECT_EQ(cursor(), (Cell{128, kColRx}));
  key(Qt::Key_Return);
  key(Qt::Key_Return);
  EXPECT_EQ(cursor(), (Cell{1, kColRx}));
  EXPECT_EQ(ws.working.channelCount, 0);
  EXPECT_EQ(window->windowTitle(), "Channel Information[Channel - 1]");
}

TEST_F(ChannelWindowTest, FrequencyCellTakesOnlyDigitsAndPoint) {
  open();
  moveTo(1, kColRx);
  key(Qt::Key_Return);
  auto *text1 = window->findChild<QLineEdit *>("Text1");
  type("4a4b0.x5-");
  EXPECT_EQ(text1->text(), "440.5");
  // Pasting is refused too.
  QApplication::clipboard()->setText("abc");
  QTest::keySequence(text1, QKeySequence::Paste);
  EXPECT_EQ(text1->text(), "440.5");
  // Text put in another way (a middle-click paste inserts it) is filtered like typing.
  text1->clear();
  text1->insert(QString::fromUtf8("4x6é2.1 2-5"));
  EXPECT_EQ(text1->text(), "462.125");
  // Out of band: clamped, with the message.
  text1->setText("500");
  key(Qt::Key_Return);
  EXPECT_EQ(cell(1, kColRx), "490.00000");
  ASSERT_EQ(codecMessages.size(), 1u);
  EXPECT_EQ(codecMessages[0], "Frequency is out of range.");
}

TEST_F(ChannelWindowTest, EnterAdvancesOverHiddenColumnsAndWrapsToNextRow) {
  addChannel(3, "440.00000");
  open();
  moveTo(3, kColPower);
  key(Qt::Key_Return);  // opens the power list
  auto *power = window->findChild<QComboBox *>("Combo2_0");
  ASSERT_TRUE(power->isVisible());
  key(Qt::Key_Down);  // Middle → High, not taken yet
  EXPECT_EQ(channel(3)->power, 1);
  key(Qt::Key_Return);
  EXPECT_EQ(channel(3)->power, 2);
  EXPECT_EQ(cell(3, kColPower), "High");
  EXPECT_EQ(cursor(), (Cell{3, kColSpacing}));

  key(Qt::Key_Return);  // spacing list
  key(Qt::Key_Up);
  key(Qt::Key_Return);
  EXPECT_EQ(channel(3)->spacing, 0);
  EXPECT_EQ(cursor(), (Cell{4, kColRx}));
  EXPECT_EQ(window->windowTitle(), "Channel Information[Channel - 4]");

  // Tab walks the same way without editing, Shift+Tab walks back.
  moveTo(3, kColPower);
  key(Qt::Key_Tab);
  EXPECT_EQ(cursor(), (Cell{3, kColSpacing}));
  key(Qt::Key_Tab);
  EXPECT_EQ(cursor(), (Cell{4, kColRx}));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), (Cell{3, kColSpacing}));
}

TEST_F(ChannelWindowTest, ToneListTakesTypedTonesCutToFiveCharacters) {
  addChannel(2, "440.00000");
  open();
  moveTo(2, kColDecode);
  key(Qt::Key_Return);
  auto *tones = window->findChild<QComboBox *>("Combo1_0");
  ASSERT_TRUE(tones->isVisible());
  EXPECT_EQ(tones->lineEdit()->selectedText(), "None");  // typing replaces what the cell shows
  type("D023N77");
  EXPECT_EQ(tones->currentText(), "D023N");
  key(Qt::Key_Return);
  EXPECT_EQ(channel(2)->decode.text(), "0201");
  // Both tones were off: the encode tone follows, and its cell shows it at once.
  EXPECT_EQ(channel(2)->encode.text(), "0201");
  EXPECT_EQ(cell(2, kColEncode), "D023N");
  EXPECT_EQ(cursor(), (Cell{2, kColEncode}));

  // A tone chosen from the opened list is taken at once, and the row shows what it changed.
  ChangeChannel(ctx, 1, 2, kFieldDecode, "None", true);
  ChangeChannel(ctx, 1, 2, kFieldEncode, "None", true);
  moveTo(2, kColDecode);
  key(Qt::Key_Return);
  const int index = tones->findText("D754I");
  tones->setCurrentIndex(index);
  emit tones->activated(index);
  EXPECT_FALSE(tones->isVisible());
  EXPECT_EQ(cell(2, kColEncode), "D754I");
  EXPECT_EQ(cursor(), (Cell{2, kColDecode}));

  // A text that is no tone leaves the tone as it was, says so, and the cell opens again.
  doubleClick(2, kColEncode);
  ASSERT_TRUE(tones->isVisible());
  EXPECT_EQ(tones->lineEdit()->selectedText(), "D754I");
  type("d023n");
  key(Qt::Key_Return);
  EXPECT_EQ(channel(2)->encode.text(), "0372");
  EXPECT_EQ(cell(2, kColEncode), "D754I");
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back(), "\"d023n\" is not a CTCSS/DCS tone of the list.");
  EXPECT_TRUE(tones->isVisible());
  EXPECT_EQ(cursor(), (Cell{2, kColEncode}));
}

TEST_F(ChannelWindowTest, ListValueOnARowWithoutChannelLeavesNothing) {
  open();
  moveTo(9, kColPower);
  key(Qt::Key_Return);
  auto *power = window->findChild<QComboBox *>("Combo2_0");
  ASSERT_TRUE(power->isVisible());
  key(Qt::Key_Down);
  key(Qt::Key_Return);
  EXPECT_EQ(ws.working.channelCount, 0);
  EXPECT_EQ(cell(9, kColPower), "");
}

TEST_F(ChannelWindowTest, ClearingTxKeepsChannelClearingRxDeletesIt) {
  addChannel(4, "440.00000");
  addChannel(9, "441.00000");
  open();
  moveTo(4, kColTx);
  key(Qt::Key_Return);
  key(Qt::Key_Backspace);
  key(Qt::Key_Return);
  ASSERT_NE(channel(4), nullptr);
  EXPECT_EQ(channel(4)->tx.text(), "FFFFFFFF");
  EXPECT_EQ(cell(4, kColTx), "");
  EXPECT_EQ(cell(4, kColEncode), "");

  moveTo(4, kColRx);
  key(Qt::Key_Return);
  key(Qt::Key_Backspace);
  key(Qt::Key_Return);
  EXPECT_EQ(channel(4), nullptr);
  EXPECT_EQ(cell(4, kColRx), "");
  EXPECT_EQ(cell(4, kColPower), "");
  EXPECT_EQ(cursor(), (Cell{5, kColRx}));
}

TEST_F(ChannelWindowTest, DoubleClickRules) {
  addChannel(6, "440.00000");
  ChangeChannel(ctx, 1, 6, 2, "", true);  // channel 6 without TX
  open();
  auto *text1 = window->findChild<QLineEdit *>("Text1");

  doubleClick(8, kColDecode);  // no RX: back to the RX cell, nothing opens
  EXPECT_EQ(cursor(), (Cell{8, kColRx}));
  EXPECT_FALSE(window->findChild<QComboBox *>("Combo1_0")->isVisible());
  EXPECT_FALSE(text1->isVisible());

  doubleClick(6, kColEncode);  // no TX: the TX cell opens instead
  EXPECT_EQ(cursor(), (Cell{6, kColTx}));
  EXPECT_TRUE(text1->isVisible());
  key(Qt::Key_Escape);
  EXPECT_FALSE(text1->isVisible());
  EXPECT_EQ(channel(6)->tx.text(), "FFFFFFFF");

  // RX edited, then the empty TX cell beside it opens with the RX frequency.
  doubleClick(6, kColRx);
  type("445");
  doubleClick(6, kColTx);
  EXPECT_EQ(channel(6)->rx.text(), "44500000");
  EXPECT_EQ(text1->text(), "445.00000");
  key(Qt::Key_Return);
  EXPECT_EQ(channel(6)->tx.text(), "44500000");

  // "More" opens the detail dialog on that channel.
  doubleClick(6, kColMore);
  ASSERT_NE(window->detailDialog(), nullptr);
  EXPECT_EQ(window->detailDialog()->channel(), 6);
}

TEST_F(ChannelWindowTest, ClipboardCommands) {
  addChannel(1, "440.00000");
  addChannel(7, "447.00000");
  open();
  // Copy on an empty row, paste on channel 7: channel 7 is deleted.
  moveTo(3, kColRx);
  window->SetCHEdit(ChannelEditCommandKey::Copy);
  moveTo(7, kColRx);
  window->SetCHEdit(ChannelEditCommandKey::Paste);
  EXPECT_EQ(channel(7), nullptr);
  EXPECT_EQ(cell(7, kColRx), "");

  // Copy channel 1 and paste it on 10: a new channel 10 with channel 1's values.
  ChangeChannel(ctx, 1, 1, kFieldPower, "High", true);
  moveTo(1, kColPower);
  window->channelEdit(ChannelEditCommand::Copy);
  moveTo(10, kColRx);
  window->channelEdit(ChannelEditCommand::Paste);
  ASSERT_NE(channel(10), nullptr);
  EXPECT_EQ(channel(10)->power, 2);
  EXPECT_EQ(cell(10, kColRx), "440.00000");

  // Delete leaves the last channel.
  window->channelEdit(ChannelEditCommand::Delete);
  EXPECT_EQ(channel(10), nullptr);
  moveTo(1, kColRx);
  window->channelEdit(ChannelEditCommand::Delete);
  ASSERT_NE(channel(1), nullptr);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "At least one channel must be reserved");
  // Cut takes the last channel out all the same, and paste brings it back.
  window->channelEdit(ChannelEditCommand::Cut);
  EXPECT_EQ(ws.working.channelCount, 0);
  window->channelEdit(ChannelEditCommand::Paste);
  EXPECT_EQ(cell(1, kColRx), "440.00000");

  // The same from the keyboard: Ctrl+C on channel 1, Ctrl+V on 2, Del on 1.
  QTest::keyClick(window->grid(), Qt::Key_C, Qt::ControlModifier);
  moveTo(2, kColRx);
  QTest::keyClick(window->grid(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(cell(2, kColRx), "440.00000");
  moveTo(1, kColRx);
  QTest::keyClick(window->grid(), Qt::Key_Delete);
  EXPECT_EQ(channel(1), nullptr);
  EXPECT_NE(channel(2), nullptr);
}

TEST_F(ChannelWindowTest, RowsFollowChangesMadeElsewhereAndLanguage) {
  addChannel(12, "440.00000");
  open();
  ChangeChannel(ctx, 1, 12, kFieldSpacing, "12.5K(Narrow)", true);
  EXPECT_EQ(cell(12, kColSpacing), "12.5K(Narrow)");
  ChangeChannel(ctx, 1, 12, kFieldRx, "", true);
  EXPECT_EQ(cell(12, kColRx), "");

  addChannel(13, "440.00000");
  SetLanguageIndex(kChinese);
  window->ReShowChInfoByLanguage();
  EXPECT_EQ(cell(13, kColPower), "中");
  EXPECT_EQ(cell(13, kColDecode), "无");
  EXPECT_EQ(window->grid()->horizontalHeaderItem(kColTx)->text(), "发射频率");
  EXPECT_TRUE(window->windowTitle().startsWith("信道信息[信道 - "));
}

TEST_F(ChannelWindowTest, FailingHandlerShowsItsNameAndKeepsTheChannels) {
  ctx.message = [](const std::string &, MessageIcon) { throw std::runtime_error("box"); };
  open();
  moveTo(2, kColRx);
  key(Qt::Key_Return);
  type("500");  // out of range: the message fails
  key(Qt::Key_Return);
  EXPECT_EQ(ws.working.channelCount, 0);
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages[0], "frmCommChInfo_SaveShowGridData");
  EXPECT_FALSE(window->findChild<QLineEdit *>("Text1")->isVisible());
}

}  // namespace
}  // namespace n27::testing
