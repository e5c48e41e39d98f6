#include "history/ui/FrmHistory.h"
#include "base/qt/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <chrono>
#include <filesystem>

#include "base/file_io.h"
#include "base/paths.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "history/history_format.h"
#include "history/kept_configuration.h"
#include "history/qt/history_database.h"
#include "history/ui/FrmKeptConfiguration.h"
#include "history/ui/history_texts.h"
#include "link/ui/radio_commands.h"
#include "print/ui/FrmCompare.h"

namespace n27 {

namespace {


QPointer<FrmHistory> g_historyWindow;

}  // namespace

FrmHistory::FrmHistory(RadioHost &main, std::unique_ptr<history::Store> store, QWidget *parent)
    : QDialog(parent ? parent : main.hostWidget()), main_(main), store_(std::move(store)) {
  setObjectName("FrmHistory");
  setWindowFlag(Qt::Window);
  setWindowTitle(qs(historytext::kTitle));
  serial_ = new QLineEdit;
  serial_->setObjectName("TextSerial");
  customer_ = new QLineEdit;
  customer_->setObjectName("TextCustomer");
  fromOn_ = new QCheckBox(qs(historytext::kFrom));
  toOn_ = new QCheckBox(qs(historytext::kTo));
  from_ = new QDateEdit(QDate::currentDate().addMonths(-1));
  to_ = new QDateEdit(QDate::currentDate());
  for (QDateEdit *d : {from_, to_}) {
    d->setCalendarPopup(true);
    d->setDisplayFormat("yyyy-MM-dd");
    d->setEnabled(false);
  }
  from_->setObjectName("DateFrom");
  to_->setObjectName("DateTo");
  // A date box has no label of its own: it is named after the tick box that switches it on.
  from_->setAccessibleName(fromOn_->text().remove('&'));
  to_->setAccessibleName(toOn_->text().remove('&'));
  result_ = new QComboBox;
  result_->setObjectName("ComboResult");
  result_->addItems({qs(historytext::kAll), qs(historytext::kOk), qs(historytext::kFailed)});

  auto *serialLabel = new QLabel(qs(historytext::kSerial));
  serialLabel->setBuddy(serial_);
  auto *customerLabel = new QLabel(qs(historytext::kCustomer));
  customerLabel->setBuddy(customer_);
  auto *resultLabel = new QLabel(qs(historytext::kResult));
  resultLabel->setBuddy(result_);
  auto *filters = new QGridLayout;
  filters->addWidget(serialLabel, 0, 0);
  filters->addWidget(serial_, 0, 1);
  filters->addWidget(customerLabel, 0, 2);
  filters->addWidget(customer_, 0, 3);
  filters->addWidget(resultLabel, 0, 4);
  filters->addWidget(result_, 0, 5);
  filters->addWidget(fromOn_, 1, 0);
  filters->addWidget(from_, 1, 1);
  filters->addWidget(toOn_, 1, 2);
  filters->addWidget(to_, 1, 3);
  filters->setColumnStretch(1, 1);
  filters->setColumnStretch(3, 1);

  table_ = new QTableWidget;
  table_->setObjectName("TableHistory");
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->setAlternatingRowColors(true);
  table_->horizontalHeader()->setStretchLastSection(true);
  status_ = new QLabel;
  status_->setObjectName("LabelStatus");
  auto *where = new QLabel(qs(Fill(historytext::kWhere, {store_->where()})));
  where->setObjectName("LabelWhere");
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);

  const auto button = [this](const Tr &text, const char *name, void (FrmHistory::*command)()) {
    auto *b = new QPushButton(qs(text));
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this,
            [this, name, command] { RunHandler(this, QString(name) + "_Click", [this, command] { (this->*command)(); }); });
    return b;
  };
  open_ = button(historytext::kOpen, "CommandOpen", &FrmHistory::openSelected);
  openNew_ = button(historytext::kOpenAsNew, "CommandOpenNew", &FrmHistory::openSelectedAsNew);
  compareEntries_ = button(historytext::kCompareEntries, "CommandCompareEntries", &FrmHistory::compareSelectedEntries);
  compareOpen_ = button(historytext::kCompareOpen, "CommandCompareOpen", &FrmHistory::compareWithOpenConfiguration);
  compareRadio_ = button(historytext::kCompareRadio, "CommandCompareRadio", &FrmHistory::compareWithRadio);
  putBack_ = button(historytext::kPutBack, "CommandPutBack", &FrmHistory::putRadioBack);
  auto *help = new QPushButton(qs(historytext::kHelp));
  connect(help, &QPushButton::clicked, this, [this] { main_.showHelp(historytext::kHelpContext); });
  auto *close = new QPushButton(qs(historytext::kClose));
  close->setObjectName("CommandClose");
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto *commands = new QGridLayout;
  commands->addWidget(open_, 0, 0);
  commands->addWidget(openNew_, 0, 1);
  commands->addWidget(putBack_, 0, 2);
  commands->addWidget(compareEntries_, 1, 0);
  commands->addWidget(compareOpen_, 1, 1);
  commands->addWidget(compareRadio_, 1, 2);
  commands->setColumnStretch(3, 1);
  commands->addWidget(help, 0, 4);
  commands->addWidget(close, 1, 4);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(table_, 1);
  layout->addWidget(status_);
  layout->addWidget(where);
  layout->addLayout(commands);
  resize(1000, 620);

  const auto again = [this] { RunHandler(this, "Filter_Change", [this] { refresh(); }); };
  connect(serial_, &QLineEdit::textChanged, this, again);
  connect(customer_, &QLineEdit::textChanged, this, again);
  connect(result_, &QComboBox::currentIndexChanged, this, again);
  connect(from_, &QDateEdit::dateChanged, this, again);
  connect(to_, &QDateEdit::dateChanged, this, again);
  for (auto [on, date] : {std::pair{fromOn_, from_}, std::pair{toOn_, to_}})
    connect(on, &QCheckBox::toggled, this, [this, again, date = date](bool checked) {
      date->setEnabled(checked);
      again();
    });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });
  connect(table_, &QTableWidget::itemDoubleClicked, this,
          [this] { RunHandler(this, "TableHistory_DblClick", [this] { openSelected(); }); });
  refresh();
}

FrmHistory::~FrmHistory() = default;

void FrmHistory::setRestore(std::function<void(const std::string &)> restore) {
  restore_ = std::move(restore);
  updateButtons();
}

history::Filter FrmHistory::filter() const {
  history::Filter f;
  f.serial = serial_->text().trimmed().toStdString();
  f.serialPrefix = true;  // narrows as the number is typed
  f.customer = customer_->text().trimmed().toStdString();
  if (fromOn_->isChecked()) f.since = QDateTime(from_->date(), QTime(0, 0)).toSecsSinceEpoch();
  if (toOn_->isChecked()) f.before = QDateTime(to_->date().addDays(1), QTime(0, 0)).toSecsSinceEpoch();
  if (result_->currentIndex() > 0) f.ok = result_->currentIndex() == 1;
  return f;
}

void FrmHistory::refresh() {
  std::string why;
  const history::Filter f = filter();
  entries_ = store_->query(f, kShownMax, why);
  table_->setUpdatesEnabled(false);
  table_->clearContents();
  const std::vector<std::string> headers = history::RowHeaders();
  table_->setColumnCount(static_cast<int>(headers.size()));
  QStringList labels;
  for (const std::string &h : headers) labels << qs(h);
  table_->setHorizontalHeaderLabels(labels);
  table_->setRowCount(static_cast<int>(entries_.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    const history::Entry &e = entries_[static_cast<std::size_t>(row)];
    const std::vector<std::string> texts = history::RowTexts(e);
    for (int c = 0; c < static_cast<int>(texts.size()); ++c) {
      auto *item = new QTableWidgetItem(qs(texts[static_cast<std::size_t>(c)]));
      if (!e.ok) item->setForeground(QColor(0xB0, 0x00, 0x20));
      table_->setItem(row, c, item);
    }
  }
  if (!entries_.empty()) table_->resizeColumnsToContents();
  table_->setUpdatesEnabled(true);
  QString text;
  if (!why.empty()) {
    text = qs(why);
  } else if (static_cast<int>(entries_.size()) < kShownMax) {
    text = qs(Fill(historytext::kCount, {std::to_string(entries_.size())}));
  } else {
    const auto total = store_->count(f, why);
    text = qs(Fill(historytext::kCountLimited, {total ? std::to_string(*total) : "?", std::to_string(kShownMax)}));
  }
  status_->setText(text);
  updateButtons();
}

std::vector<const history::Entry *> FrmHistory::selected() const {
  std::vector<const history::Entry *> rows;
  for (const QModelIndex &index : table_->selectionModel()->selectedRows())
    if (index.row() >= 0 && index.row() < static_cast<int>(entries_.size()))
      rows.push_back(&entries_[static_cast<std::size_t>(index.row())]);
  std::sort(rows.begin(), rows.end());  // table order: newest first
  return rows;
}

void FrmHistory::updateButtons() {
  const auto rows = selected();
  const bool one = rows.size() == 1 && rows[0]->hasImage;
  open_->setEnabled(one);
  openNew_->setEnabled(one);
  compareOpen_->setEnabled(one);
  compareRadio_->setEnabled(one);
  putBack_->setEnabled(one && restore_);
  compareEntries_->setEnabled(rows.size() == 2 && rows[0]->hasImage && rows[1]->hasImage);
}

QString FrmHistory::entryName(const history::Entry &e) const {
  return qs(Fill(historytext::kEntryName, {std::to_string(e.id), history::LocalTimeText(e.time)}));
}

std::unique_ptr<Workspace> FrmHistory::kept(const history::Entry &entry) {
  std::string why;
  const auto image = store_->image(entry.id, why);
  if (!image) {
    ShowMessage(this, qs(Fill(historytext::kNoImage, {why})), BoxIcon::Warning);
    return nullptr;
  }
  auto ws = std::make_unique<Workspace>();
  ws->programFolder = main_.workspace().programFolder;
  history::DecodeKeptImage(*ws, *image);
  return ws;
}

void FrmHistory::openSelected() {
  const auto rows = selected();
  if (rows.size() != 1) return;
  if (auto ws = kept(*rows[0])) (new FrmKeptConfiguration(*rows[0], std::move(ws), this))->show();
}

void FrmHistory::openSelectedAsNew() {
  const auto rows = selected();
  if (rows.size() != 1 || main_.radio().busy()) return;
  auto ws = kept(*rows[0]);
  if (!ws || !main_.offerToSaveChanges()) return;
  main_.CloseCurAllWindows();
  Workspace &open = main_.workspace();
  const std::string folder = open.programFolder;
  history::DecodeKeptImage(open, ws->image);
  open.programFolder = folder;
  main_.showReadConfiguration();
}

void FrmHistory::compareSelectedEntries() {
  const auto rows = selected();
  if (rows.size() != 2) return;
  auto older = kept(*rows[1]), newer = older ? kept(*rows[0]) : nullptr;
  if (!newer) return;
  auto *window = new FrmCompare(main_);
  window->setFirst(std::move(older), entryName(*rows[1]));
  window->compareWith(std::move(newer), entryName(*rows[0]), print::CompareScope::RadioMemory);
  window->show();
}

void FrmHistory::compareWithOpenConfiguration() {
  const auto rows = selected();
  if (rows.size() != 1) return;
  auto ws = kept(*rows[0]);
  if (!ws) return;
  auto *window = new FrmCompare(main_);
  window->compareWith(std::move(ws), entryName(*rows[0]), print::CompareScope::RadioMemory);
  window->show();
}

void FrmHistory::compareWithRadio() {
  const auto rows = selected();
  if (rows.size() != 1) return;
  auto ws = kept(*rows[0]);
  if (!ws) return;
  auto *window = new FrmCompare(main_);
  window->setFirst(std::move(ws), entryName(*rows[0]));
  window->show();
  window->compareWithRadio();
}

void FrmHistory::putRadioBack() {
  const auto rows = selected();
  if (rows.size() != 1 || !restore_) return;
  std::string why;
  const auto image = store_->image(rows[0]->id, why);
  if (!image) {
    ShowMessage(this, qs(Fill(historytext::kNoImage, {why})), BoxIcon::Warning);
    return;
  }
  // The restore reads an image file: the kept image is written out first, beside the backups.
  const std::string path = JoinPath(DataSubdir("history"), "entry-" + std::to_string(rows[0]->id) + ".img");
  const auto &bytes = image->bytes();
  const FileOutcome saved = SaveFile(path, std::string(bytes.begin(), bytes.end()));
  if (!saved.ok()) {
    ShowMessage(this, qs(Fill(historytext::kImageNotWritten, {std::to_string(rows[0]->id), saved.reason()})),
                BoxIcon::Critical);
    return;
  }
  // The restore's question names the image's time: the entry's, not the moment it was written out.
  std::error_code ec;
  std::filesystem::last_write_time(
      path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(rows[0]->time)), ec);
  restore_(path);
  refresh();  // the restore is an entry of its own once it is recorded
}

void FrmHistory::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_F1) {
    main_.showHelp(historytext::kHelpContext);
    return;
  }
  QDialog::keyPressEvent(event);
}

void OpenRadioHistory(RadioHost &main, std::function<void(const std::string &)> restore) {
  if (!g_historyWindow) {
    history::OpenedHistory opened = history::OpenConfiguredHistory();
    if (!opened.notice.empty()) ShowMessage(main.hostWidget(), qs(opened.notice), BoxIcon::Warning);
    if (!opened.store) {
      ShowMessage(main.hostWidget(), qs(Fill(historytext::kNotOpened, {opened.error})), BoxIcon::Critical);
      return;
    }
    g_historyWindow = new FrmHistory(main, std::move(opened.store));
    g_historyWindow->setAttribute(Qt::WA_DeleteOnClose);
  } else {
    g_historyWindow->refresh();
  }
  g_historyWindow->setRestore(std::move(restore));
  g_historyWindow->show();
  g_historyWindow->raise();
  g_historyWindow->activateWindow();
}

}  // namespace n27
