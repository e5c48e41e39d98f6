#include "link/ui/FrmTestData.h"
#include "base/qt/qt_text.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QCoreApplication>
#include <QVBoxLayout>

#include "channels/ui/main_window_host.h"
#include "base/ui/dialog_support.h"
#include "base/ui/editor_window.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"

namespace n27 {

namespace {


constexpr int kRows = 7;  // two columns of seven boxes: 0..6 and 7..13

}  // namespace

FrmTestData::FrmTestData(Workspace &ws, QWidget *parent)
    : QDialog(parent), ws_(ws), form_(ws.tuning, ws.tuningOrigin) {
  setObjectName("FrmTestData");
  setWindowTitle(qs(Text(link::testDataText::kCaption)));

  origin_ = new QLabel;
  origin_->setObjectName("lblOrigin");
  origin_->setWordWrap(true);

  auto *grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  for (int i = 0; i < link::kTestDataFields; ++i) {
    auto *label = new QLabel(QString::number(i));
    label->setObjectName(QString("Label1_%1").arg(i));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *box = new QLineEdit;
    box->setObjectName(QString("Text1_%1").arg(i));
    box->setMaxLength(link::TestDataMaxLength(i));
    box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000") + 24);
    // Only typed hexadecimal digits reach the boxes: no clipboard, no menu, no drops.
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setAcceptDrops(false);
    box->installEventFilter(this);
    label->setBuddy(box);
    const int row = i % kRows, col = (i / kRows) * 2;
    grid->addWidget(label, row, col);
    grid->addWidget(box, row, col + 1);
    connect(box, &QLineEdit::textChanged, this, [this, i](const QString &text) { fieldChanged(i, text); });
    text1_[static_cast<std::size_t>(i)] = box;
  }
  grid->setColumnMinimumWidth(2, 40);

  load_ = new QPushButton(qs(Text(link::testDataText::kLoad)));
  load_->setObjectName("Command1_0");
  load_->setAutoDefault(false);
  save_ = new QPushButton(qs(Text(link::testDataText::kSave)));
  save_->setObjectName("Command1_1");
  save_->setAutoDefault(false);
  connect(load_, &QPushButton::clicked, this, [this] { RunHandler(this, "Command1_Click", [this] { loadFile(); }); });
  connect(save_, &QPushButton::clicked, this, [this] { RunHandler(this, "Command1_Click", [this] { saveFile(); }); });
  auto *fileRow = new QHBoxLayout;
  fileRow->addWidget(load_);
  fileRow->addWidget(save_);
  fileRow->addStretch();

  auto *body = new QVBoxLayout;
  body->addLayout(grid);
  body->addSpacing(6);
  body->addWidget(origin_);
  body->addSpacing(6);
  body->addLayout(fileRow);
  LayOutDialog(this, body, ButtonNames::OkCancel, [this] {
    form_.accept(ws_);
    accept();
  });
  // The origin line wraps within the width the boxes give the window.
  origin_->setMaximumWidth(grid->sizeHint().width() + 120);

  for (int i = 0; i + 1 < link::kTestDataFields; ++i) setTabOrder(field(i), field(i + 1));
  setTabOrder(field(link::kTestDataFields - 1), load_);
  setTabOrder(load_, save_);
  showFields();
  showOrigin();
  field(0)->setFocus();
  field(0)->selectAll();
}

void FrmTestData::showFields() {
  updating_ = true;
  for (int i = 0; i < link::kTestDataFields; ++i) field(i)->setText(qs(form_.text(i)));
  updating_ = false;
}

void FrmTestData::showOrigin() { origin_->setText(qs(link::TuningOriginText(form_.origin()))); }

void FrmTestData::fieldChanged(int i, const QString &text) {
  if (updating_) return;
  const QString shown = qs(form_.change(i, text.toStdString()));
  if (shown != text) {
    updating_ = true;
    field(i)->setText(shown);
    field(i)->setCursorPosition(static_cast<int>(shown.size()));
    updating_ = false;
  }
  showOrigin();
}

bool FrmTestData::eventFilter(QObject *watched, QEvent *event) {
  auto *box = qobject_cast<QLineEdit *>(watched);
  if (!box || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto *key = static_cast<QKeyEvent *>(event);
  if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
      key->matches(QKeySequence::Cut))
    return true;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    // Enter moves on to the next box, as Tab does.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &tab);
    return true;
  }
  const QString text = key->text();
  if (text.size() == 1 && text[0].isPrint()) {
    const char c = text[0].unicode() < 0x80 ? link::TestDataTypedChar(static_cast<char>(text[0].unicode())) : 0;
    if (!c) return true;  // not a hexadecimal digit
    if (QChar(c) != text[0]) {
      box->insert(QString(QChar(c)));  // a-f as A-F
      return true;
    }
  }
  return false;  // digits, Backspace, Delete, the arrows and Tab work as usual
}

QString FrmTestData::fileFolder() const {
  if (form_.origin().source == TuningSource::File && !form_.origin().file.empty())
    return QFileInfo(qs(form_.origin().file)).absolutePath();
  if (ws_.untitled) return QSettings().value("Settings/LastFolder", QDir::homePath()).toString();
  return QFileInfo(qs(ws_.fileName)).absolutePath();
}

void FrmTestData::loadFile() {
  auto name = CurrentPrompter().openFileName(this, qs(link::TestDataFileFilter()), fileFolder());
  if (!name) return;
  std::string problem;
  if (!form_.load(name->toStdString(), problem)) {
    ShowMessage(this, qs(problem), BoxIcon::Critical);
    return;
  }
  showFields();
  showOrigin();
}

void FrmTestData::saveFile() {
  // Proposed: the companion of the current data file (radio.dat → radio.ted).
  std::string proposed = TuningFilePath(ws_.fileName);
  if (proposed.empty()) proposed = "new.ted";
  const QString start = QDir(fileFolder()).filePath(QFileInfo(qs(proposed)).fileName());
  auto name = CurrentPrompter().saveFileName(this, qs(link::TestDataFileFilter()), start);
  if (!name) return;
  std::string problem;
  if (!form_.save(name->toStdString(), problem)) ShowMessage(this, qs(problem), BoxIcon::Critical);
}

void RegisterTestDataWindow(EditorRegistry &registry) {
  registry.add({window::kTestData, [](MainWindowHost &main) { return new FrmTestData(main.workspace()); },
                WindowPlacement::Modal});
}

}  // namespace n27
