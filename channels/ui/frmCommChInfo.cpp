#include "channels/ui/frmCommChInfo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QSettings>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/help_topics.h"
#include "base/messages.h"
#include "base/ui/accessible_names.h"
#include "base/ui/handler_guard.h"
#include "base/ui/pasted_text_filter.h"
#include "base/ui/prompter.h"
#include "channels/channel_changes.h"
#include "channels/channel_ops.h"
#include "channels/channel_window_texts.h"
#include "channels/field_codec.h"
#include "channels/grid_rows.h"
#include "channels/tone_list.h"
#include "channels/ui/FrmCHInfoEdit.h"
#include "channels/ui/channel_widgets.h"

namespace n27 {

namespace {

constexpr int kTwipsPerPixel = 15;
const char *const kGridWindowName = "frmCommChInfo";
// The per-user setting that keeps the grid's empty rows hidden.
const char *const kHideEmptyKey = "ChannelGrid/HideEmptyRows";

inline constexpr Tr kHideEmptyRows{"Hide empty rows", "隐藏空行"};
inline constexpr Tr kFindLabel{"Find (Ctrl+F):", "查找(Ctrl+F)："};
inline constexpr Tr kFindTip{"A frequency (462.125) or a tone (67.0, D023N); Enter or F3 finds the next",
                             "频率（462.125）或亚音（67.0、D023N）；按回车或F3查找下一个"};

QString trText(const Tr &text) { return QString::fromUtf8(text.get()); }

// The width at which a line edit shows its whole example text beside its clear button.
int FindBoxWidthFor(const QLineEdit &box) {
  const QStyle *style = box.style();
  const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &box);
  const int clearButton = style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &box) + 12;
  return box.fontMetrics().horizontalAdvance(box.placeholderText()) + 2 * frame + 8 + clearButton;
}

}  // namespace

frmCommChInfo::frmCommChInfo(ChannelContext &ctx, ChannelWindowHost host, QWidget *parent)
    : QWidget(parent), ctx_(ctx), host_(std::move(host)) {
  setObjectName(kGridWindowName);
  run("Form_Load", [&] {
    buildUi();
    applyLanguage();
    text1_->clear();
    {
      QSettings settings;
      hideEmpty_->setChecked(settings.value(kHideEmptyKey, false).toBool());
    }
    SetGridData();
    ctx_.addListener(this);
    moveTo({1, kColRx});
    cursor_.enterCell(1, kColRx);
    if (hideEmptyRows()) applyHiddenRows();
    updateCaption();
    // The grid has the focus when the window opens: arrows, typing and Ctrl+F work at once.
    grid_->setFocus(Qt::OtherFocusReason);
  });
}

frmCommChInfo::~frmCommChInfo() {
  ctx_.removeListener(this);
  if (detail_) delete detail_.data();
}

void frmCommChInfo::buildUi() {

  label1_ = new QLabel(this);
  label1_->setObjectName("Label1");
  combo6_ = new QComboBox(this);
  combo6_->setObjectName("Combo6");
  combo6_->addItem("1");  // one group of 128 channels
  hideEmpty_ = new QCheckBox(this);
  hideEmpty_->setObjectName("CheckHideEmpty");
  findLabel_ = new QLabel(this);
  find_ = new QLineEdit(this);
  find_->setObjectName("TextFind");
  find_->setClearButtonEnabled(true);
  find_->setMaxLength(16);
  findLabel_->setBuddy(find_);

  grid_ = new QTableWidget(kGridChannelRows, kGridColumnCount, this);
  grid_->setObjectName("MSFlexGrid1");
  grid_->setProperty(kOwnHelpKey, true);  // F1 opens the topic of the column
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setTabKeyNavigation(false);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setHighlightSections(false);
  grid_->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
  grid_->horizontalHeader()->setFixedHeight(kGridHeaderTwips / kTwipsPerPixel + 4);
  const int rowHeight = grid_->fontMetrics().height() + 6;
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(rowHeight);

  const QPalette pal = grid_->palette();
  for (int r = 0; r < kGridChannelRows; ++r) {
    for (int c = 0; c < kGridColumnCount; ++c) {
      auto *item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignCenter);
      if (c == kColChannel) {
        // The fixed column: never current, drawn like a header.
        item->setFlags(Qt::NoItemFlags);
        item->setBackground(pal.button());
        item->setForeground(pal.buttonText());
        item->setText(QString::number(r + 1));
      } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      }
      if (c == kColMore) item->setText(chtext::kMoreCell);
      grid_->setItem(r, c, item);
    }
  }
  // Widths: the design widths at 96 dpi, wider where the font needs it.
  const QFontMetrics fm = grid_->fontMetrics();
  const char *samples[kGridColumnCount] = {"\u25CF 128", "000.00000", "000.00000", "CTCSS/DCS", "CTCSS/DCS",
                                           "Middle",     "", "", "", "12.5K(Narrow)", "More"};
  for (int c = 0; c < kGridColumnCount; ++c) {
    if (IsGridColumnHidden(c)) {
      grid_->setColumnHidden(c, true);
      continue;
    }
    int twips = kGridColumnTwips[static_cast<std::size_t>(c)] / kTwipsPerPixel;
    grid_->setColumnWidth(c, std::max(twips, fm.horizontalAdvance(samples[c]) + 16));
  }

  text1_ = new QLineEdit(grid_->viewport());
  text1_->setObjectName("Text1");
  text1_->setContextMenuPolicy(Qt::NoContextMenu);
  text1_->setAcceptDrops(false);
  text1_->setAttribute(Qt::WA_InputMethodEnabled, false);
  text1_->setAlignment(Qt::AlignCenter);
  FilterPastedText(text1_, Passing(FrequencyKeyPasses));
  text1_->installEventFilter(this);

  auto makeList = [&](const char *name, bool editable) {
    auto *box = new QComboBox(grid_->viewport());
    box->setObjectName(name);
    PrepareListBox(box, editable);
    box->installEventFilter(this);
    if (box->lineEdit()) {
      box->lineEdit()->setMaxLength(kToneTypingLength);
      box->lineEdit()->installEventFilter(this);
    }
    connect(box, &QComboBox::activated, this, [this, box] {
      run((box->objectName().left(6) + "_Click").toUtf8().constData(), [&] { listChosen(); });
    });
    return box;
  };
  combo1_ = makeList("Combo1_0", true);
  combo2_ = makeList("Combo2_0", false);
  combo3_ = makeList("Combo3_0", false);
  combo4_[0] = makeList("Combo4_0", false);
  combo4_[1] = makeList("Combo4_1", false);
  combo5_ = makeList("Combo5_0", false);
  for (QWidget *w : {static_cast<QWidget *>(text1_), static_cast<QWidget *>(combo1_),
                     static_cast<QWidget *>(combo2_), static_cast<QWidget *>(combo3_),
                     static_cast<QWidget *>(combo4_[0]), static_cast<QWidget *>(combo4_[1]),
                     static_cast<QWidget *>(combo5_)})
    w->hide();

  commandEdit_ = new QPushButton(this);
  commandEdit_->setObjectName("CommandCHInfoEdit");
  commandHelp_ = new QPushButton(this);
  commandHelp_->setObjectName("CommandHelp");
  commandHelp_->setVisible(static_cast<bool>(host_.showHelp));
  commandClose_ = new QPushButton(this);
  commandClose_->setObjectName("CommandClose");

  auto *top = new QHBoxLayout;
  top->addWidget(label1_);
  top->addWidget(combo6_);
  top->addSpacing(16);
  top->addWidget(hideEmpty_);
  top->addStretch(1);
  top->addWidget(findLabel_);
  top->addWidget(find_);
  auto *bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(commandEdit_);
  bottom->addWidget(commandHelp_);
  bottom->addWidget(commandClose_);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom);
  // Every column stays in view; the rows scroll.
  grid_->setMinimumWidth(gridWidth());
  resize(sizeHint());

  grid_->installEventFilter(this);
  grid_->viewport()->installEventFilter(this);
  find_->installEventFilter(this);
  connect(grid_, &QTableWidget::currentCellChanged, this,
          [this](int row, int col, int, int) { cellEntered(row + 1, col); });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) {
    run("MSFlexGrid1_DblClick", [&] { cellDoubleClicked(row + 1, col); });
  });
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditor(); });
  connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeEditor(); });
  connect(commandEdit_, &QPushButton::clicked, this, [this] {
    run("CommandCHInfoEdit_Click", [&] {
      SaveShowGridData(true);
      showDetailDialog();
    });
  });
  connect(hideEmpty_, &QCheckBox::toggled, this, [this](bool on) {
    run("CheckHideEmpty_Click", [&] {
      QSettings settings;
      settings.setValue(kHideEmptyKey, on);
      applyHiddenRows();
    });
  });
  connect(find_, &QLineEdit::returnPressed, this,
          [this] { run("TextFind_KeyPress", [&] { findNext(find_->text()); }); });
  connect(commandHelp_, &QPushButton::clicked, this, [this] { showHelpFor(kColChannel); });
  connect(commandClose_, &QPushButton::clicked, this, [this] {
    if (subWindow_)
      subWindow_->close();
    else
      close();
  });
}

int frmCommChInfo::gridWidth() const {
  int width = grid_->frameWidth() * 2 + grid_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < kGridColumnCount; ++c)
    if (!grid_->isColumnHidden(c)) width += grid_->columnWidth(c);
  return width;
}

QSize frmCommChInfo::sizeHint() const {
  const QMargins m = layout()->contentsMargins();
  return QSize(std::max(9700 / kTwipsPerPixel, gridWidth() + m.left() + m.right()),
               6200 / kTwipsPerPixel);
}

void frmCommChInfo::applyLanguage() {
  QStringList headers;
  for (const Tr &h : chtext::kGridHeaders) headers << QString::fromUtf8(h.get());
  grid_->setHorizontalHeaderLabels(headers);
  label1_->setText(QString::fromUtf8(chtext::kGroup.get()));
  commandEdit_->setText(QString::fromUtf8(chtext::kChannelEdit.get()));
  commandHelp_->setText(QString::fromUtf8(chtext::kHelp.get()));
  commandClose_->setText(QString::fromUtf8(chtext::kClose.get()));
  hideEmpty_->setText(trText(kHideEmptyRows));
  findLabel_->setText(trText(kFindLabel));
  find_->setToolTip(trText(kFindTip));
  find_->setPlaceholderText(QStringLiteral("462.125 / 67.0 / D023N"));
  // Wide enough for the whole example beside the clear button, in either language's font.
  find_->setMinimumWidth(FindBoxWidthFor(*find_));

  const ChannelRecord none{};
  FillList(combo1_, ToneList());
  FillList(combo2_, FieldChoices(kFieldPower, none));
  FillList(combo3_, FieldChoices(kFieldSpacing, none));
  // Scan add offers "Add" first.
  auto scan = FieldChoices(kFieldScanAdd, none);
  FillList(combo4_[0], {scan.rbegin(), scan.rend()});
  FillList(combo4_[1], FieldChoices(kFieldPttId, none));
  FillList(combo5_, FieldChoices(kFieldOptSignal, none));
  // The in-place editors by their columns, until one opens on a cell (then by the cell).
  for (int col = kColRx; col <= kColSpacing; ++col) {
    QWidget *editor = editorOf(col);
    const QString caption = PlainLabel(headers[col]);
    const QString named = editor->accessibleName();
    editor->setAccessibleName(named.isEmpty() || col == kColRx || col == kColDecode ? caption : named + " / " + caption);
  }
  updateCaption();
}

void frmCommChInfo::ReShowChInfoByLanguage() {
  run("ChangShowByLanguage", [&] {
    SaveShowGridData(true);
    applyLanguage();
    SetGridData();
    if (detail_) detail_->applyLanguage();
  });
}

// ---- filling --------------------------------------------------------------------------

QString frmCommChInfo::cellText(int row, int col) const {
  const QTableWidgetItem *item = grid_->item(row - 1, col);
  return item ? item->text() : QString();
}

void frmCommChInfo::setCellText(int row, int col, const QString &text) {
  if (QTableWidgetItem *item = grid_->item(row - 1, col))
    if (item->text() != text) item->setText(text);
}

void frmCommChInfo::markRow(int row) {
  QTableWidgetItem *item = grid_->item(row - 1, kColChannel);
  if (!item) return;
  // A channel that differs from the saved copy (added, changed or deleted): its number bold,
  // behind a marker, in a colour of its own, with a tooltip saying which.
  const ChannelChange change = CompareWithSaved(ctx_.ws.working, ctx_.ws.reference, row);
  const bool marked = change != ChannelChange::Same;
  const QString text = marked ? QString::fromUtf8(change == ChannelChange::Added     ? "+ "
                                                  : change == ChannelChange::Deleted ? "\u2212 "
                                                                                     : "\u25CF ") +
                                    QString::number(row)
                              : QString::number(row);
  if (item->text() == text) return;
  item->setText(text);
  QFont f = grid_->font();
  f.setBold(marked);
  item->setFont(f);
  const QPalette pal = grid_->palette();
  item->setForeground(change == ChannelChange::Added     ? QBrush(QColor(0, 120, 40))
                      : change == ChannelChange::Deleted ? QBrush(QColor(190, 20, 20))
                      : marked                           ? QBrush(QColor(200, 90, 0))
                                                         : pal.buttonText());
  item->setToolTip(QString::fromUtf8(ChangeText(change)));
}

void frmCommChInfo::markAllRows() {
  for (int row = 1; row <= kGridChannelRows; ++row) markRow(row);
}

void frmCommChInfo::SetGridData() {
  run("SetGridData", [&] {
    grid_->setUpdatesEnabled(false);
    for (int row = 1; row <= kGridChannelRows; ++row)
      for (int col = kColRx; col <= kColSpacing; ++col) setCellText(row, col, {});
    ShowAllFredata();
    markAllRows();
    applyHiddenRows();
    paintSelection();
    SetShowEditData();
    grid_->setUpdatesEnabled(true);
  });
}

void frmCommChInfo::ShowAllFredata() {
  run("ShowAllFredata", [&] {
    CodeplugData &data = ctx_.ws.working;
    for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k) {
      ChannelRecord &e = data.channels[static_cast<std::size_t>(k - 1)];
      if (e.number < 1 || e.number > kGridChannelRows) continue;
      const GridRowText cells = GridRowTexts(ctx_, e);
      for (int col = kColRx; col <= kColSpacing; ++col)
        setCellText(e.number, col, QString::fromStdString(cells[static_cast<std::size_t>(col)]));
    }
  });
}

void frmCommChInfo::fillRow(int row) {
  CodeplugData &data = ctx_.ws.working;
  const int slot = data.findChannel(row);
  const GridRowText cells = slot ? GridRowTexts(ctx_, *data.slot(slot)) : EmptyGridRow(row);
  for (int col = kColRx; col <= kColSpacing; ++col)
    setCellText(row, col, QString::fromStdString(cells[static_cast<std::size_t>(col)]));
}

void frmCommChInfo::reShowGrid(int row) {
  run("reShowGrid", [&] {
    if (row >= 1 && row <= kGridChannelRows) {
      fillRow(row);
      markRow(row);
      // A channel made or deleted shows or hides its row.
      if (hideEmptyRows() && grid_->isRowHidden(row - 1) != !ctx_.ws.working.findChannel(row))
        applyHiddenRows();
    }
  });
}

void frmCommChInfo::SetShowEditData() {
  run("SetShowEditData", [&] {
    const GridCell c = cursor_.current();
    if (IsFrequencyColumn(c.col))
      text1_->setText(cellText(c.row, c.col));
    else if (auto *box = qobject_cast<QComboBox *>(editorOf(c.col)))
      ShowListText(box, cellText(c.row, c.col));
  });
}

void frmCommChInfo::channelChanged(int number, bool refresh) {
  if (refresh) reShowGrid(number);
  else if (number >= 1 && number <= kGridChannelRows) markRow(number);  // the mark follows at once
}

void frmCommChInfo::allChannelsChanged() { SetGridData(); }

// ---- the detail dialog ----------------------------------------------------------------

void frmCommChInfo::showDetailDialog() {
  if (!detail_) {
    detail_ = new FrmCHInfoEdit(ctx_, *this, host_);
    detail_->adjustSize();
    // Beside the channel window rather than over the grid, as far as the screen allows.
    const QPoint corner = mapToGlobal(QPoint(width() + 8, 0));
    QRect place(corner, detail_->frameGeometry().size());
    if (const QScreen *s = screen()) {
      const QRect avail = s->availableGeometry();
      place.moveRight(std::min(place.right(), avail.right()));
      place.moveBottom(std::min(place.bottom(), avail.bottom()));
      place.moveLeft(std::max(place.left(), avail.left()));
      place.moveTop(std::max(place.top(), avail.top()));
    }
    detail_->move(place.topLeft());
    detail_->show();
  }
  detail_->raise();
  detail_->activateWindow();
}

FrmCHInfoEdit *frmCommChInfo::detailDialog() const { return detail_.data(); }

void frmCommChInfo::storePendingInput() {
  SaveShowGridData(true);
  if (detail_) detail_->storePendingInput();
}

void frmCommChInfo::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (subWindow_) return;
  for (QWidget *p = parentWidget(); p; p = p->parentWidget()) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(p)) {
      subWindow_ = sub;
      connect(sub, &QMdiSubWindow::windowStateChanged, this,
              [this](Qt::WindowStates, Qt::WindowStates now) {
                activationChanged(now.testFlag(Qt::WindowActive));
              });
      activationChanged(sub->isActiveWindow() || sub->windowState().testFlag(Qt::WindowActive));
      break;
    }
  }
}

void frmCommChInfo::activationChanged(bool active) {
  if (active == active_) return;
  active_ = active;
  run(active ? "Form_Activate" : "Form_Deactivate", [&] {
    if (!active) SaveShowGridData(true);
    if (host_.showChannelMenu) host_.showChannelMenu(active);
  });
}

void frmCommChInfo::closeEvent(QCloseEvent *event) {
  run("Form_Unload", [&] {
    SaveShowGridData(true);
    if (detail_) detail_->close();
    active_ = false;
    if (host_.showChannelMenu) host_.showChannelMenu(false);
  });
  QWidget::closeEvent(event);
}

bool frmCommChInfo::run(const char *handler, const std::function<void()> &body) {
  return RunHandler(QString(kGridWindowName), QString(handler), body);
}

}  // namespace n27
