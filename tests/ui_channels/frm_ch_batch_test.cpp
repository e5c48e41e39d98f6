// The batch window: item boxes shown, hidden and stored; a run from the window.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "channel_window_fixture.h"
#include "channels/batch_engine.h"
#include "channels/ui/FrmCHBatch.h"

namespace n27::testing {
namespace {

class BatchWindowTest : public ChannelWindowTest {
 protected:
  FrmCHBatch &openBatch() {
    items = DefaultBatchItems();
    batch = std::make_unique<FrmCHBatch>(ctx, items, folder.path().toStdString());
    batch->show();
    return *batch;
  }
  template <class T>
  T *child(const char *name) {
    T *w = batch->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void setText(const char *name, const char *text) {
    auto *box = child<QLineEdit>(name);
    box->clear();
    QTest::keyClicks(box, text);
  }
  void TearDown() override {
    batch.reset();
    ChannelWindowTest::TearDown();
  }

  QTemporaryDir folder;
  BatchItems items{};
  std::unique_ptr<FrmCHBatch> batch;
};

TEST_F(BatchWindowTest, ItemBoxesShowTheirInputsAndAreStored) {
  openBatch();
  EXPECT_FALSE(child<QGroupBox>("FrameItems")->isVisible());
  child<QPushButton>("CommandFun")->click();
  EXPECT_TRUE(child<QGroupBox>("FrameItems")->isVisible());

  EXPECT_TRUE(child<QGroupBox>("FrameDecode")->isVisible());
  child<QCheckBox>("Check2_2")->click();  // decode tone off
  EXPECT_FALSE(child<QGroupBox>("FrameDecode")->isVisible());
  EXPECT_FALSE(child<QComboBox>("Combo1_3")->isVisible());
  child<QCheckBox>("Check2_7")->click();  // optional signalling on
  EXPECT_TRUE(child<QComboBox>("Combo1_3")->isVisible());
  // Scramble has no value in the channel list: its box cannot be ticked.
  EXPECT_FALSE(child<QCheckBox>("Check2_15")->isEnabled());

  auto stored = ReadWholeFile(folder.filePath("BatchFun.ini").toStdString());
  ASSERT_TRUE(stored);
  ASSERT_EQ(stored->size(), 20u);
  EXPECT_EQ((*stored)[kItemDecode], 0);
  EXPECT_EQ((*stored)[kItemOptSignal], 1);
  EXPECT_EQ((*stored)[kItemRx], 1);

  // With nothing ticked there is nothing to apply.
  for (int box : {0, 1, 3, 6, 7, 8, 9, 10, 14})
    if (auto *c = child<QCheckBox>(QString("Check2_%1").arg(box).toUtf8().constData()); c->isChecked())
      c->click();
  EXPECT_FALSE(child<QPushButton>("CommandApply")->isEnabled());
  EXPECT_TRUE(child<QLabel>("LabelHint")->isVisible());
}

TEST_F(BatchWindowTest, RunFromTheWindowFillsTheGrid) {
  addChannel(20, "450.00000");
  open();
  openBatch();
  child<QRadioButton>("Option1_1")->click();
  setText("Text1_0", "1");
  setText("Text1_1", "40");
  EXPECT_EQ(child<QLineEdit>("Text1_1")->text(), "16");
  setText("Text2_0", "440");
  setText("Text2_1", "12.5");
  child<QRadioButton>("Option3_1")->click();  // TX = RX - 5 MHz
  setText("Text2_2", "5");
  child<QRadioButton>("Option4_1")->click();
  auto *decode = child<QComboBox>("Combo1_0");
  decode->setCurrentIndex(decode->findText("254.1"));
  child<QCheckBox>("Check3_2")->setChecked(true);  // encode as decode
  auto *busy = child<QComboBox>("Combo1_6");
  busy->setCurrentIndex(busy->findText("Repeater"));
  child<QCheckBox>("Check4")->setChecked(true);  // clear channels outside 1..16

  child<QPushButton>("CommandApply")->click();

  EXPECT_EQ(ws.working.channelCount, 16);
  ASSERT_NE(channel(5), nullptr);
  EXPECT_EQ(channel(5)->rx.text(), "44005000");
  EXPECT_EQ(channel(5)->tx.text(), "43505000");
  EXPECT_EQ(channel(20), nullptr);
  // The tones run on from 254.1 into the DCS codes.
  EXPECT_EQ(channel(1)->decode.text(), "0131");
  EXPECT_EQ(channel(2)->decode.text(), "0200");
  EXPECT_EQ(channel(2)->encode.text(), "0200");
  EXPECT_EQ(channel(2)->busyLock, 2);
  // The grid shows the result.
  EXPECT_EQ(cell(5, kColRx), "440.05000");
  EXPECT_EQ(cell(2, kColDecode), "D017N");
  EXPECT_EQ(cell(20, kColRx), "");
  EXPECT_EQ(child<QLabel>("LabelResult")->text(), "16 channels set.");
  EXPECT_EQ(child<QLineEdit>("Text2_0")->text(), "440.00000");
}

TEST_F(BatchWindowTest, RepeaterWithoutDecodeToneBecomesCarrierAndBandIsClamped) {
  openBatch();
  child<QCheckBox>("Check2_2")->click();
  child<QCheckBox>("Check2_3")->click();
  setText("Text2_0", "401");
  setText("Text2_1", "500");
  child<QRadioButton>("Option2_1")->click();  // decreasing by 0.5 MHz
  auto *busy = child<QComboBox>("Combo1_6");
  busy->setCurrentIndex(busy->findText("Repeater"));
  child<QPushButton>("CommandApply")->click();
  EXPECT_EQ(ws.working.channelCount, 32);
  EXPECT_EQ(channel(2)->rx.text(), "40050000");
  EXPECT_EQ(channel(3)->rx.text(), "40000000");
  EXPECT_EQ(channel(32)->rx.text(), "40000000");
  EXPECT_EQ(channel(7)->busyLock, 1);
  EXPECT_TRUE(codecMessages.empty());
}

TEST_F(BatchWindowTest, ChineseCaptions) {
  SetLanguageIndex(kChinese);
  openBatch();
  EXPECT_EQ(batch->windowTitle(), "批量信道编辑");
  EXPECT_EQ(child<QPushButton>("CommandFun")->text(), "设定编辑项目(&I)");
  EXPECT_EQ(child<QComboBox>("Combo1_2")->itemText(2), "高");
  EXPECT_EQ(child<QComboBox>("Combo1_0")->itemText(0), "无");
}

}  // namespace
}  // namespace n27::testing
