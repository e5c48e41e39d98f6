// The feature windows over a fresh configuration: choices reach the working data, the
// enabling rules follow each choice, the keystroke filters and the grids.

#include <QApplication>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "base/language.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/workspace.h"
#include "features/dtmf_settings.h"
#include "features/key_assignment.h"
#include "features/local_message.h"
#include "features/ui/feature_windows.h"

namespace n27 {
namespace {

class Recorder : public Prompter {
 public:
  void message(QWidget *, const QString &text, BoxIcon) override { messages.push_back(text); }
  std::vector<QString> messages;
};

class FeatureWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLanguageIndex(kEnglish);
    SetPrompter(&prompter);
    NewConfiguration(ws);
    ws.bandText = kBand400;
    SetBandLimits(ws);
  }
  void TearDown() override {
    SetPrompter(nullptr);
    SetLanguageIndex(kEnglish);
  }
  template <typename W>
  std::unique_ptr<W> open() {
    auto w = std::make_unique<W>(ctx);
    w->show();
    return w;
  }
  // Chooses an entry of a list box as a user's click does.
  static void pick(QWidget &w, const char *name, const QString &entry) {
    auto *combo = w.findChild<QComboBox *>(name);
    ASSERT_NE(combo, nullptr) << name;
    const int i = combo->findText(entry);
    ASSERT_GE(i, 0) << entry.toStdString();
    combo->setCurrentIndex(i);
    emit combo->activated(i);
  }
  static QStringList entries(QWidget &w, const char *name) {
    QStringList l;
    auto *combo = w.findChild<QComboBox *>(name);
    for (int i = 0; combo && i < combo->count(); ++i) l << combo->itemText(i);
    return l;
  }

  Workspace ws;
  ChannelContext ctx{ws};
  Recorder prompter;
};

TEST_F(FeatureWindowTest, FunctionSetupStoresEachChoiceAtOnce) {
  auto w = open<FrmOptFeatures>();
  EXPECT_EQ(w->objectName(), "FrmOptFeatures");
  EXPECT_EQ(w->windowTitle(), "Function Setup");
  pick(*w, "Combo1_2", "7");
  EXPECT_EQ(ws.working.function.squelch, 7);
  pick(*w, "Combo1_0", "180");
  EXPECT_EQ(ws.working.function.tot, 5);

  // The two VOX boxes edit one value: ticking one shows in the other.
  auto *vox = w->findChild<QCheckBox *>("Check7_3");
  auto *voxFunction = w->findChild<QCheckBox *>("Check2_0");
  ASSERT_TRUE(vox && voxFunction);
  const bool before = voxFunction->isChecked();
  vox->click();
  EXPECT_EQ(voxFunction->isChecked(), !before);
  EXPECT_EQ(ws.working.function.voxFunction, before ? 0 : 1);
}

TEST_F(FeatureWindowTest, ScanPriorityModeSwitchesLookBackAndRevertList) {
  auto w = open<FrmScanInfo>();
  pick(*w, "Combo1_0", "None");
  EXPECT_FALSE(w->findChild<QComboBox *>("Combo1_2")->isEnabled());
  EXPECT_FALSE(w->findChild<QComboBox *>("Combo1_3")->isEnabled());
  EXPECT_EQ(entries(*w, "Combo1_4"), (QStringList{"Selected", "Selected+Talk Back"}));

  pick(*w, "Combo1_0", "Fixd");
  EXPECT_EQ(ws.working.scan.words[0], 1);
  EXPECT_TRUE(w->findChild<QComboBox *>("Combo1_2")->isEnabled());
  EXPECT_TRUE(w->findChild<QComboBox *>("Combo1_3")->isEnabled());
  EXPECT_EQ(entries(*w, "Combo1_4"),
            (QStringList{"Selected", "Selected+Talk Back", "Priority", "Priority+Talk Back"}));
  pick(*w, "Combo1_4", "Priority+Talk Back");
  EXPECT_EQ(ws.working.scan.words[11], 3);
}

TEST_F(FeatureWindowTest, AlertLockedClearsKeyCode15AndRefreshesAnOpenKeyWindow) {
  ws.working.standAlone.alertLockedFlag = 1;  // not ticked
  ws.working.keys.keys[2] = features::kAlertLockedFunctionCode;
  ws.working.keys.keys[3] = 2;
  auto keys = open<FrmKeyAssignm>();
  auto *hold1 = keys->findChild<QComboBox *>("Combo1_2");
  auto *hold2 = keys->findChild<QComboBox *>("Combo1_3");
  ASSERT_TRUE(hold1 && hold2);
  EXPECT_EQ(ws.working.keys.keys[2], features::kAlertLockedFunctionCode);  // opening leaves it unticked
  // A value changed behind the open window shows only when the window is refreshed.
  ws.working.keys.keys[3] = 6;
  const auto names = features::FunctionNames();
  EXPECT_EQ(hold2->currentText().toStdString(), names[2]);

  auto options = open<FrmOptFeatures>();
  auto *alert = options->findChild<QCheckBox *>("Check1_4");
  alert->click();
  EXPECT_EQ(ws.working.standAlone.alertLockedFlag, 0);
  EXPECT_EQ(ws.working.keys.keys[2], 0);
  EXPECT_EQ(hold1->currentText(), "None");
  EXPECT_EQ(hold2->currentText().toStdString(), names[6]);

  // Unticking changes no key.
  ws.working.keys.keys[1] = 3;
  alert->click();
  EXPECT_EQ(ws.working.standAlone.alertLockedFlag, 1);
  EXPECT_EQ(ws.working.keys.keys[1], 3);
}

TEST_F(FeatureWindowTest, ShortSelfIdIsRefusedAndBecomes000) {
  auto w = open<FrmDTMF>();
  auto *selfId = w->findChild<QLineEdit *>("Text1_1");
  ASSERT_NE(selfId, nullptr);
  selfId->setText("12");
  emit selfId->editingFinished();
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0], "Invalid Data");
  EXPECT_EQ(selfId->text(), "000");
  EXPECT_EQ(ws.working.dtmf.selfId.text(), "000");

  selfId->setText("123");
  emit selfId->editingFinished();
  EXPECT_EQ(ws.working.dtmf.selfId.text(), "123");
  EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(FeatureWindowTest, CodeBoxesTakeOnlyDtmfKeysAndIgnorePaste) {
  auto w = open<FrmDTMF>();
  auto *bot = w->findChild<QLineEdit *>("Text1_0");
  ASSERT_NE(bot, nullptr);
  QTest::keyClicks(bot, "1x*#ad9");
  EXPECT_EQ(bot->text(), "1*#AD9");
  QTest::keyClick(bot, Qt::Key_Backspace);
  EXPECT_EQ(bot->text(), "1*#AD");
  QApplication::clipboard()->setText("999");
  QTest::keyClick(bot, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(bot->text(), "1*#AD");
  // Enter moves on instead of acting; leaving the box stores it.
  emit bot->editingFinished();
  EXPECT_EQ(ws.working.dtmf.botCode.text(), "1*#AD");

  auto *selfId = w->findChild<QLineEdit *>("Text1_1");
  selfId->clear();
  QTest::keyClicks(selfId, "4a5");
  EXPECT_EQ(selfId->text(), "45");
}

TEST_F(FeatureWindowTest, GridCellsReachTheListsAndShowWhatWasStored) {
  auto dtmf = open<FrmDTMF>();
  auto *grid = dtmf->findChild<QTableWidget *>("MSFlexGrid1");
  ASSERT_NE(grid, nullptr);
  ASSERT_EQ(grid->rowCount(), features::kMemoryNumbers);
  grid->item(1, 1)->setText("12*");
  grid->item(4, 1)->setText("D#");
  EXPECT_EQ(features::MemoryCode(ws.working, 2), "12*");
  EXPECT_EQ(features::MemoryCode(ws.working, 5), "D#");
  EXPECT_EQ(ws.working.dtmfCodeCount, 2);
  grid->item(1, 1)->setText("");
  EXPECT_EQ(ws.working.dtmfCodeCount, 1);

  auto fleet = open<FrmFleetSync>();
  grid = fleet->findChild<QTableWidget *>("MSFlexGrid1");
  ASSERT_NE(grid, nullptr);
  grid->item(0, 1)->setText("50");  // below the lowest fleet
  EXPECT_EQ(grid->item(0, 1)->text(), "100");
  grid->item(0, 2)->setText("A");
  EXPECT_EQ(grid->item(0, 2)->text(), "All");
  EXPECT_EQ(ws.working.fleets[0].fleet, 1u);
  EXPECT_EQ(ws.working.fleets[0].id, 0u);
}

TEST_F(FeatureWindowTest, MessageLinesDropNonAsciiAndStoreOnLeaving) {
  auto w = open<FrmEmbMsg>();
  auto *line = w->findChild<QLineEdit *>("Text1_0");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->maxLength(), 32);
  line->clear();
  QTest::keyClicks(line, "Hi ");
  QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("é"));
  QApplication::sendEvent(line, &accented);
  QTest::keyClicks(line, "!");
  EXPECT_EQ(line->text(), "Hi !");
  emit line->editingFinished();
  EXPECT_EQ(ws.working.message1.text(), "Hi !");
}

TEST_F(FeatureWindowTest, ClosingWhileTypingInABoxKeepsTheText) {
  auto w = open<FrmEmbMsg>();
  QApplication::setActiveWindow(w.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  auto *line = w->findChild<QLineEdit *>("Text1_1");
  line->setFocus();
  QTest::keyClicks(line, "abc");
  ASSERT_TRUE(line->hasFocus());
  w.reset();
  EXPECT_EQ(ws.working.message2.text(), "abc");
}

TEST_F(FeatureWindowTest, AGroupWithoutControlsIsLeftOut) {
  FeatureLayout layout;
  layout.sections = {{Tr{"Empty", "空"}, false, {"NoSuchControl"}}, {Tr{"Lines", "行"}, false, {"Text1_0"}}};
  FeatureWindow w(features::LocalMessageArea(), ctx, layout);
  const auto groups = w.findChildren<QGroupBox *>();
  ASSERT_EQ(groups.size(), 1);
  EXPECT_EQ(groups[0]->title(), "Lines");
}

// Both grids begin with a visible "No." column holding the row numbers; it takes no typing.
TEST_F(FeatureWindowTest, GridsShowTheirNumberColumn) {
  for (int language : {kEnglish, kChinese}) {
    SetLanguageIndex(language);
    const QString number = QString::fromUtf8(language == kEnglish ? "No." : "编号");
    auto dtmf = open<FrmDTMF>();
    auto fleet = open<FrmFleetSync>();
    const std::pair<QTableWidget *, QStringList> grids[] = {
        {dtmf->findChild<QTableWidget *>("MSFlexGrid1"),
         {number, QString::fromUtf8(language == kEnglish ? "Code" : "代码")}},
        {fleet->findChild<QTableWidget *>("MSFlexGrid1"),
         {number, QString::fromUtf8(language == kEnglish ? "Fleet" : "队列"), "ID"}},
    };
    for (const auto &[grid, headers] : grids) {
      ASSERT_NE(grid, nullptr);
      QStringList shown;
      for (int c = 0; c < grid->columnCount(); ++c) shown << grid->horizontalHeaderItem(c)->text();
      EXPECT_EQ(shown, headers);
      EXPECT_FALSE(grid->isColumnHidden(0));
      EXPECT_GT(grid->columnWidth(0), 0);
      for (int r = 0; r < grid->rowCount(); ++r) {
        EXPECT_EQ(grid->item(r, 0)->text(), QString::number(r + 1));
        EXPECT_FALSE(grid->item(r, 0)->flags() & Qt::ItemIsEditable);
      }
      // Typing into a number changes nothing.
      const CodeplugData before = ws.working;
      grid->item(0, 0)->setText("7");
      EXPECT_TRUE(ws.working == before);
      grid->item(0, 0)->setText("1");
    }
  }
}

// Key Setting: a group per key, each with a "Press" and a "Hold" row, titled as the menu.
TEST_F(FeatureWindowTest, KeySettingShowsAGroupPerKey) {
  struct Expected {
    int language;
    const char *title, *group1, *group2, *press, *hold;
  };
  for (const Expected &e : {Expected{kEnglish, "Key Setting", "Key Function1", "Key Function2", "Press", "Hold"},
                            Expected{kChinese, "键设置", "按键功能1", "按键功能2", "短按", "长按"}}) {
    SetLanguageIndex(e.language);
    auto w = open<FrmKeyAssignm>();
    EXPECT_EQ(w->windowTitle(), QString::fromUtf8(e.title));
    const auto groups = w->findChildren<QGroupBox *>();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0]->title(), QString::fromUtf8(e.group1));
    EXPECT_EQ(groups[1]->title(), QString::fromUtf8(e.group2));
    // Key Function1 holds Press = Combo1(0) and Hold = Combo1(2); Key Function2 the other two.
    const std::pair<int, const char *> members[] = {{0, "Combo1_0"}, {0, "Combo1_2"}, {1, "Combo1_1"}, {1, "Combo1_3"}};
    for (const auto &[group, name] : members) {
      auto *box = w->findChild<QComboBox *>(name);
      ASSERT_NE(box, nullptr);
      EXPECT_TRUE(groups[group]->isAncestorOf(box)) << name;
      auto *label = w->findChild<QLabel *>(QString("Label_") + name);
      ASSERT_NE(label, nullptr);
      const bool press = std::string(name) == "Combo1_0" || std::string(name) == "Combo1_1";
      EXPECT_EQ(label->text(), QString::fromUtf8(press ? e.press : e.hold)) << name;
      EXPECT_EQ(label->buddy(), box);
    }
    // The two groups stand side by side, Press above Hold.
    EXPECT_LT(groups[0]->geometry().right(), groups[1]->geometry().left());
    auto y = [&](const char *name) { return w->findChild<QComboBox *>(name)->mapTo(w.get(), QPoint()).y(); };
    EXPECT_LT(y("Combo1_0"), y("Combo1_2"));
    EXPECT_LT(y("Combo1_1"), y("Combo1_3"));
  }
}

TEST_F(FeatureWindowTest, ChineseCaptions) {
  SetLanguageIndex(kChinese);
  auto w = open<FrmOptFeatures>();
  EXPECT_EQ(w->windowTitle(), QString::fromUtf8("功能设定"));
  EXPECT_EQ(w->findChild<QCheckBox *>("Check1_4")->text(), QString::fromUtf8("报警锁定"));
}

}  // namespace
}  // namespace n27
