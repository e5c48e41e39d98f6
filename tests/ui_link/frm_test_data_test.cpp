// The test data window driven by keys and buttons, and how the main window offers it.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <fstream>

#include "link/ui/FrmTestData.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

class FrmTestDataTest : public MainWindowTest {
 protected:
  // A window over the workspace, shown and active so that the focus moves as for a user.
  std::unique_ptr<FrmTestData> open() {
    auto w = std::make_unique<FrmTestData>(ws);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  }
  // Replaces the box's text by typing: select all, then the keys.
  static void type(QLineEdit *box, const char *keys) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, keys);
  }
  static QPushButton *button(QWidget &w, const char *name) {
    auto *b = w.findChild<QPushButton *>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
  }
};

TEST_F(FrmTestDataTest, TypingIsFilteredAndClampedOnEveryChange) {
  auto w = open();
  QLineEdit *f0 = w->field(0), *f3 = w->field(3), *f8 = w->field(8);
  type(f3, "1ff");  // a-f as A-F
  EXPECT_EQ(f3->text(), "1FF");
  type(f3, "500");
  EXPECT_EQ(f3->text(), "400");
  type(f0, "100");
  EXPECT_EQ(f0->text(), "FF");
  type(f8, "3ff");
  EXPECT_EQ(f8->text(), "3FF");
  type(f8, "1000");  // four digits in field 8 only
  EXPECT_EQ(f8->text(), "400");
  type(f0, "1234");
  EXPECT_EQ(f0->text(), "FF");  // "123" shows FF, and "FF4" FF again
  type(f0, "gx-Z 7");
  EXPECT_EQ(f0->text(), "7");  // only hexadecimal digits are taken

  // Backspace works; an empty box shows 0, and the next digit replaces it.
  type(f0, "ab");
  EXPECT_EQ(f0->text(), "AB");
  QTest::keyClick(f0, Qt::Key_Backspace);
  EXPECT_EQ(f0->text(), "A");
  QTest::keyClick(f0, Qt::Key_Backspace);
  EXPECT_EQ(f0->text(), "0");
  QTest::keyClicks(f0, "c");
  EXPECT_EQ(f0->text(), "C");

  // Ctrl+C, Ctrl+V and Ctrl+X do nothing.
  QApplication::clipboard()->setText("5");
  f3->selectAll();
  QTest::keyClick(f3, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(f3, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(f3->text(), "400");
  QTest::keyClick(f3, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "5");
  EXPECT_EQ(f3->contextMenuPolicy(), Qt::NoContextMenu);

  // Enter moves on to the next box, also from field 13 to the Load button.
  f0->setFocus();
  QTest::keyClick(f0, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), w->field(1));
  w->field(13)->setFocus();
  QTest::keyClick(w->field(13), Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget(), button(*w, "Command1_0"));
  EXPECT_TRUE(w->isVisible());  // Enter never closes the window
}

TEST_F(FrmTestDataTest, OkCopiesAllEntriesAndCancelChangesNothing) {
  ws.tuning = {1, 2, 3, 0x104, 5, 6, 7, 8, 0x209, 10, 11, 12, 13, 14, 1500, -2};
  ws.tuningOrigin = {TuningSource::Radio, {}, false};
  const TuningTable before = ws.tuning;
  {
    auto w = open();
    EXPECT_EQ(w->field(3)->text(), "104");
    EXPECT_EQ(w->field(8)->text(), "209");
    EXPECT_EQ(w->originLabel()->text(), "Tuning values: read from the radio");
    type(w->field(0), "A0");
    EXPECT_EQ(w->originLabel()->text(), "Tuning values: read from the radio, then edited");
    button(*w, "CommandCancel")->click();
    EXPECT_EQ(w->result(), QDialog::Rejected);
  }
  EXPECT_EQ(ws.tuning, before);
  EXPECT_FALSE(ws.tuningOrigin.edited);

  auto w = open();
  type(w->field(0), "A0");
  type(w->field(13), "fe");
  type(w->field(8), "3ff");
  button(*w, "CommandOK")->click();
  EXPECT_EQ(w->result(), QDialog::Accepted);
  EXPECT_EQ(ws.tuning, (TuningTable{0xA0, 2, 3, 0x104, 5, 6, 7, 8, 0x3FF, 10, 11, 12, 13, 0xFE, 1500, -2}));
  EXPECT_EQ(ws.tuningOrigin, (TuningOrigin{TuningSource::Radio, {}, true}));
}

TEST_F(FrmTestDataTest, SaveAndLoadRoundTripAndFailuresAreShown) {
  ws.fileName = path("radio.dat");
  ws.untitled = false;
  auto w = open();
  type(w->field(3), "1ff");
  type(w->field(8), "400");
  type(w->field(12), "7");
  prompter.saveNames = {QString::fromStdString(path("radio.ted"))};
  button(*w, "Command1_1")->click();
  EXPECT_TRUE(prompter.messages.empty());
  ASSERT_TRUE(std::filesystem::exists(path("radio.ted")));
  EXPECT_EQ(std::filesystem::file_size(path("radio.ted")), 32u);

  auto other = open();
  prompter.openNames = {QString::fromStdString(path("radio.ted"))};
  button(*other, "Command1_0")->click();
  EXPECT_EQ(other->field(3)->text(), "1FF");
  EXPECT_EQ(other->field(8)->text(), "400");
  EXPECT_EQ(other->field(12)->text(), "7");
  EXPECT_EQ(other->originLabel()->text(), "Tuning values: loaded from radio.ted");

  // A damaged file: the window says why and stays as it was.
  std::ofstream(path("bad.ted"), std::ios::binary) << std::string(40, '\x05');
  prompter.openNames = {QString::fromStdString(path("bad.ted"))};
  button(*other, "Command1_0")->click();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "file error.\nWrong size: 40 bytes, a test data file holds 32.");
  EXPECT_EQ(other->field(3)->text(), "1FF");
  EXPECT_TRUE(other->isVisible());

  // A save into a folder that is not there.
  prompter.saveNames = {QString::fromStdString(path("gone/x.ted"))};
  button(*other, "Command1_1")->click();
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1], "file error.\nThe folder does not exist.");

  // OK takes the loaded values and where they came from.
  button(*other, "CommandOK")->click();
  EXPECT_EQ(ws.tuning[3], 0x1FF);
  EXPECT_EQ(ws.tuningOrigin.source, TuningSource::File);
  EXPECT_EQ(ws.tuningOrigin.file, path("radio.ted"));
}

TEST_F(FrmTestDataTest, CaptionsInBothLanguages) {
  auto w = open();
  EXPECT_EQ(w->windowTitle(), "Test Data");
  EXPECT_EQ(button(*w, "Command1_0")->text(), "&Load");
  EXPECT_EQ(button(*w, "Command1_1")->text(), "&Save");
  EXPECT_EQ(button(*w, "CommandOK")->text(), "&OK");
  w.reset();
  SetLanguageIndex(kChinese);
  w = open();
  EXPECT_EQ(w->windowTitle(), "测试数据");
  EXPECT_EQ(button(*w, "Command1_0")->text(), "加载(&L)");
  EXPECT_EQ(button(*w, "Command1_1")->text(), "保存(&S)");
  EXPECT_EQ(button(*w, "CommandCancel")->text(), "取消(&C)");
  EXPECT_EQ(w->originLabel()->text(), "调谐数据：未读取、未加载、未输入（全为 0）");
  EXPECT_EQ(QString::fromStdString(link::TestDataFileFilter()), "测试数据文件 (*.ted)");
}

TEST_F(FrmTestDataTest, TheMainWindowOffersTheWindowInTestModeOnly) {
  {
    frmMain &m = makeMain();
    EXPECT_FALSE(m.action("mnuTestData")->isVisible());
    EXPECT_FALSE(m.action("mnuTestData")->isEnabled());
    QTreeWidgetItem *root = m.tree()->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
      EXPECT_NE(root->child(i)->data(0, Qt::UserRole).toString(), "N10");
    prompter.answers = {Answer::No, Answer::No};
    main->endApplication();
    main.reset();
    prompter.answers.clear();
  }
  ws.testMode = true;
  frmMain &m = makeMain();
  EXPECT_TRUE(m.action("mnuTestData")->isVisible());
  int opened = 0;
  prompter.onDialog = [&](QDialog &d) {
    EXPECT_EQ(d.objectName(), "FrmTestData");
    if (auto *w = dynamic_cast<FrmTestData *>(&d)) {
      ++opened;
      w->field(0)->setText("5");
      w->findChild<QPushButton *>("CommandOK")->click();
    }
    return d.result();
  };
  trigger("mnuTestData");
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(ws.tuning[0], 5);
  EXPECT_TRUE(ws.tuningOrigin.edited);

  QTreeWidgetItem *node = nullptr, *root = m.tree()->topLevelItem(0);
  for (int i = 0; i < root->childCount(); ++i)
    if (root->child(i)->data(0, Qt::UserRole).toString() == "N10") node = root->child(i);
  ASSERT_NE(node, nullptr);
  EXPECT_TRUE(node->flags() & Qt::ItemIsEnabled);
  EXPECT_EQ(node->text(0), "Test Data Information");
  emit m.tree()->itemClicked(node, 0);
  EXPECT_EQ(opened, 2);
}

}  // namespace
}  // namespace n27::test
