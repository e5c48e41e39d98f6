// Frequencies typed at the edges of both bands, through the grid and the detail dialog: a value
// outside is clamped to the edge with "Frequency is out of range.", a value on the edge is
// taken as it is without a message.

#include <QLineEdit>

#include "channel_window_fixture.h"
#include "channels/field_codec.h"
#include "channels/ui/FrmCHInfoEdit.h"

namespace n27::testing {
namespace {

struct Edge {
  const char *typed;
  const char *stored;
  bool warned;
};

const Edge k400[] = {{"300", "40000000", true},       {"399.99999", "40000000", true},
                     {"400", "40000000", false},      {"400.00001", "40000001", false},
                     {"489.99999", "48999999", false}, {"490", "49000000", false},
                     {"490.00001", "49000000", true}, {"491", "49000000", true}};
const Edge k136[] = {{"100", "13600000", true},       {"135.99999", "13600000", true},
                     {"136", "13600000", false},      {"136.00001", "13600001", false},
                     {"173.99999", "17399999", false}, {"174", "17400000", false},
                     {"174.00001", "17400000", true}, {"175", "17400000", true}};

class ClampPin : public ChannelWindowTest {
 protected:
  void band(const char *text) {
    ws.bandText = text;
    SetBandLimits(ws);
  }
  // Types into a grid frequency cell of row 1 and commits with Enter.
  void typeInGrid(int col, const char *typed) {
    moveTo(1, col);
    window->grid()->setFocus();
    key(Qt::Key_Return);
    auto *text1 = window->findChild<QLineEdit *>("Text1");
    ASSERT_TRUE(text1->isVisible());
    text1->selectAll();
    type(typed);
    key(Qt::Key_Return);
  }
  void checkGrid(const Edge (&edges)[8], const char *start) {
    addChannel(1, start);
    open();
    for (const Edge &e : edges) {
      for (int col : {kColRx, kColTx}) {
        codecMessages.clear();
        typeInGrid(col, e.typed);
        const ChannelRecord *ch = channel(1);
        ASSERT_NE(ch, nullptr) << e.typed;
        EXPECT_EQ(col == kColRx ? ch->rx.text() : ch->tx.text(), e.stored) << "column " << col << ": " << e.typed;
        EXPECT_EQ(codecMessages.size(), e.warned ? 1u : 0u) << "column " << col << ": " << e.typed;
        if (!codecMessages.empty()) {
          EXPECT_EQ(codecMessages[0], "Frequency is out of range.");
        }
      }
    }
  }
  void checkDialog(const Edge (&edges)[8], const char *start) {
    // Two channels: with only one the dialog refuses RX edits.
    addChannel(1, start);
    addChannel(2, start);
    open();
    moveTo(1, kColRx);
    window->showDetailDialog();
    FrmCHInfoEdit *dialog = window->detailDialog();
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    for (const Edge &e : edges) {
      for (const char *box : {"Text1", "Text2"}) {
        auto *edit = dialog->findChild<QLineEdit *>(box);
        ASSERT_NE(edit, nullptr);
        codecMessages.clear();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, e.typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        const ChannelRecord *ch = channel(1);
        EXPECT_EQ(QString(box) == "Text1" ? ch->rx.text() : ch->tx.text(), e.stored) << box << ": " << e.typed;
        EXPECT_EQ(codecMessages.size(), e.warned ? 1u : 0u) << box << ": " << e.typed;
      }
    }
  }
};

TEST_F(ClampPin, GridAt400Band) {
  band(kBand400);
  checkGrid(k400, "446.00000");
}

TEST_F(ClampPin, GridAt136Band) {
  band(kBand136);
  checkGrid(k136, "150.00000");
}

TEST_F(ClampPin, DetailDialogAt400Band) {
  band(kBand400);
  checkDialog(k400, "446.00000");
}

TEST_F(ClampPin, DetailDialogAt136Band) {
  band(kBand136);
  checkDialog(k136, "150.00000");
}

}  // namespace
}  // namespace n27::testing
