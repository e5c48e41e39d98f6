#pragma once
// FrmCHBatch: the batch channel window. Sets chosen fields of a run of channels in one
// action: RX and TX frequencies by start and step, tones stepped through or at random, and
// one value for the other chosen fields. Which fields take part are the item boxes, kept in
// "BatchFun.ini"; only the inputs of ticked items are shown.

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "channels/batch_engine.h"
#include "channels/channel_context.h"
#include "channels/ui/channel_window_host.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace n27 {

class FrmCHBatch : public QWidget {
  Q_OBJECT

 public:
  // items: the item flags of this run of the program (loaded once from folder/BatchFun.ini);
  // every change of an item box writes them back there.
  FrmCHBatch(ChannelContext &ctx, BatchItems &items, std::string folder,
             ChannelWindowHost host = {}, QWidget *parent = nullptr);

  // CommandApply: runs the batch edit over the channel list.
  void apply();
  // The window's inputs as the batch engine takes them.
  BatchInput input() const;
  void applyLanguage();
  // Wide and tall enough for every input without scrolling.
  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
  void showEvent(QShowEvent *event) override;

 private:
  void buildUi();
  void setInput(const BatchInput &in);
  void itemClicked(int item, bool checked);
  void updateVisibility();
  void showItemBoxes(bool on);
  void normalizeTexts();
  bool run(const char *handler, const std::function<void()> &body);

  ChannelContext &ctx_;
  BatchItems &items_;
  std::string folder_;
  ChannelWindowHost host_;

  QGroupBox *rangeFrame_ = nullptr;
  QRadioButton *option1_[2] = {};
  QLineEdit *text1_[2] = {};
  QLabel *toLabel_ = nullptr;
  QCheckBox *check4_ = nullptr;

  QGroupBox *rxFrame_ = nullptr;
  QGroupBox *txFrame_ = nullptr;
  QGroupBox *decodeFrame_ = nullptr;
  QGroupBox *encodeFrame_ = nullptr;
  QGroupBox *otherFrame_ = nullptr;
  QGroupBox *itemsFrame_ = nullptr;
  std::array<QLineEdit *, 7> text2_{};
  QRadioButton *option2_[2] = {};  // RX increasing / decreasing
  QRadioButton *option3_[3] = {};  // TX same as RX / offset / start
  QRadioButton *option4_[2] = {};  // plus / minus offset
  QRadioButton *option5_[2] = {};  // TX increasing / decreasing
  QRadioButton *option6_[2] = {};  // decode tone increasing / decreasing
  QRadioButton *option7_[2] = {};  // encode tone increasing / decreasing
  std::array<QComboBox *, 11> combo1_{};  // 0, 1 tones; 2..10 value lists (7 unused)
  std::array<QCheckBox *, 7> check1_{};
  std::array<QCheckBox *, 3> check3_{};   // decode random, encode random, encode as decode
  std::array<QCheckBox *, 22> check2_{};  // the item boxes (4 and 5 carry no item)
  std::array<QLabel *, 11> valueLabels_{};
  std::array<QLabel *, 7> textLabels_{};
  QScrollArea *scroll_ = nullptr;
  QLabel *hint_ = nullptr;
  QLabel *result_ = nullptr;
  QPushButton *commandFun_ = nullptr;
  QPushButton *commandApply_ = nullptr;
  QPushButton *commandHelp_ = nullptr;
  QPushButton *commandClose_ = nullptr;
};

}  // namespace n27
