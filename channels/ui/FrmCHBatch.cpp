#include "channels/ui/FrmCHBatch.h"
#include "base/qt/qt_text.h"

#include <chrono>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "base/ui/tab_order.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "channels/channel_changes.h"
#include "channels/channel_window_texts.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/tone_list.h"
#include "channels/ui/batch_item_controls.h"
#include "channels/ui/channel_widgets.h"

namespace n27 {

namespace {

const char *const kBatchWindowName = "FrmCHBatch";

std::string s(const QLineEdit *box) { return box->text().toStdString(); }

using batchui::kCheckOfItem;
using batchui::kListOfItem;
using batchui::noChannelValue;

template <std::size_t N>
std::vector<std::string> texts(const Tr (&table)[N]) {
  std::vector<std::string> out;
  for (const Tr &t : table) out.emplace_back(t.get());
  return out;
}

std::vector<std::string> batchNumbers(int first, int last) {
  std::vector<std::string> out;
  for (int i = first; i <= last; ++i) out.push_back(std::to_string(i));
  return out;
}

int clampedIndex(const QComboBox *box) { return box->currentIndex() < 0 ? 0 : box->currentIndex(); }

}  // namespace

FrmCHBatch::FrmCHBatch(ChannelContext &ctx, BatchItems &items, std::string folder,
                       ChannelWindowHost host, QWidget *parent)
    : QWidget(parent), ctx_(ctx), items_(items), folder_(std::move(folder)), host_(std::move(host)) {
  setObjectName(kBatchWindowName);
  run("Form_Load", [&] {
    buildUi();
    applyLanguage();
    BatchInput initial;
    initial.rxStart = FormatLimitedFre(ctx_, "", kFieldRx);
    initial.rxStep = "12.5";
    initial.txOffset = "5";
    initial.txStart = FormatLimitedFre(ctx_, "", kFieldTx);
    initial.txStep = "12.5";
    initial.decodeStart = 1;
    initial.encodeStart = 1;
    setInput(initial);
    updateVisibility();
  });
}

void FrmCHBatch::showItemBoxes(bool on) {
  itemsFrame_->setVisible(on);
  // The window grows by the item boxes as far as the main window's area allows.
  QWidget *frame = parentWidget() && qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : nullptr;
  QWidget *target = frame ? frame : this;
  const QSize extra = frame ? frame->size() - size() : QSize();
  QSize want = sizeHint() + extra;
  if (frame && frame->parentWidget()) want = want.boundedTo(frame->parentWidget()->size());
  target->resize(target->width(), want.height());
}

void FrmCHBatch::applyLanguage() {
  run("ChangShowByLanguage", [&] {
    namespace t = chtext;
    setWindowTitle(qs(t::kBatchTitle));
    rangeFrame_->setTitle(qs(t::kBatchRange));
    option1_[0]->setText(qs(t::kBatchAll));
    option1_[1]->setText(qs(t::kBatchFrom));
    toLabel_->setText(qs(t::kBatchTo));
    check4_->setText(qs(t::kBatchClearOutside));
    rxFrame_->setTitle(qs(t::kBatchRx));
    txFrame_->setTitle(qs(t::kBatchTx));
    textLabels_[0]->setText(qs(t::kBatchStartFreq));
    textLabels_[1]->setText(qs(t::kBatchStep));
    textLabels_[4]->setText(qs(t::kBatchStep));
    textLabels_[5]->setText(qs(t::kBatchInterval));
    textLabels_[6]->setText(qs(t::kBatchInterval));
    for (auto *o : {option2_[0], option5_[0], option6_[0], option7_[0]}) o->setText(qs(t::kBatchIncreasing));
    for (auto *o : {option2_[1], option5_[1], option6_[1], option7_[1]}) o->setText(qs(t::kBatchDecreasing));
    option3_[0]->setText(qs(t::kBatchTxDefault));
    option3_[1]->setText(qs(t::kBatchTxOffset));
    option3_[2]->setText(qs(t::kBatchStartFreq));
    option4_[0]->setText(qs(t::kBatchPlus));
    option4_[1]->setText(qs(t::kBatchMinus));
    decodeFrame_->setTitle(qs(t::kBatchDecode));
    encodeFrame_->setTitle(qs(t::kBatchEncode));
    for (auto *l : findChildren<QLabel *>(QRegularExpression("^LabelStart"))) l->setText(qs(t::kBatchStartTone));
    check3_[0]->setText(qs(t::kBatchRandom));
    check3_[1]->setText(qs(t::kBatchRandom));
    check3_[2]->setText(qs(t::kBatchSameAsDecode));
    otherFrame_->setTitle(qs(t::kBatchOther));
    itemsFrame_->setTitle(qs(t::kBatchItemsTitle));
    for (int item = 0; item < kBatchItemCount; ++item) {
      const auto &caption = t::kBatchItemBoxes[item];
      check2_[static_cast<std::size_t>(caption.box)]->setText(qs(caption.caption));
      if (noChannelValue(item))
        check2_[static_cast<std::size_t>(caption.box)]->setToolTip(qs(t::kBatchNotInRecord));
      if (kListOfItem[item] >= 0) valueLabels_[kListOfItem[item]]->setText(qs(caption.caption));
    }
    for (int i = 0; i < 7; ++i) check1_[i]->setText(qs(t::kBatchChecks[i]));
    hint_->setText(qs(t::kBatchNoItem));
    commandFun_->setText(qs(t::kBatchSetItems));
    commandApply_->setText(qs(t::kBatchApply));
    commandHelp_->setText(qs(t::kHelp));
    commandClose_->setText(qs(t::kClose));

    FillList(combo1_[0], ToneList());
    FillList(combo1_[1], ToneList());
    FillList(combo1_[2], texts(kPowerTexts));
    FillList(combo1_[3], texts(kOptSignalTexts));
    FillList(combo1_[4], texts(kPttIdTexts));
    FillList(combo1_[5], texts(kSpacingTexts));
    FillList(combo1_[6], texts(kBusyLockTexts));
    FillList(combo1_[8], batchNumbers(1, chtext::kCallEntries));
    FillList(combo1_[9], texts(kRelationTexts));
    FillList(combo1_[10], batchNumbers(1, chtext::kCallEntries));
  });
}

void FrmCHBatch::setInput(const BatchInput &in) {
  option1_[in.allChannels ? 0 : 1]->setChecked(true);
  text1_[0]->setEnabled(!in.allChannels);
  text1_[1]->setEnabled(!in.allChannels);
  text1_[0]->setText(QString::fromStdString(in.fromText));
  text1_[1]->setText(QString::fromStdString(in.toText));
  check4_->setChecked(in.clearOutside);
  const std::string *texts2[7] = {&in.rxStart, &in.rxStep,   &in.txOffset,       &in.txStart,
                                  &in.txStep,  &in.decodeInterval, &in.encodeInterval};
  for (int i = 0; i < 7; ++i) text2_[i]->setText(QString::fromStdString(*texts2[i]));
  option2_[in.rxIncreasing ? 0 : 1]->setChecked(true);
  option3_[static_cast<int>(in.txMode)]->setChecked(true);
  option4_[in.offsetSign == OffsetSign::Minus ? 1 : 0]->setChecked(true);
  option5_[in.txIncreasing ? 0 : 1]->setChecked(true);
  option6_[in.decodeIncreasing ? 0 : 1]->setChecked(true);
  option7_[in.encodeIncreasing ? 0 : 1]->setChecked(true);
  combo1_[0]->setCurrentIndex(in.decodeStart);
  combo1_[1]->setCurrentIndex(in.encodeStart);
  check3_[0]->setChecked(in.decodeRandom);
  check3_[1]->setChecked(in.encodeRandom);
  check3_[2]->setChecked(in.encodeDefault);
  combo1_[2]->setCurrentIndex(in.power);
  combo1_[3]->setCurrentIndex(in.optSignal);
  combo1_[4]->setCurrentIndex(in.pttId);
  combo1_[5]->setCurrentIndex(in.spacing);
  combo1_[6]->setCurrentIndex(in.busyLock);
  combo1_[8]->setCurrentIndex(in.call1);
  combo1_[9]->setCurrentIndex(in.relation);
  combo1_[10]->setCurrentIndex(in.call2);
  const bool checks[7] = {in.scanAdd, in.scramble, in.txInhibit, in.talkaround,
                          in.reverse, in.whisper,  in.compander};
  for (int i = 0; i < 7; ++i) check1_[i]->setChecked(checks[i]);
}

BatchInput FrmCHBatch::input() const {
  BatchInput in;
  in.allChannels = option1_[0]->isChecked();
  in.fromText = s(text1_[0]);
  in.toText = s(text1_[1]);
  in.clearOutside = check4_->isChecked();
  in.rxStart = s(text2_[0]);
  in.rxStep = s(text2_[1]);
  in.rxIncreasing = option2_[0]->isChecked();
  in.txMode = option3_[1]->isChecked()   ? TxMode::Offset
              : option3_[2]->isChecked() ? TxMode::Start
                                         : TxMode::Default;
  in.txOffset = s(text2_[2]);
  in.offsetSign = option4_[1]->isChecked() ? OffsetSign::Minus : OffsetSign::Plus;
  in.txStart = s(text2_[3]);
  in.txStep = s(text2_[4]);
  in.txIncreasing = option5_[0]->isChecked();
  in.decodeStart = clampedIndex(combo1_[0]);
  in.decodeInterval = s(text2_[5]);
  in.decodeIncreasing = option6_[0]->isChecked();
  in.decodeRandom = check3_[0]->isChecked();
  in.encodeStart = clampedIndex(combo1_[1]);
  in.encodeInterval = s(text2_[6]);
  in.encodeIncreasing = option7_[0]->isChecked();
  in.encodeRandom = check3_[1]->isChecked();
  in.encodeDefault = check3_[2]->isChecked();
  in.power = clampedIndex(combo1_[2]);
  in.optSignal = clampedIndex(combo1_[3]);
  in.pttId = clampedIndex(combo1_[4]);
  in.spacing = clampedIndex(combo1_[5]);
  in.busyLock = clampedIndex(combo1_[6]);
  in.call1 = clampedIndex(combo1_[8]);
  in.relation = clampedIndex(combo1_[9]);
  in.call2 = clampedIndex(combo1_[10]);
  in.scanAdd = check1_[0]->isChecked();
  in.scramble = check1_[1]->isChecked();
  in.txInhibit = check1_[2]->isChecked();
  in.talkaround = check1_[3]->isChecked();
  in.reverse = check1_[4]->isChecked();
  in.whisper = check1_[5]->isChecked();
  in.compander = check1_[6]->isChecked();
  return in;
}

void FrmCHBatch::itemClicked(int item, bool checked) {
  items_[static_cast<std::size_t>(item)] = checked ? 1 : 0;
  SaveBatchItems(folder_, items_);
  updateVisibility();
}

void FrmCHBatch::updateVisibility() {
  auto on = [this](int item) { return items_[static_cast<std::size_t>(item)] != 0; };
  rxFrame_->setVisible(on(kItemRx));
  txFrame_->setVisible(on(kItemTx));
  decodeFrame_->setVisible(on(kItemDecode));
  encodeFrame_->setVisible(on(kItemEncode));
  bool anyOther = false, anyItem = false;
  for (int item = 0; item < kBatchItemCount; ++item) {
    const bool shown = on(item) && !noChannelValue(item);
    anyItem = anyItem || shown;
    if (kListOfItem[item] >= 0) {
      combo1_[kListOfItem[item]]->setVisible(shown);
      valueLabels_[kListOfItem[item]]->setVisible(shown);
    }
    if (kCheckOfItem[item] >= 0) check1_[kCheckOfItem[item]]->setVisible(shown);
    if (shown && (kListOfItem[item] >= 0 || kCheckOfItem[item] >= 0)) anyOther = true;
  }
  otherFrame_->setVisible(anyOther);
  hint_->setVisible(!anyItem);
  commandApply_->setEnabled(anyItem);
}

void FrmCHBatch::normalizeTexts() {
  BatchInput in = input();
  NormalizeBatchInput(ctx_, items_, in);
  const std::string *texts2[7] = {&in.rxStart, &in.rxStep,   &in.txOffset,       &in.txStart,
                                  &in.txStep,  &in.decodeInterval, &in.encodeInterval};
  for (int i = 0; i < 7; ++i)
    if (text2_[i]->text().toStdString() != *texts2[i]) text2_[i]->setText(QString::fromStdString(*texts2[i]));
}

void FrmCHBatch::apply() {
  run("CommandApply_Click", [&] {
    BatchInput in = input();
    // Say first what the run will do; the preview runs on a copy with the same random tones
    // the real run then uses, so the counts are exact.
    const auto seed = static_cast<uint64_t>(
        std::chrono::system_clock::now().time_since_epoch().count());
    BatchInput normalized = in;
    NormalizeBatchInput(ctx_, items_, normalized);
    const ChannelCounts counts = PreviewBatch(ctx_, items_, in, seed);
    const QString question =
        QString::fromStdString(BatchQuestion(counts, ResolveBatchRange(normalized)));
    if (Ask(this, question, Prompt::QuestionOkCancel) != Answer::Ok) return;
    const BatchResult result = ApplyBatch(ctx_, items_, in, SeededRandom(seed));
    setInput(in);
    result_->setText(QString::fromStdString(chtext::BatchDoneText(result.created + result.changed)));
  });
}

void FrmCHBatch::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  // After the main window has placed the new window.
  QMetaObject::invokeMethod(this, [this] { KeepInsideChildArea(this); }, Qt::QueuedConnection);
}

bool FrmCHBatch::eventFilter(QObject *watched, QEvent *event) {
  auto *box = qobject_cast<QLineEdit *>(watched);
  if (!box) return QWidget::eventFilter(watched, event);
  const bool range = box == text1_[0] || box == text1_[1];
  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      focusNextChild();
      return true;
    }
    bool eat = false;
    run(range ? "Text1_KeyPress" : "Text2_KeyPress",
        [&] { eat = range ? FilterDigitKey(key) : FilterFrequencyKey(key); });
    return eat;
  }
  if (event->type() == QEvent::FocusOut && !range) run("Text2_LostFocus", [&] { normalizeTexts(); });
  return QWidget::eventFilter(watched, event);
}

bool FrmCHBatch::run(const char *handler, const std::function<void()> &body) {
  return RunHandler(QString(kBatchWindowName), QString(handler), body);
}

}  // namespace n27
