// The channel detail dialog: what it shows for a channel, its dependent lists, and the rules
// applied when a field is left.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "channel_window_fixture.h"
#include "channels/field_codec.h"
#include "channels/ui/FrmCHInfoEdit.h"

namespace n27::testing {
namespace {

class DetailDialogTest : public ChannelWindowTest {
 protected:
  FrmCHInfoEdit &openDetail(int row) {
    open();
    moveTo(row, kColRx);
    window->showDetailDialog();
    dialog = window->detailDialog();
    EXPECT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    return *dialog;
  }
  QLineEdit *text(int i) { return dialog->findChild<QLineEdit *>(QString("Text%1").arg(i)); }
  QComboBox *list(int i) { return dialog->findChild<QComboBox *>(QString("Combo2_%1").arg(i)); }
  QCheckBox *check(int i) { return dialog->findChild<QCheckBox *>(QString("Check1_%1").arg(i)); }
  QStringList entries(int i) {
    QStringList out;
    for (int k = 0; k < list(i)->count(); ++k) out << list(i)->itemText(k);
    return out;
  }
  // A choice from the opened list, as a click on an entry makes it.
  void choose(int i, const QString &entry) {
    QComboBox *box = list(i);
    int index = box->findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  // Types into a text box and leaves it with Tab.
  void typeInto(QLineEdit *box, const char *typed) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Tab);
  }

  FrmCHInfoEdit *dialog = nullptr;
};

TEST_F(DetailDialogTest, EmptyRowOpensOnlyRxAndTypingCreatesTheChannel) {
  ws.bandText = kBand136;
  SetBandLimits(ws);
  openDetail(3);
  EXPECT_EQ(dialog->channel(), 3);
  EXPECT_TRUE(text(1)->isEnabled());
  EXPECT_TRUE(text(1)->text().isEmpty());
  EXPECT_FALSE(text(2)->isEnabled());
  EXPECT_FALSE(text(3)->isEnabled());
  for (int i = 0; i < FrmCHInfoEdit::kLists; ++i) EXPECT_FALSE(list(i)->isEnabled()) << i;
  EXPECT_FALSE(check(0)->isEnabled());

  typeInto(text(1), "145.5");
  ASSERT_NE(channel(3), nullptr);
  EXPECT_EQ(channel(3)->rx.text(), "14550000");
  EXPECT_EQ(text(2)->text(), "145.50000");
  EXPECT_EQ(list(0)->currentText(), "None");
  EXPECT_EQ(list(4)->currentText(), "Middle");
  EXPECT_EQ(list(5)->currentText(), "25K(Wide)");
  EXPECT_TRUE(check(0)->isChecked());
  EXPECT_EQ(text(3)->text(), "3400");  // a new channel's scramble frequency of 0
  EXPECT_TRUE(list(3)->isEnabled());
  // The grid row was redrawn.
  EXPECT_EQ(cell(3, kColRx), "145.50000");
}

TEST_F(DetailDialogTest, ChannelWithoutTxAndTheTxPrefill) {
  addChannel(1, "440.00000");
  addChannel(2, "441.00000");
  ChangeChannel(ctx, 1, 2, kFieldTx, "", true);
  openDetail(2);
  EXPECT_TRUE(text(2)->text().isEmpty());
  EXPECT_FALSE(list(1)->isEnabled());
  EXPECT_EQ(list(1)->placeholderText() + list(1)->currentText(), " ");
  EXPECT_FALSE(check(1)->isEnabled());
  EXPECT_FALSE(check(1)->isChecked());
  // Going into the empty TX box brings the RX frequency; leaving it stores it.
  text(2)->setFocus();
  EXPECT_EQ(text(2)->text(), "441.00000");
  QTest::keyClick(text(2), Qt::Key_Return);
  EXPECT_EQ(channel(2)->tx.text(), "44100000");
  EXPECT_TRUE(list(1)->isEnabled());
  EXPECT_TRUE(check(1)->isEnabled());
  EXPECT_EQ(cell(2, kColTx), "441.00000");
}

TEST_F(DetailDialogTest, SpUnmuteAndBusyLockListsFollowToneAndSignalling) {
  addChannel(1, "440.00000");
  addChannel(2, "441.00000");
  openDetail(1);
  EXPECT_EQ(entries(3), QStringList({"Carrier"}));
  EXPECT_EQ(entries(6), QStringList({"Off", "Carrier"}));
  EXPECT_EQ(entries(2), QStringList({"None", "DTMF"}));

  choose(2, "DTMF");
  EXPECT_EQ(channel(1)->optSignal, 1);
  EXPECT_EQ(entries(3), QStringList({"Carrier", "Carrier + Opt.Sig.", "Carrier or Opt.Sig"}));

  choose(0, "67.0");
  EXPECT_EQ(channel(1)->decode.text(), "0100");
  EXPECT_EQ(list(1)->currentText(), "67.0");  // the encode tone followed
  EXPECT_EQ(entries(3), QStringList({"QT/DQT", "QT/DQT + Opt.Sig.", "QT/DQT or Opt.Sig"}));
  EXPECT_EQ(entries(6), QStringList({"Off", "Carrier", "Repeater"}));

  choose(3, "QT/DQT or Opt.Sig");
  choose(6, "Repeater");
  EXPECT_EQ(channel(1)->spUnmute, 2);
  EXPECT_EQ(channel(1)->busyLock, 2);
  // Back to no signalling: the choices that need it are gone from the channel and the list.
  choose(2, "None");
  EXPECT_EQ(channel(1)->spUnmute, 0);
  EXPECT_EQ(entries(3), QStringList({"QT/DQT"}));

  // Position lists store the position.
  choose(10, "5");
  choose(12, "Define");
  EXPECT_EQ(channel(1)->call1, 4);
  EXPECT_EQ(channel(1)->scramble, 12);
  // The dialog follows the grid's row, and its channel list moves the grid.
  moveTo(2, kColRx);
  EXPECT_EQ(dialog->channel(), 2);
  EXPECT_EQ(list(10)->currentText(), "1");
  auto *channels = dialog->findChild<QComboBox *>("Combo1");
  channels->setCurrentIndex(0);
  emit channels->activated(0);
  EXPECT_EQ(cursor().first, 1);
  EXPECT_EQ(list(10)->currentText(), "5");
}

TEST_F(DetailDialogTest, ScrambleFrequencyIsLimited) {
  addChannel(1, "440.00000");
  addChannel(2, "441.00000");
  openDetail(1);
  EXPECT_EQ(text(3)->text(), "3400");
  typeInto(text(3), "5000");
  EXPECT_EQ(channel(1)->scrambleFreq, 4100);
  EXPECT_EQ(text(3)->text(), "4100");
  typeInto(text(3), "1000");
  EXPECT_EQ(channel(1)->scrambleFreq, 1300);
  EXPECT_EQ(text(3)->text(), "1300");
}

TEST_F(DetailDialogTest, SingleChannelRxIsNotChangedHere) {
  addChannel(1, "440.00000");
  openDetail(1);
  typeInto(text(1), "445");
  EXPECT_EQ(channel(1)->rx.text(), "44000000");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "At least one channel must be reserved");
  // Nor is a second channel created from the dialog.
  window->selectRow(2);
  typeInto(text(1), "446");
  EXPECT_EQ(ws.working.channelCount, 1);
  EXPECT_EQ(prompter.messages.size(), 2u);
  // Passing through the RX box without a change says nothing.
  window->selectRow(1);
  text(1)->setFocus();
  QTest::keyClick(text(1), Qt::Key_Tab);
  EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(DetailDialogTest, ReverseAndTalkaroundExcludeEachOther) {
  addChannel(1, "440.00000");
  addChannel(2, "441.00000");
  openDetail(1);
  check(1)->click();
  EXPECT_EQ(channel(1)->reverse, 1);
  check(2)->click();
  EXPECT_EQ(channel(1)->talkaround, 1);
  EXPECT_EQ(channel(1)->reverse, 0);
  EXPECT_FALSE(check(1)->isChecked());
  check(1)->click();
  EXPECT_EQ(channel(1)->reverse, 1);
  EXPECT_EQ(channel(1)->talkaround, 0);
  // Clearing TX takes reverse away too.
  text(2)->setFocus();
  text(2)->selectAll();
  QTest::keyClick(text(2), Qt::Key_Backspace);
  text(1)->setFocus();
  EXPECT_EQ(channel(1)->tx.text(), "FFFFFFFF");
  EXPECT_EQ(channel(1)->reverse, 0);
  EXPECT_FALSE(check(1)->isEnabled());
}

}  // namespace
}  // namespace n27::testing
