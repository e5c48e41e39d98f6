// The batch window's controls and their layout: the range, RX, TX and tone groups, the value
// lists and check boxes of the other items, the item boxes and the buttons.

#include "channels/ui/FrmCHBatch.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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
#include "channels/channel_window_texts.h"
#include "channels/ui/batch_item_controls.h"
#include "channels/ui/channel_widgets.h"

namespace n27 {

using batchui::kListOfItem;
using batchui::noChannelValue;

void FrmCHBatch::buildUi() {
  auto radio = [&](const char *name, QWidget *parentBox) {
    auto *r = new QRadioButton(parentBox);
    r->setObjectName(name);
    return r;
  };
  auto line = [&](const char *name, QWidget *parentBox) {
    auto *t = new QLineEdit(parentBox);
    t->setObjectName(name);
    t->setContextMenuPolicy(Qt::NoContextMenu);
    t->setAcceptDrops(false);
    t->setAttribute(Qt::WA_InputMethodEnabled, false);
    t->setMaximumWidth(110);
    t->installEventFilter(this);
    return t;
  };
  auto frame = [&](const char *name) {
    auto *g = new QGroupBox(this);
    g->setObjectName(name);
    return g;
  };
  auto group = [&](QObject *owner, std::initializer_list<QRadioButton *> buttons) {
    auto *g = new QButtonGroup(owner);
    for (auto *b : buttons) g->addButton(b);
  };

  // Range.
  rangeFrame_ = frame("FrameRange");
  option1_[0] = radio("Option1_0", rangeFrame_);
  option1_[1] = radio("Option1_1", rangeFrame_);
  group(rangeFrame_, {option1_[0], option1_[1]});
  text1_[0] = line("Text1_0", rangeFrame_);
  text1_[1] = line("Text1_1", rangeFrame_);
  for (auto *t : text1_) t->setMaximumWidth(48);
  toLabel_ = new QLabel(rangeFrame_);
  check4_ = new QCheckBox(rangeFrame_);
  check4_->setObjectName("Check4");
  {
    auto *g = new QGridLayout(rangeFrame_);
    g->addWidget(option1_[0], 0, 0, 1, 4);
    g->addWidget(option1_[1], 1, 0);
    g->addWidget(text1_[0], 1, 1);
    g->addWidget(toLabel_, 1, 2);
    g->addWidget(text1_[1], 1, 3);
    g->addWidget(check4_, 2, 0, 1, 4);
    g->setColumnStretch(4, 1);
  }
  for (int i = 0; i < 2; ++i) {
    connect(text1_[i], &QLineEdit::textEdited, this, [this, i](const QString &typed) {
      run("Text1_Change", [&] {
        const QString corrected = QString::fromStdString(CorrectRangeText(typed.toStdString()));
        if (corrected != typed) text1_[i]->setText(corrected);
      });
    });
  }
  connect(option1_[1], &QRadioButton::toggled, this, [this](bool on) {
    text1_[0]->setEnabled(on);
    text1_[1]->setEnabled(on);
  });

  for (int i = 0; i < 7; ++i) {
    textLabels_[i] = new QLabel(this);
    text2_[i] = line(QString("Text2_%1").arg(i).toUtf8().constData(), this);
  }

  // RX.
  rxFrame_ = frame("FrameRx");
  option2_[0] = radio("Option2_0", rxFrame_);
  option2_[1] = radio("Option2_1", rxFrame_);
  group(rxFrame_, {option2_[0], option2_[1]});
  {
    auto *g = new QGridLayout(rxFrame_);
    g->addWidget(textLabels_[0], 0, 0);
    g->addWidget(text2_[0], 0, 1);
    g->addWidget(textLabels_[1], 1, 0);
    g->addWidget(text2_[1], 1, 1);
    g->addWidget(option2_[0], 2, 0);
    g->addWidget(option2_[1], 2, 1);
  }

  // TX.
  txFrame_ = frame("FrameTx");
  option3_[0] = radio("Option3_0", txFrame_);
  option3_[1] = radio("Option3_1", txFrame_);
  option3_[2] = radio("Option3_2", txFrame_);
  group(txFrame_, {option3_[0], option3_[1], option3_[2]});
  option4_[0] = radio("Option4_0", txFrame_);
  option4_[1] = radio("Option4_1", txFrame_);
  option5_[0] = radio("Option5_0", txFrame_);
  option5_[1] = radio("Option5_1", txFrame_);
  auto *offsetSigns = new QWidget(txFrame_);
  auto *txDirections = new QWidget(txFrame_);
  group(offsetSigns, {option4_[0], option4_[1]});
  group(txDirections, {option5_[0], option5_[1]});
  {
    auto *signs = new QHBoxLayout(offsetSigns);
    signs->setContentsMargins(0, 0, 0, 0);
    signs->addWidget(option4_[0]);
    signs->addWidget(option4_[1]);
    auto *dirs = new QHBoxLayout(txDirections);
    dirs->setContentsMargins(0, 0, 0, 0);
    dirs->addWidget(option5_[0]);
    dirs->addWidget(option5_[1]);
    auto *g = new QGridLayout(txFrame_);
    g->addWidget(option3_[0], 0, 0, 1, 2);
    g->addWidget(option3_[1], 1, 0);
    g->addWidget(text2_[2], 1, 1);
    g->addWidget(offsetSigns, 2, 0, 1, 2);
    g->addWidget(option3_[2], 3, 0);
    g->addWidget(text2_[3], 3, 1);
    g->addWidget(textLabels_[4], 4, 0);
    g->addWidget(text2_[4], 4, 1);
    g->addWidget(txDirections, 5, 0, 1, 2);
    textLabels_[2]->hide();  // the offset and start inputs carry their option as label
    textLabels_[3]->hide();
  }
  auto txModeChanged = [this] {
    const bool offset = option3_[1]->isChecked(), start = option3_[2]->isChecked();
    text2_[2]->setEnabled(offset);
    for (auto *o : option4_) o->setEnabled(offset);
    for (QWidget *w : {static_cast<QWidget *>(text2_[3]), static_cast<QWidget *>(text2_[4]),
                       static_cast<QWidget *>(option5_[0]), static_cast<QWidget *>(option5_[1])})
      w->setEnabled(start);
  };
  for (auto *o : option3_) connect(o, &QRadioButton::toggled, this, txModeChanged);

  // Tones.
  auto toneFrame = [&](const char *name, int list, int textIndex, QRadioButton **dir,
                       const char *dir0, const char *dir1, std::initializer_list<int> checks) {
    QGroupBox *g = frame(name);
    auto *box = new QComboBox(g);
    box->setObjectName(QString("Combo1_%1").arg(list));
    PrepareListBox(box, false);
    combo1_[list] = box;
    dir[0] = radio(dir0, g);
    dir[1] = radio(dir1, g);
    group(g, {dir[0], dir[1]});
    auto *startLabel = new QLabel(g);
    startLabel->setObjectName(QString("LabelStart%1").arg(list));
    auto *grid = new QGridLayout(g);
    grid->addWidget(startLabel, 0, 0);
    grid->addWidget(box, 0, 1);
    grid->addWidget(textLabels_[textIndex], 1, 0);
    grid->addWidget(text2_[textIndex], 1, 1);
    // The direction and "Random" share a row: the window then fits the main window's default
    // size in Chinese too.
    auto *modes = new QHBoxLayout;
    modes->addWidget(dir[0]);
    modes->addWidget(dir[1]);
    grid->addLayout(modes, 2, 0, 1, 2);
    int row = 3;
    for (int c : checks) {
      check3_[c] = new QCheckBox(g);
      check3_[c]->setObjectName(QString("Check3_%1").arg(c));
      if (row == 3 && modes->count() == 2)
        modes->addWidget(check3_[c]);
      else
        grid->addWidget(check3_[c], row++, 0, 1, 2);
    }
    return g;
  };
  decodeFrame_ = toneFrame("FrameDecode", 0, 5, option6_, "Option6_0", "Option6_1", {0});
  encodeFrame_ = toneFrame("FrameEncode", 1, 6, option7_, "Option7_0", "Option7_1", {1, 2});
  auto toneModeChanged = [this] {
    const bool decodeStepped = !check3_[0]->isChecked();
    const bool encodeStepped = !check3_[1]->isChecked() && !check3_[2]->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(combo1_[0]), static_cast<QWidget *>(text2_[5]),
                       static_cast<QWidget *>(option6_[0]), static_cast<QWidget *>(option6_[1])})
      w->setEnabled(decodeStepped);
    for (QWidget *w : {static_cast<QWidget *>(combo1_[1]), static_cast<QWidget *>(text2_[6]),
                       static_cast<QWidget *>(option7_[0]), static_cast<QWidget *>(option7_[1])})
      w->setEnabled(encodeStepped);
  };
  connect(check3_[0], &QCheckBox::toggled, this, toneModeChanged);
  // Random and "same as decode" exclude each other.
  connect(check3_[1], &QCheckBox::toggled, this, [this, toneModeChanged](bool on) {
    if (on) check3_[2]->setChecked(false);
    toneModeChanged();
  });
  connect(check3_[2], &QCheckBox::toggled, this, [this, toneModeChanged](bool on) {
    if (on) check3_[1]->setChecked(false);
    toneModeChanged();
  });

  // The other fields.
  otherFrame_ = frame("FrameOther");
  {
    auto *g = new QGridLayout(otherFrame_);
    int row = 0;
    for (int item = 0; item < kBatchItemCount; ++item) {
      const int list = kListOfItem[item];
      if (list < 0) continue;
      valueLabels_[list] = new QLabel(otherFrame_);
      auto *box = new QComboBox(otherFrame_);
      box->setObjectName(QString("Combo1_%1").arg(list));
      PrepareListBox(box, false);
      combo1_[list] = box;
      g->addWidget(valueLabels_[list], row, 0);
      g->addWidget(box, row++, 1);
    }
    for (int i = 0; i < 7; ++i) {
      check1_[i] = new QCheckBox(otherFrame_);
      check1_[i]->setObjectName(QString("Check1_%1").arg(i));
      g->addWidget(check1_[i], row + i / 2, i % 2);
    }
  }

  // The item boxes.
  itemsFrame_ = frame("FrameItems");
  {
    auto *g = new QGridLayout(itemsFrame_);
    for (int item = 0; item < kBatchItemCount; ++item) {
      const int box = chtext::kBatchItemBoxes[item].box;
      auto *c = new QCheckBox(itemsFrame_);
      c->setObjectName(QString("Check2_%1").arg(box));
      c->setChecked(items_[static_cast<std::size_t>(item)] != 0);
      if (noChannelValue(item)) c->setEnabled(false);
      connect(c, &QCheckBox::clicked, this, [this, item](bool on) {
        run("Check2_Click", [&] { itemClicked(item, on); });
      });
      check2_[static_cast<std::size_t>(box)] = c;
      g->addWidget(c, item / 3, item % 3);
    }
  }
  itemsFrame_->hide();

  hint_ = new QLabel(this);
  hint_->setObjectName("LabelHint");
  hint_->setWordWrap(true);
  result_ = new QLabel(this);
  result_->setObjectName("LabelResult");

  commandFun_ = new QPushButton(this);
  commandFun_->setObjectName("CommandFun");
  commandFun_->setCheckable(true);
  commandApply_ = new QPushButton(this);
  commandApply_->setObjectName("CommandApply");
  commandHelp_ = new QPushButton(this);
  commandHelp_->setObjectName("CommandHelp");
  commandHelp_->setVisible(static_cast<bool>(host_.showHelp));
  connect(commandHelp_, &QPushButton::clicked, this,
          [this] { host_.showHelp(chtext::kHelpChannelWindow); });
  commandClose_ = new QPushButton(this);
  commandClose_->setObjectName("CommandClose");
  connect(commandFun_, &QPushButton::toggled, this,
          [this](bool on) { run("CommandFun_Click", [&] { showItemBoxes(on); }); });
  connect(commandApply_, &QPushButton::clicked, this, [this] { apply(); });
  connect(commandClose_, &QPushButton::clicked, this, [this] {
    for (QWidget *p = parentWidget(); p; p = p->parentWidget())
      if (auto *sub = qobject_cast<QMdiSubWindow *>(p)) {
        sub->close();
        return;
      }
    close();
  });

  auto *left = new QVBoxLayout;
  left->addWidget(rangeFrame_);
  left->addWidget(rxFrame_);
  left->addWidget(txFrame_);
  left->addStretch(1);
  auto *right = new QVBoxLayout;
  right->addWidget(decodeFrame_);
  right->addWidget(encodeFrame_);
  right->addWidget(otherFrame_);
  right->addStretch(1);
  auto *columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(result_, 1);
  buttons->addWidget(commandFun_);
  buttons->addWidget(commandApply_);
  buttons->addWidget(commandHelp_);
  buttons->addWidget(commandClose_);
  // The inputs scroll when the window is smaller than they need; the buttons stay in view.
  auto *content = new QWidget;
  auto *inner = new QVBoxLayout(content);
  inner->setContentsMargins(0, 0, 0, 0);
  inner->addWidget(itemsFrame_);
  inner->addWidget(hint_);
  inner->addLayout(columns, 1);
  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setWidgetResizable(true);
  scroll_->setWidget(content);
  scroll_->setFocusPolicy(Qt::NoFocus);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(scroll_, 1);
  layout->addLayout(buttons);
  resize(sizeHint());
  ApplyVisualTabOrder(this);
}

QSize FrmCHBatch::sizeHint() const {
  const QSize inputs = scroll_->widget()->sizeHint();
  const QMargins m = layout()->contentsMargins();
  return QSize(inputs.width() + scroll_->verticalScrollBar()->sizeHint().width() + m.left() + m.right(),
               inputs.height() + commandApply_->sizeHint().height() + layout()->spacing() + m.top() +
                   m.bottom());
}

}  // namespace n27
