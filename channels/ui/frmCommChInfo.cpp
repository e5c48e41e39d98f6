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

#include "base/messages.h"
#include "base/ui/handler_guard.h"
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
const char *const kWindowName = "frmCommChInfo";
// Two handlers of this window report themselves without the leading "f".
const char *const kShortWindowName = "rmCommChInfo";

bool isEnter(const QKeyEvent *k) { return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter; }

// The per-user setting that keeps the grid's empty rows hidden.
const char *const kHideEmptyKey = "ChannelGrid/HideEmptyRows";

inline constexpr Tr kHideEmptyRows{"Hide empty rows", "隐藏空行"};
inline constexpr Tr kFindLabel{"Find (Ctrl+F):", "查找(Ctrl+F)："};
inline constexpr Tr kFindTip{"A frequency (462.125) or a tone (67.0, D023N); Enter or F3 finds the next",
                             "频率（462.125）或亚音（67.0、D023N）；按回车或F3查找下一个"};
inline constexpr Tr kNotFound{"No channel shows \"%1\".", "没有信道含有“%1”。"};

// The selection: the CH cell in a strong colour, the rest of the row tinted.
const QColor kSelectedChannel(96, 160, 230);
const QColor kSelectedRow(214, 232, 252);

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
  setObjectName(kWindowName);
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
  const ChannelChange change = CompareWithSaved(ctx_.ws.working, ctx_.ws.saved, row);
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

// ---- editing --------------------------------------------------------------------------

QWidget *frmCommChInfo::editorOf(int col) const {
  switch (col) {
    case kColRx:
    case kColTx: return text1_;
    case kColDecode:
    case kColEncode: return combo1_;
    case kColPower: return combo2_;
    case kColScanAdd: return combo4_[0];
    case kColOptSignal: return combo5_;
    case kColPttId: return combo4_[1];
    case kColSpacing: return combo3_;
    default: return nullptr;
  }
}

QWidget *frmCommChInfo::openEditor() const {
  return cursor_.editing() ? editorOf(cursor_.editCell().col) : nullptr;
}

void frmCommChInfo::placeEditor() {
  QWidget *editor = openEditor();
  if (!editor) return;
  const GridCell c = cursor_.editCell();
  QRect r = grid_->visualItemRect(grid_->item(c.row - 1, c.col));
  if (auto *box = qobject_cast<QComboBox *>(editor))
    r.setHeight(std::max(r.height(), box->sizeHint().height()));
  editor->setGeometry(r);
}

void frmCommChInfo::EnterGridEdit() {
  run("EnterGridEdit", [&] {
    SaveShowGridData(true);
    if (detail_) detail_->SetGridEditData(true);
    const GridCell c = cursor_.current();
    if (c.col == kColMore) {
      showDetailDialog();
      return;
    }
    QWidget *editor = editorOf(c.col);
    if (!editor) return;
    if (IsFrequencyColumn(c.col)) {
      if (c.col == kColTx && cursor_.prefillTx(cellText(c.row, kColTx).isEmpty()))
        setCellText(c.row, kColTx, cellText(c.row, kColRx));
      text1_->setText(cellText(c.row, c.col));
    } else {
      ShowListText(static_cast<QComboBox *>(editor), cellText(c.row, c.col));
    }
    cursor_.editorOpened();
    placeEditor();
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
    if (editor == text1_ && !text1_->text().isEmpty()) text1_->selectAll();
  });
}

void frmCommChInfo::SaveShowGridData(bool refresh) {
  run("SaveShowGridData", [&] {
    if (!cursor_.editing() || saving_) return;
    saving_ = true;
    struct Reset {
      bool &flag;
      ~Reset() { flag = false; }
    } reset{saving_};

    const GridCell c = cursor_.editCell();
    QWidget *editor = editorOf(c.col);
    QString text;
    if (IsFrequencyColumn(c.col))
      text = QString::fromStdString(FormatTypedFrequency(text1_->text().toStdString()));
    else
      text = ListText(static_cast<QComboBox *>(editor));
    setCellText(c.row, c.col, text);
    cursor_.editorClosed();
    // The editor goes before the channel list takes the text: a message it shows must not
    // find the editor still open and save it again.
    if (editor->isAncestorOf(QApplication::focusWidget()) || editor->hasFocus())
      grid_->setFocus(Qt::OtherFocusReason);
    editor->hide();
    const EditStatus status = ChangeChannel(ctx_, 1, c.row, c.col, text.toStdString(), refresh);
    // An edit the channel list did not take (a list value on a row without a channel)
    // leaves nothing behind in the cell.
    if (refresh && status != EditStatus::Ok && status != EditStatus::Unmatched) fillRow(c.row);
  });
}

void frmCommChInfo::editorEnter() {
  QWidget *editor = openEditor();
  const QString typed =
      editor == text1_ ? text1_->text() : editor ? ListText(static_cast<QComboBox *>(editor)) : QString();
  SaveShowGridData(true);
  switch (cursor_.enterInEditor(typed.toStdString())) {
    case EditorEnter::NextLine: GridNextLine(); break;
    case EditorEnter::NextCol: GridNextCol(); break;
    case EditorEnter::OpenDetail: showDetailDialog(); break;
  }
}

void frmCommChInfo::cancelEdit() {
  QWidget *editor = openEditor();
  if (!editor) return;
  cursor_.editorClosed();
  grid_->setFocus(Qt::OtherFocusReason);
  editor->hide();
}

void frmCommChInfo::listChosen() {
  // A choice from the list is taken at once; the row is redrawn so that values the choice
  // changes beside it (the encode tone following the decode tone) show too.
  SaveShowGridData(true);
  grid_->setFocus(Qt::OtherFocusReason);
}

// ---- cursor ---------------------------------------------------------------------------

void frmCommChInfo::moveTo(const GridCell &cell) {
  grid_->setCurrentCell(cell.row - 1, cell.col);
}

void frmCommChInfo::GridNextCol(int from) {
  RunHandler(QString(kShortWindowName), "GridNextCol", [&] {
    const GridCell c = cursor_.current();
    const bool empty = cellText(c.row, c.col).isEmpty();
    for (const GridCell &step : cursor_.nextCol(empty, from)) moveTo(step);
    grid_->setFocus(Qt::OtherFocusReason);
  });
}

void frmCommChInfo::GridNextLine() {
  run("GridNextLine", [&] {
    moveTo(cursor_.nextLine());
    grid_->setFocus(Qt::OtherFocusReason);
  });
}

bool frmCommChInfo::FlexConcludeRx() {
  bool has = false;
  run("FlexConcludeRx", [&] {
    has = !cellText(cursor_.row(), kColRx).isEmpty();
    if (!cursor_.concludeRx(has)) moveTo(cursor_.current());
  });
  return has;
}

void frmCommChInfo::selectRow(int row) {
  if (row < 1 || row > kGridChannelRows) return;
  int col = cursor_.col() >= kColRx ? cursor_.col() : kColRx;
  moveTo({row, col});
}

void frmCommChInfo::cellEntered(int row, int col) {
  const int before = cursor_.row();
  if (!cursor_.enterCell(row, col)) return;
  // Moving the cursor to another row selects that row alone, unless Shift is extending.
  if (!keepSelection_ && row != before && row >= 1 && row <= kGridChannelRows) {
    selection_.click(row);
    paintSelection();
  }
  SaveShowGridData(true);
  updateCaption();
  if (detail_) detail_->SetGridEditData(true);
}

void frmCommChInfo::cellDoubleClicked(int row, int col) {
  SaveShowGridData(true);
  const bool hasRx = !cellText(row, kColRx).isEmpty();
  const DoubleClickOutcome out =
      cursor_.doubleClick(row, col, hasRx, cellText(row, kColTx).isEmpty());
  moveTo(out.cell);
  if (out.open) EnterGridEdit();
}

void frmCommChInfo::updateCaption() {
  setWindowTitle(QString::fromStdString(chtext::GridCaption(cursor_.row())));
}

// ---- clipboard ------------------------------------------------------------------------

void frmCommChInfo::SetCHEdit(ChannelEditCommandKey command) {
  run("SetCHEdit", [&] {
    SaveShowGridData(true);
    if (n27::SetCHEdit(ctx_, clipboard_, command, cursor_.row()) == ChannelEditOutcome::LastChannel)
      ShowMessage(this, QString::fromUtf8(msg::kAtLeastOneChannel.get()));
  });
}

void frmCommChInfo::channelEdit(ChannelEditCommand command) { blockCommand(command); }

void frmCommChInfo::showOutcome(BlockOutcome outcome) {
  const std::string text = BlockOutcomeMessage(outcome);
  if (!text.empty()) ShowMessage(this, QString::fromStdString(text));
}

void frmCommChInfo::blockCommand(ChannelEditCommand command) {
  run("SetCHEdit", [&] {
    SaveShowGridData(true);
    const RowSelection rows = selection_.rows();
    const bool several = rows.size() > 1;
    switch (command) {
      case ChannelEditCommand::Copy:
        if (!several) {
          block_ = {};
          SetCHEdit(ChannelEditCommandKey::Copy);
        } else {
          CopyBlock(ctx_.ws.working, block_, rows);
        }
        return;
      case ChannelEditCommand::Cut:
        if (!several) {
          block_ = {};
          SetCHEdit(ChannelEditCommandKey::Cut);
        } else {
          showOutcome(CutBlock(ctx_, block_, rows));
        }
        return;
      case ChannelEditCommand::Paste: {
        if (!block_.filled || block_.rows.size() < 2) {
          SetCHEdit(ChannelEditCommandKey::Paste);
          return;
        }
        const int at = selection_.first();
        const PastePreview preview = PreviewPaste(ctx_.ws.working, block_, at);
        if (preview.ask && Ask(this, QString::fromStdString(PasteQuestion(preview)),
                               Prompt::WarningOkCancel) != Answer::Ok)
          return;
        showOutcome(PasteBlock(ctx_, block_, at));
        // The pasted rows stay selected.
        RowSelection pasted;
        for (int r = at; r < at + preview.rows && r <= kMaxChannels; ++r)
          if (!grid_->isRowHidden(r - 1)) pasted.push_back(r);
        if (!pasted.empty()) selection_.set(pasted, at);
        paintSelection();
        return;
      }
      case ChannelEditCommand::Delete:
        if (!several)
          SetCHEdit(ChannelEditCommandKey::Delete);
        else
          showOutcome(DeleteBlock(ctx_, rows));
        return;
      case ChannelEditCommand::MoveUp:
      case ChannelEditCommand::MoveDown: {
        const int direction = command == ChannelEditCommand::MoveUp ? -1 : 1;
        const HiddenRows hidden = hiddenRows();
        RowSelection moved;
        const BlockOutcome outcome = MoveRows(ctx_, rows, direction, &moved, &hidden);
        showOutcome(outcome);
        if (outcome != BlockOutcome::Done) return;
        // The selection and the cursor go with the channels.
        const int shift = moved.empty() || rows.empty() ? 0 : moved.front() - rows.front();
        const int cursor = std::clamp(cursor_.row() + shift, 1, kMaxChannels);
        selection_.set(moved, cursor);
        moveKeepingSelection(cursor);
        paintSelection();
        return;
      }
      case ChannelEditCommand::InsertRow:
        showOutcome(InsertRows(ctx_, cursor_.row(), 1));
        return;
      case ChannelEditCommand::DeleteRow:
        showOutcome(DeleteRows(ctx_, rows));
        if (grid_->isRowHidden(cursor_.row() - 1)) applyHiddenRows();
        selection_.click(cursor_.row());
        paintSelection();
        return;
      case ChannelEditCommand::SortAscending:
      case ChannelEditCommand::SortDescending:
        // A selection of several rows sorts those rows, otherwise the whole list.
        showOutcome(SortRows(ctx_, several ? rows : RowSelection{}, command == ChannelEditCommand::SortDescending));
        return;
      case ChannelEditCommand::Compact:
        showOutcome(CompactChannels(ctx_));
        return;
      case ChannelEditCommand::Find:
        find_->setFocus(Qt::ShortcutFocusReason);
        find_->selectAll();
        return;
    }
  });
}

// ---- selection, hidden rows, find --------------------------------------------------------

void frmCommChInfo::paintSelection() {
  const QPalette pal = grid_->palette();
  for (int row = 1; row <= kGridChannelRows; ++row) {
    const bool on = selection_.contains(row);
    if (on == painted_[row]) continue;
    painted_[row] = on;
    for (int col = 0; col < kGridColumnCount; ++col) {
      QTableWidgetItem *item = grid_->item(row - 1, col);
      if (!item) continue;
      if (col == kColChannel)
        item->setBackground(on ? QBrush(kSelectedChannel) : pal.button());
      else
        item->setBackground(on ? QBrush(kSelectedRow) : QBrush());
    }
  }
}

void frmCommChInfo::moveKeepingSelection(int row) {
  if (row < 1 || row > kGridChannelRows) return;
  keepSelection_ = true;
  struct Reset {
    bool &flag;
    ~Reset() { flag = false; }
  } reset{keepSelection_};
  moveTo({row, cursor_.col() >= kColRx ? cursor_.col() : kColRx});
  grid_->scrollToItem(grid_->item(row - 1, kColRx));
}

void frmCommChInfo::channelCellClicked(int row, Qt::KeyboardModifiers modifiers) {
  SaveShowGridData(true);
  if (modifiers & Qt::ShiftModifier)
    selection_.extendTo(row);
  else if (modifiers & Qt::ControlModifier)
    selection_.toggle(row);
  else
    selection_.click(row);
  moveKeepingSelection(row);
  paintSelection();
  grid_->setFocus(Qt::MouseFocusReason);
}

bool frmCommChInfo::hideEmptyRows() const { return hideEmpty_ && hideEmpty_->isChecked(); }

void frmCommChInfo::setHideEmptyRows(bool hide) { hideEmpty_->setChecked(hide); }

HiddenRows frmCommChInfo::hiddenRows() const {
  HiddenRows hidden{};
  if (!hideEmptyRows()) return hidden;
  const CodeplugData &data = ctx_.ws.working;
  bool any = false;
  for (int row = 1; row <= kGridChannelRows; ++row) {
    hidden[row] = !data.findChannel(row);
    any = any || !hidden[row];
  }
  if (!any) hidden = {};  // no channel at all: every row stays, so one can be typed
  return hidden;
}

void frmCommChInfo::applyHiddenRows() {
  const HiddenRows hidden = hiddenRows();
  for (int row = 1; row <= kGridChannelRows; ++row)
    if (grid_->isRowHidden(row - 1) != hidden[row]) grid_->setRowHidden(row - 1, hidden[row]);
  selection_.setHidden(hidden);
  // The cursor never stays on a hidden row: the next shown row below, else above.
  int row = cursor_.row();
  if (row >= 1 && row <= kGridChannelRows && hidden[row]) {
    int to = 0;
    for (int r = row + 1; r <= kGridChannelRows && !to; ++r)
      if (!hidden[r]) to = r;
    for (int r = row - 1; r >= 1 && !to; --r)
      if (!hidden[r]) to = r;
    if (to) {
      cancelEdit();
      moveTo({to, cursor_.col() >= kColRx ? cursor_.col() : kColRx});
    }
  }
  if (selection_.rows().empty()) selection_.click(cursor_.row());
  paintSelection();
}

bool frmCommChInfo::findNext(const QString &text) {
  bool found = false;
  run("FindNext", [&] {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return;
    SaveShowGridData(true);
    const int row = FindChannelRow(ctx_, wanted.toStdString(), cursor_.row());
    if (!row) {
      ShowMessage(this, trText(kNotFound).arg(wanted));
      return;
    }
    found = true;
    selection_.click(row);
    moveKeepingSelection(row);
    paintSelection();
  });
  return found;
}

bool frmCommChInfo::selectionKey(QKeyEvent *key) {
  const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const int k = key->key();
  const bool vertical = k == Qt::Key_Up || k == Qt::Key_Down;
  if (vertical && mods == Qt::AltModifier) {
    blockCommand(k == Qt::Key_Up ? ChannelEditCommand::MoveUp : ChannelEditCommand::MoveDown);
    return true;
  }
  if (vertical && mods == Qt::ShiftModifier) {
    // Shift+arrows extend the selection to the next shown row.
    const HiddenRows hidden = hiddenRows();
    int row = cursor_.row();
    do row += k == Qt::Key_Up ? -1 : 1;
    while (row >= 1 && row <= kGridChannelRows && hidden[row]);
    if (row < 1 || row > kGridChannelRows) return true;
    SaveShowGridData(true);
    selection_.extendTo(row);
    moveKeepingSelection(row);
    paintSelection();
    return true;
  }
  if (k == Qt::Key_Insert && mods == Qt::NoModifier) {
    blockCommand(ChannelEditCommand::InsertRow);
    return true;
  }
  if (k == Qt::Key_Delete && mods == Qt::ControlModifier) {
    blockCommand(ChannelEditCommand::DeleteRow);
    return true;
  }
  if (key->matches(QKeySequence::Find)) {
    blockCommand(ChannelEditCommand::Find);
    return true;
  }
  if (k == Qt::Key_F3 && mods == Qt::NoModifier) {
    findNext(find_->text());
    return true;
  }
  const QKeySequence pressed(key->keyCombination());
  for (ChannelEditCommand c :
       {ChannelEditCommand::SortAscending, ChannelEditCommand::SortDescending, ChannelEditCommand::Compact})
    if (pressed == QKeySequence(QString::fromLatin1(ChannelPlanKeys(c)))) {
      blockCommand(c);
      return true;
    }
  return false;
}

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

// ---- events ---------------------------------------------------------------------------

void frmCommChInfo::showHelpFor(int col) {
  if (!host_.showHelp) return;
  int topic = chtext::kHelpChannelWindow;
  if (IsFrequencyColumn(col)) topic = chtext::kHelpFrequencyBase + col;
  if (col == kColPower) topic = chtext::kHelpPower;
  if (col == kColSpacing) topic = chtext::kHelpSpacing;
  if (col == kColScanAdd) topic = chtext::kHelpScanAdd;
  host_.showHelp(topic);
}

bool frmCommChInfo::frequencyKey(QKeyEvent *key) {
  bool eat = false;
  RunHandler(QString(kShortWindowName), "Text1_KeyPress", [&] { eat = FilterFrequencyKey(key); });
  return eat;
}

bool frmCommChInfo::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::Resize && watched == grid_->viewport()) placeEditor();
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QModelIndex index = grid_->indexAt(mouse->position().toPoint());
    if (mouse->button() == Qt::LeftButton && index.isValid() && index.column() == kColChannel) {
      run("MSFlexGrid1_Click", [&] { channelCellClicked(index.row() + 1, mouse->modifiers()); });
      return true;
    }
  }
  // Ctrl+F and F3 also from the find box.
  if (watched == find_ && event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F3) {
      findNext(find_->text());
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      grid_->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }

  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (isEnter(key)) {
      EnterGridEdit();
      return true;
    }
    if (key->key() == Qt::Key_F1) {
      showHelpFor(cursor_.col());
      return true;
    }
    if (selectionKey(key)) return true;
    // Tab walks through the fields as Enter does after an edit; Shift+Tab walks back.
    if (key->key() == Qt::Key_Tab) {
      GridNextCol();
      return true;
    }
    if (key->key() == Qt::Key_Backtab) {
      moveTo(cursor_.prevCol());
      return true;
    }
    // The Channel Edit commands from the keyboard.
    const std::pair<QKeySequence::StandardKey, ChannelEditCommand> shortcuts[] = {
        {QKeySequence::Copy, ChannelEditCommand::Copy},
        {QKeySequence::Cut, ChannelEditCommand::Cut},
        {QKeySequence::Paste, ChannelEditCommand::Paste},
        {QKeySequence::Delete, ChannelEditCommand::Delete}};
    for (const auto &[sequence, command] : shortcuts)
      if (key->matches(sequence)) {
        blockCommand(command);
        return true;
      }
    // Typing a digit on a frequency cell starts editing it with that digit.
    const QString t = key->text();
    if (IsFrequencyColumn(cursor_.col()) && t.size() == 1 && !(key->modifiers() & Qt::ControlModifier) &&
        (t[0].isDigit() || t[0] == '.') && t[0].unicode() < 128) {
      EnterGridEdit();
      if (text1_->isVisible()) text1_->setText(t);
      return true;
    }
    return false;
  }

  QWidget *editor = openEditor();
  const bool isEditorObject =
      editor && (watched == editor || (editor == combo1_ && watched == combo1_->lineEdit()));
  if (!isEditorObject) return QWidget::eventFilter(watched, event);

  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    const bool isText = editor == text1_;
    if (isEnter(key) || key->key() == Qt::Key_Tab) {
      if (isText)
        RunHandler(QString(kShortWindowName), "Text1_KeyPress", [&] { editorEnter(); });
      else
        run((editor->objectName().left(6) + "_KeyPress").toUtf8().constData(), [&] { editorEnter(); });
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      cancelEdit();
      return true;
    }
    if (key->key() == Qt::Key_F1) {
      showHelpFor(cursor_.editCell().col);
      return true;
    }
    if (isText) return frequencyKey(key);
    if (auto *box = qobject_cast<QComboBox *>(editor); box && watched == box)
      return StepListWithoutChoosing(box, key);
    return false;
  }
  if (event->type() == QEvent::Wheel) return true;  // the wheel scrolls, it does not choose
  if (event->type() == QEvent::FocusOut) {
    auto *focus = static_cast<QFocusEvent *>(event);
    QWidget *now = QApplication::focusWidget();
    const bool stillInside = now && (now == editor || editor->isAncestorOf(now));
    if (focus->reason() != Qt::PopupFocusReason && !stillInside && !QApplication::activePopupWidget())
      run(editor == text1_ ? "Text1_Validate"
                           : (editor->objectName().left(6) + "_Validate").toUtf8().constData(),
          [&] { SaveShowGridData(true); });
  }
  return QWidget::eventFilter(watched, event);
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
  return RunHandler(QString(kWindowName), QString(handler), body);
}

}  // namespace n27
