#include "print/ui/FrmPrintList.h"
#include "base/qt/qt_text.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "base/ui/tab_order.h"
#include "base/ui/editor_window.h"
#include "channels/ui/main_window_host.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"
#include "print/licence_report.h"
#include "print/ui/report_painter.h"

namespace n27 {

namespace {


constexpr Tr kSavePdf{"Save as &PDF...", "保存为PDF(&P)..."};
constexpr Tr kPrintListClose{"Cl&ose", "关闭(&O)"};  // Alt+C is Clear All
constexpr Tr kPrinterError{"The printer could not be used. Nothing was printed.", "打印机无法使用，未打印。"};
constexpr Tr kPdfError{"The PDF file could not be written.", "无法写入PDF文件。"};
constexpr Tr kPdfSaved{"The report was saved as\n%1", "报告已保存为\n%1"};

bool systemPrinterDialog(QPrinter &printer, QWidget *parent) {
  QPrintDialog dialog(&printer, parent);
  return ExecDialog(dialog) == QDialog::Accepted;
}

}  // namespace

FrmPrintList::FrmPrintList(ChannelContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx), chooser_(systemPrinterDialog) {
  setObjectName("FrmPrintList");
  setWindowTitle(qs(print::kPrintListTitle));

  auto *items = new QGroupBox(this);
  auto *grid = new QGridLayout(items);
  int place = 0;
  for (const print::PrintItemInfo &it : print::kPrintItems) {
    auto *box = new QCheckBox(qs(it.caption), items);
    box->setObjectName(QStringLiteral("Check1_%1").arg(it.box));
    check1_[it.box] = box;
    grid->addWidget(box, place % 4, place / 4);
    ++place;
  }
  licenceCheck_ = new QCheckBox(qs(print::kLicenceCheckItem), items);
  licenceCheck_->setObjectName("CheckLicence");
  grid->addWidget(licenceCheck_, place % 4, place / 4);

  auto button = [this](const char *name, const Tr &text) {
    auto *b = new QPushButton(qs(text), this);
    b->setObjectName(name);
    return b;
  };
  QPushButton *selectAll = button("cmdSelectAll", print::kSelectAll);
  QPushButton *clearAll = button("cmdClearAll", print::kClearAll);
  QPushButton *set = button("cmdSet", print::kSet);
  QPushButton *pdf = button("cmdPdf", kSavePdf);
  QPushButton *close = button("cmdClose", kPrintListClose);
  set->setDefault(true);
  // Select All ticks the seven parts of the configuration; the licence sheet is asked for alone.
  connect(selectAll, &QPushButton::clicked, this, [this] {
    for (auto *b : check1_) b->setChecked(true);
  });
  connect(clearAll, &QPushButton::clicked, this, [this] {
    for (auto *b : check1_) b->setChecked(false);
    licenceCheck_->setChecked(false);
  });
  connect(set, &QPushButton::clicked, this, [this] { printTicked(); });
  connect(pdf, &QPushButton::clicked, this, [this] { saveTickedAsPdf(); });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(selectAll);
  buttons->addWidget(clearAll);
  buttons->addStretch();
  buttons->addWidget(set);
  buttons->addWidget(pdf);
  buttons->addWidget(close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(items);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ApplyVisualTabOrder(this);
}

print::PrintSelection FrmPrintList::selection() const {
  print::PrintSelection s{};
  for (const print::PrintItemInfo &it : print::kPrintItems)
    s[static_cast<int>(it.item)] = check1_[it.box]->isChecked();
  return s;
}

bool FrmPrintList::licenceCheckTicked() const { return licenceCheck_->isChecked(); }

bool FrmPrintList::anyTicked() {
  for (bool on : selection())
    if (on) return true;
  if (licenceCheckTicked()) return true;
  ShowMessage(this, qs(print::kSelectItems), BoxIcon::Warning);
  return false;
}

bool FrmPrintList::printOn(QPrinter &printer) {
  print::Report report = print::BuildReport(ctx_, selection());
  if (licenceCheckTicked())
    for (auto &page : print::LicenceCheckPages(ctx_, plan::WorkspaceLicence(ctx_.ws), plan::Today()))
      report.pages.push_back(std::move(page));
  return print::PaintReport(report, printer);
}

bool FrmPrintList::printTicked() {
  if (!anyTicked()) return false;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(qs(print::kReportTitle));
  if (!chooser_ || !chooser_(printer, this)) return false;  // cancelled: the list stays open
  if (!printOn(printer)) {
    ShowMessage(this, qs(kPrinterError), BoxIcon::Critical);
    return false;
  }
  accept();
  return true;
}

bool FrmPrintList::saveTickedAsPdf() {
  if (!anyTicked()) return false;
  const auto file = CurrentPrompter().saveFileName(this, QStringLiteral("PDF (*.pdf)"), proposedPdfName());
  if (!file) return false;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(qs(print::kReportTitle));
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(*file);
  if (!printOn(printer)) {
    ShowMessage(this, qs(kPdfError), BoxIcon::Critical);
    return false;
  }
  ShowMessage(this, qs(kPdfSaved).arg(QDir::toNativeSeparators(QFileInfo(*file).absoluteFilePath())),
              BoxIcon::Information);
  accept();
  return true;
}

QString FrmPrintList::proposedPdfName() const {
  // Beside the data file, under its name; an untitled configuration in the documents folder.
  if (!ctx_.ws.untitled && !ctx_.ws.fileName.empty()) {
    const QFileInfo data(QString::fromStdString(ctx_.ws.fileName));
    return data.absoluteDir().filePath(data.completeBaseName() + ".pdf");
  }
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty() || !QFileInfo(documents).isDir()) documents = QDir::homePath();
  return QDir(documents).filePath(QStringLiteral("new.pdf"));
}

void RegisterPrintWindow(EditorRegistry &registry) {
  registry.add({window::kPrintList,
                [](MainWindowHost &main) {
                  main.storePendingInput();  // what an open editor still holds is printed too
                  return new FrmPrintList(main.channels());
                },
                WindowPlacement::Modal});
}

}  // namespace n27
