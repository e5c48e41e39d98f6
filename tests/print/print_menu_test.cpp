// File > Print in the main window opens the print list over the configuration being edited.

#include <QCheckBox>
#include <QFile>
#include <QPrinter>

#include "tests/ui/ui_test_support.h"
#include "print/ui/FrmPrintList.h"

namespace n27 {
namespace {

class PrintMenuTest : public test::MainWindowTest {};

TEST_F(PrintMenuTest, FilePrintOpensThePrintListAndPrintsTheWorkingConfiguration) {
  makeMain();
  const QString file = QString::fromStdString(path("menu.pdf"));
  bool printed = false;
  prompter.onDialog = [&](QDialog &dialog) {
    auto *list = qobject_cast<FrmPrintList *>(&dialog);
    if (!list) return int(QDialog::Rejected);
    list->setPrinterChooser([&](QPrinter &printer, QWidget *) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return true;
    });
    list->findChild<QCheckBox *>("Check1_0")->setChecked(true);
    printed = list->printTicked();
    return list->result();
  };
  trigger("mnuFilePrint");
  EXPECT_EQ(prompter.dialogs, std::vector<QString>{"FrmPrintList"});
  EXPECT_TRUE(printed);
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
}

}  // namespace
}  // namespace n27
