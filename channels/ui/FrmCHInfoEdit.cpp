#include "channels/ui/FrmCHInfoEdit.h"
#include "base/qt/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/ui/tab_order.h"
#include "base/messages.h"
#include "base/ui/handler_guard.h"
#include "base/ui/pasted_text_filter.h"
#include "base/ui/prompter.h"
#include "channels/channel_ops.h"
#include "channels/channel_window_texts.h"
#include "channels/channel_changes.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/grid_rows.h"
#include "channels/tone_list.h"
#include "channels/ui/channel_widgets.h"

namespace n27 {

namespace {

const char *const kEditWindowName = "FrmCHInfoEdit";

// The channel field behind each Combo2 and Check1 (0: none).
constexpr int kListField[FrmCHInfoEdit::kLists] = {
    kFieldDecode, kFieldEncode, kFieldOptSignal, kFieldSpUnmute, kFieldPower, kFieldSpacing,
    kFieldBusyLock, kFieldPttId, 0, kFieldRelation, kFieldCall1, kFieldCall2, kFieldScramble};
constexpr int kCheckField[FrmCHInfoEdit::kChecks] = {kFieldScanAddCheck, kFieldReverse,
                                                     kFieldTalkaround, kFieldSpecialDcs,
                                                     kFieldCompander};
constexpr int kReverseBox = 1;
constexpr int kTalkaroundBox = 2;
constexpr int kAutodialList = 8;
// Lists 0..7 hand their text to the channel list, 9..12 their position.
constexpr int kFirstPositionList = 9;
// The optional signalling list of this dialog offers None and DTMF.
constexpr int kDialogOptSignalEntries = 2;

bool editIsEnter(const QKeyEvent *k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }


std::vector<std::string> editNumbers(int first, int last) {
  std::vector<std::string> out;
  for (int i = first; i <= last; ++i) out.push_back(std::to_string(i));
  return out;
}

std::vector<std::string> scrambleEntries() {
  std::vector<std::string> out{chtext::kScrambleOff.get()};
  for (const auto &n : editNumbers(1, chtext::kScrambleNumbered)) out.push_back(n);
  out.push_back(chtext::kScrambleDefine.get());
  return out;
}

// The entry at a stored list position; the number itself when the list is shorter.
QString entryAt(const QComboBox *box, int position) {
  return position >= 0 && position < box->count() ? box->itemText(position) : QString::number(position);
}

// The stored value of the fields whose list shows the entry at that position.
int storedPosition(const ChannelRecord &e, int field) {
  switch (field) {
    case kFieldPttId: return e.pttId;
    case kFieldRelation: return e.relation;
    case kFieldCall1: return e.call1;
    case kFieldCall2: return e.call2;
    case kFieldScramble: return e.scramble;
    default: return 0;
  }
}

}  // namespace

FrmCHInfoEdit::FrmCHInfoEdit(ChannelContext &ctx, frmCommChInfo &grid, ChannelWindowHost host)
    : QDialog(&grid), ctx_(ctx), grid_(grid), host_(std::move(host)) {
  setObjectName(kEditWindowName);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  run("Form_Load", [&] {
    ready_ = true;
    buildUi();
    applyLanguage();
    SetGridEditData(true);
    ctx_.addListener(this);
  });
}

FrmCHInfoEdit::~FrmCHInfoEdit() { ctx_.removeListener(this); }

void FrmCHInfoEdit::buildUi() {
  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  PrepareListBox(combo1_, false);
  FillList(combo1_, editNumbers(1, kGridChannelRows));
  combo1_->installEventFilter(this);
  connect(combo1_, &QComboBox::activated, this,
          [this] { run("Combo1_Click", [&] { SetGridEditData(false); }); });

  auto makeText = [&](const char *name) {
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    FilterPastedText(box, Passing(FrequencyKeyPasses));
    box->installEventFilter(this);  // after its children are made: the filter expects every box
    return box;
  };
  text1_ = makeText("Text1");
  text2_ = makeText("Text2");
  text3_ = makeText("Text3");

  for (int i = 0; i < 15; ++i) {
    label2_[i] = new QLabel(this);
    label2_[i]->setObjectName(QString("Label2_%1").arg(i));
  }
  label5_ = new QLabel(this);
  label5_->setObjectName("Label5");

  for (int i = 0; i < kLists; ++i) {
    auto *box = new QComboBox(this);
    box->setObjectName(QString("Combo2_%1").arg(i));
    const bool tone = kListField[i] == kFieldDecode || kListField[i] == kFieldEncode;
    PrepareListBox(box, tone);
    if (tone) {
      box->lineEdit()->setMaxLength(kToneTypingLength);
      box->lineEdit()->installEventFilter(this);
    }
    box->installEventFilter(this);
    connect(box, &QComboBox::activated, this, [this, i](int index) {
      run(QString("Combo2_%1_Click").arg(i).toUtf8().constData(), [&] { listChosen(i); });
      (void)index;
    });
    combo2_[i] = box;
  }
  combo2_[kAutodialList]->setToolTip(QString::fromUtf8(
      Text(Tr{"Autodial memory is kept with the channel but not set here.", "自动拨号存储器随信道保存，但不在此处设置。"})));
  for (int i = 0; i < kChecks; ++i) {
    auto *box = new QCheckBox(this);
    box->setObjectName(QString("Check1_%1").arg(i));
    box->installEventFilter(this);
    connect(box, &QCheckBox::clicked, this, [this, i](bool checked) {
      run(QString("Check1_%1_Click").arg(i).toUtf8().constData(), [&] { checkClicked(i, checked); });
    });
    check1_[i] = box;
  }

  commandHelp_ = new QPushButton(this);
  commandHelp_->setObjectName("CommandHelp");
  commandHelp_->setVisible(static_cast<bool>(host_.showHelp));
  connect(commandHelp_, &QPushButton::clicked, this,
          [this] { host_.showHelp(chtext::kHelpChannelWindow); });
  commandClose_ = new QPushButton(this);
  commandClose_->setObjectName("CommandClose");
  commandClose_->setAutoDefault(false);
  commandHelp_->setAutoDefault(false);
  connect(commandClose_, &QPushButton::clicked, this, [this] { close(); });

  // Two columns of label and field, side by side: Tab goes down the first column, then the
  // second.
  QGridLayout *column[2] = {new QGridLayout, new QGridLayout};
  for (auto *c : column) {
    c->setHorizontalSpacing(8);
    c->setColumnStretch(1, 1);
  }
  auto *fields = new QHBoxLayout;
  fields->setSpacing(24);
  fields->addLayout(column[0], 1);
  fields->addLayout(column[1], 1);
  auto put = [&](int row, int c, QLabel *label, QWidget *field) {
    column[c]->addWidget(label, row, 0);
    column[c]->addWidget(field, row, 1);
  };
  put(0, 0, label2_[0], text1_);
  put(1, 0, label2_[1], text2_);
  put(2, 0, label2_[2], combo2_[0]);
  put(3, 0, label2_[3], combo2_[1]);
  put(4, 0, label2_[4], combo2_[2]);
  put(5, 0, label2_[5], combo2_[3]);
  put(6, 0, label2_[6], combo2_[4]);
  put(7, 0, label2_[7], combo2_[5]);
  put(0, 1, label2_[8], combo2_[6]);
  put(1, 1, label2_[9], combo2_[7]);
  put(2, 1, label2_[10], combo2_[8]);
  put(3, 1, label2_[11], combo2_[9]);
  put(4, 1, label2_[12], combo2_[10]);
  put(5, 1, label2_[13], combo2_[11]);
  put(6, 1, label2_[14], combo2_[12]);
  put(7, 1, label5_, text3_);

  auto *top = new QHBoxLayout;
  top->addWidget(label1_);
  top->addWidget(combo1_);
  top->addStretch(1);
  auto *checks = new QHBoxLayout;
  for (auto *c : check1_) checks->addWidget(c);
  checks->addStretch(1);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(commandHelp_);
  buttons->addWidget(commandClose_);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(fields);
  layout->addLayout(checks);
  layout->addLayout(buttons);
  ApplyVisualTabOrder(this);
}

void FrmCHInfoEdit::applyLanguage() {
  run("ChangShowByLanguage", [&] {
    setWindowTitle(qs(chtext::kDetailTitle));
    label1_->setText(qs(chtext::kDetailChannel));
    for (int i = 0; i < 15; ++i) label2_[i]->setText(qs(chtext::kDetailLabels[i]));
    label5_->setText(qs(chtext::kDefineScramble));
    for (int i = 0; i < kChecks; ++i) check1_[i]->setText(qs(chtext::kDetailChecks[i]));
    commandHelp_->setText(qs(chtext::kHelp));
    commandClose_->setText(qs(chtext::kClose));

    const ChannelRecord none{};
    FillList(combo2_[0], ToneList());
    FillList(combo2_[1], ToneList());
    auto signalling = FieldChoices(kFieldOptSignal, none);
    signalling.resize(kDialogOptSignalEntries);
    FillList(combo2_[2], signalling);
    FillList(combo2_[4], FieldChoices(kFieldPower, none));
    FillList(combo2_[5], FieldChoices(kFieldSpacing, none));
    FillList(combo2_[7], FieldChoices(kFieldPttId, none));
    FillList(combo2_[8], editNumbers(1, chtext::kAutodialEntries));
    FillList(combo2_[9], FieldChoices(kFieldRelation, none));
    FillList(combo2_[10], editNumbers(1, chtext::kCallEntries));
    FillList(combo2_[11], editNumbers(1, chtext::kCallEntries));
    FillList(combo2_[12], scrambleEntries());
    SetGridEditData(true);
  });
}

int FrmCHInfoEdit::channel() const { return combo1_->currentIndex() + 1; }

void FrmCHInfoEdit::channelChanged(int, bool) { SetGridEditData(true); }
void FrmCHInfoEdit::allChannelsChanged() { SetGridEditData(true); }

void FrmCHInfoEdit::SetGridEditData(bool fromGrid) {
  if (reloading_ || !combo1_) return;
  reloading_ = true;
  ready_ = false;
  run("SetGridEditData", [&] {
    if (fromGrid) {
      const QSignalBlocker block(combo1_);
      combo1_->setCurrentIndex(grid_.currentRow() - 1);
    } else {
      grid_.selectRow(channel());
    }
    std::vector<QSignalBlocker> blocks;
    for (QWidget *w : findChildren<QWidget *>()) blocks.emplace_back(w);

    CodeplugData &data = ctx_.ws.working;
    const int slot = data.findChannel(channel());
    if (slot == 0) {
      // No channel: only the RX box is open, so typing a frequency creates it.
      text1_->clear();
      text2_->clear();
      text3_->clear();
      text2_->setEnabled(false);
      text3_->setEnabled(false);
      for (auto *box : combo2_) {
        ShowListText(box, QStringLiteral(" "));
        box->setEnabled(false);
      }
      for (auto *box : check1_) {
        box->setChecked(false);
        box->setEnabled(false);
      }
    } else {
      const ChannelRecord e = *data.slot(slot);
      text1_->setText(qs(ShowFre(ctx_, e.rx.text())));
      text2_->setEnabled(true);
      text2_->setText(qs(ShowFre(ctx_, e.tx.text())));
      const bool hasTx = !text2_->text().isEmpty();

      FillList(combo2_[3], SpUnmuteChoices(e));
      FillList(combo2_[6], BusyLockChoices(e));
      for (int i = 0; i < kLists; ++i) {
        QComboBox *box = combo2_[i];
        const int field = kListField[i];
        box->setEnabled(true);
        if (field == 0) {
          // Autodial memory: shown, not edited here.
          ShowListText(box, qs(ValueToText(ctx_, e, kFieldAutodial)));
          box->setEnabled(false);
        } else if (field == kFieldEncode && !hasTx) {
          ShowListText(box, QStringLiteral(" "));
          box->setEnabled(false);
        } else if (field == kFieldBusyLock) {
          ShowListText(box, qs(kBusyLockTexts[ShownBusyLock(e)]));
        } else if (i >= kFirstPositionList || field == kFieldPttId) {
          ShowListText(box, entryAt(box, storedPosition(e, field)));
        } else {
          ShowListText(box, qs(ValueToText(ctx_, e, field)));
        }
      }
      check1_[0]->setChecked(e.scanAdd != 0);
      check1_[kReverseBox]->setChecked(hasTx && e.reverse != 0);
      check1_[kTalkaroundBox]->setChecked(e.talkaround != 0);
      check1_[3]->setChecked(e.specialDcs != 0);
      check1_[4]->setChecked(e.compander != 0);
      for (auto *box : check1_) box->setEnabled(true);
      check1_[kReverseBox]->setEnabled(hasTx);

      text3_->setEnabled(true);
      const int hz = e.scrambleFreq == 0 ? chtext::kScrambleFreqShownForZero : e.scrambleFreq;
      text3_->setText(QString("%1").arg(hz, 4, 10, QChar('0')));
    }
    markFields();
    shown_[0] = text1_->text();
    shown_[1] = text2_->text();
    shown_[2] = text3_->text();
    shownTone_[0] = combo2_[0]->currentText();
    shownTone_[1] = combo2_[1]->currentText();
  });
  ready_ = true;
  reloading_ = false;
}

void FrmCHInfoEdit::markFields() {
  // A field that differs from the saved channel: its caption bold behind the marker, as the
  // grid marks the channel number.
  const auto changed = ChangedFields(ctx_.ws.working, ctx_.ws.reference, channel());
  auto mark = [&](QAbstractButton *button, QLabel *label, const Tr &caption, int field) {
    const bool on = field > 0 && changed[static_cast<std::size_t>(field)];
    const QString text = (on ? QString::fromUtf8(kChangeMarker) + " " : QString()) + qs(caption);
    QWidget *w = button ? static_cast<QWidget *>(button) : label;
    QFont f = font();
    f.setBold(on);
    w->setFont(f);
    w->setToolTip(on ? QString::fromUtf8(ChangeText(ChannelChange::Changed)) : QString());
    if (button) button->setText(text);
    else label->setText(text);
  };
  mark(nullptr, label2_[0], chtext::kDetailLabels[0], kFieldRx);
  mark(nullptr, label2_[1], chtext::kDetailLabels[1], kFieldTx);
  for (int i = 0; i < kLists; ++i)
    mark(nullptr, label2_[static_cast<std::size_t>(i + 2)], chtext::kDetailLabels[i + 2],
         i == kAutodialList ? kFieldAutodial : kListField[i]);
  mark(nullptr, label5_, chtext::kDefineScramble, kFieldScrambleFreq);
  for (int i = 0; i < kChecks; ++i) mark(check1_[static_cast<std::size_t>(i)], nullptr, chtext::kDetailChecks[i], kCheckField[i]);
}

// ---- changes ----------------------------------------------------------------------------

void FrmCHInfoEdit::apply(int field, const QString &text) {
  if (applying_) return;
  applying_ = true;
  {
    EditStep undoStep(ctx_.ws, step::ChannelDetails(channel()));
    ChangeChannel(ctx_, 1, channel(), field, text.toStdString(), true);
  }
  applying_ = false;
  SetGridEditData(true);
}

void FrmCHInfoEdit::listChosen(int index) {
  if (!ready_ || kListField[index] == 0) return;
  QComboBox *box = combo2_[index];
  const QString text = ListText(box);
  if (text.isEmpty() || text == " ") return;
  apply(kListField[index],
        index >= kFirstPositionList ? QString::number(box->currentIndex()) : text);
}

void FrmCHInfoEdit::toneLeft(int index) {
  QComboBox *box = combo2_[index];
  if (!ready_ || !box->isEnabled() || box->currentText() == shownTone_[index]) return;
  listChosen(index);
}

void FrmCHInfoEdit::textLeft(QLineEdit *box) {
  if (!ready_ || applying_ || !box->isEnabled()) return;
  const int which = box == text1_ ? 0 : box == text2_ ? 1 : 2;
  if (box->text() == shown_[which]) return;
  if (box == text1_) {
    // With a single channel left no RX change is made here: not re-tuning it, not clearing
    // it, not creating a second channel.
    if (ctx_.ws.working.channelCount == 1) {
      applying_ = true;
      ShowMessage(this, qs(msg::kAtLeastOneChannel));
      applying_ = false;
      return;
    }
    apply(kFieldRx, text1_->text());
  } else if (box == text2_) {
    apply(kFieldTx, text2_->text());
  } else {
    apply(kFieldScrambleFreq, text3_->text());
  }
}

void FrmCHInfoEdit::checkClicked(int index, bool checked) {
  if (!ready_) return;
  if (applying_) return;
  // Reverse and talkaround exclude each other: ticking one clears the other, which stores
  // its own change.
  const int other = index == kReverseBox ? kTalkaroundBox : index == kTalkaroundBox ? kReverseBox : -1;
  applying_ = true;
  {
    // Both changes are one step.
    EditStep undoStep(ctx_.ws, step::ChannelDetails(channel()));
    ChangeChannel(ctx_, 1, channel(), kCheckField[index], checked ? "1" : "0", true);
    if (checked && other >= 0 && check1_[other]->isChecked())
      ChangeChannel(ctx_, 1, channel(), kCheckField[other], "0", true);
  }
  applying_ = false;
  SetGridEditData(true);
}

void FrmCHInfoEdit::storePendingInput() {
  for (QLineEdit *box : {text1_, text2_, text3_})
    run("Text_Validate", [&] { textLeft(box); });
  for (int i : {0, 1}) run("Combo2_Validate", [&] { toneLeft(i); });
}

// ---- keys and focus ---------------------------------------------------------------------

bool FrmCHInfoEdit::eventFilter(QObject *watched, QEvent *event) {
  auto *widget = qobject_cast<QWidget *>(watched);
  QLineEdit *text = qobject_cast<QLineEdit *>(watched);
  if (text != text1_ && text != text2_ && text != text3_) text = nullptr;
  int tone = -1;
  for (int i : {0, 1})
    if (watched == combo2_[i] || watched == combo2_[i]->lineEdit()) tone = i;

  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (editIsEnter(key)) {
      // Enter moves on as Tab does; leaving a box applies it.
      if (tone >= 0) run("Combo2_KeyPress", [&] { toneLeft(tone); });
      focusNextChild();
      return true;
    }
    if (text) {
      bool eat = false;
      run("Text1_KeyPress", [&] { eat = FilterFrequencyKey(key); });
      return eat;
    }
    return false;
  }
  if (event->type() == QEvent::FocusIn && text) {
    // An empty TX box starts with the RX frequency.
    if (text == text2_ && text2_->text().isEmpty()) text2_->setText(text1_->text());
    QMetaObject::invokeMethod(text, [text] { text->selectAll(); }, Qt::QueuedConnection);
  }
  if (event->type() == QEvent::FocusOut && widget) {
    auto *focus = static_cast<QFocusEvent *>(event);
    QWidget *now = QApplication::focusWidget();
    const bool popup = focus->reason() == Qt::PopupFocusReason || QApplication::activePopupWidget();
    if (!popup && !(now && (now == widget || widget->isAncestorOf(now)))) {
      if (text) run("Text_Validate", [&] { textLeft(text); });
      if (tone >= 0 && !(now && combo2_[tone]->isAncestorOf(now)) && now != combo2_[tone])
        run("Combo2_Validate", [&] { toneLeft(tone); });
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool FrmCHInfoEdit::run(const char *handler, const std::function<void()> &body) {
  return RunHandler(QString(kEditWindowName), QString(handler), body);
}

}  // namespace n27
