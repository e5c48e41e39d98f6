// The print list window: refusing an empty choice, a cancelled printer dialog, and a real PDF.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include "base/ui/prompter.h"
#include "channels/channel_ops.h"
#include "print/ui/FrmPrintList.h"

namespace n27 {
namespace {

class RecordingPrompter : public Prompter {
 public:
  std::vector<QString> messages;
  std::optional<QString> pdfName;
  void message(QWidget *, const QString &text, BoxIcon) override { messages.push_back(text); }
  QString proposed;
  std::optional<QString> saveFileName(QWidget *, const QString &, const QString &start) override {
    proposed = start;
    return pdfName;
  }
};

class PrintListTest : public ::testing::Test {
 protected:
  Workspace ws;
  ChannelContext channels{ws};
  RecordingPrompter prompter;
  QTemporaryDir dir;
  int chooserCalls = 0;

  void SetUp() override {
    SetPrompter(&prompter);
    for (int n = 1; n <= 10; ++n) ASSERT_EQ(AddChannel(channels, 1, n, "446.00000"), EditStatus::Ok);
  }
  void TearDown() override { SetPrompter(nullptr); }

  void click(FrmPrintList &list, const char *name) {
    auto *b = list.findChild<QPushButton *>(name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
  }
  // A printer dialog that picks a PDF file (or is cancelled).
  void answerPrinter(FrmPrintList &list, const QString &file, bool accept) {
    list.setPrinterChooser([this, file, accept](QPrinter &printer, QWidget *) {
      ++chooserCalls;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return accept;
    });
  }
  static QByteArray contents(const QString &file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

TEST_F(PrintListTest, NothingTickedIsRefusedAndACancelledPrinterDialogKeepsTheListOpen) {
  FrmPrintList list(channels);
  const QString file = dir.filePath("out.pdf");
  answerPrinter(list, file, false);
  list.show();
  click(list, "cmdSet");
  EXPECT_EQ(prompter.messages, std::vector<QString>{"Please select printing items."});
  EXPECT_EQ(chooserCalls, 0);
  click(list, "cmdPdf");
  EXPECT_EQ(prompter.messages.size(), 2u);

  list.findChild<QCheckBox *>("Check1_6")->setChecked(true);  // DTMF
  EXPECT_FALSE(list.printTicked());
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_TRUE(list.isVisible());
  EXPECT_FALSE(QFile::exists(file));

  // A printer that cannot be used is reported and the list stays open.
  answerPrinter(list, dir.filePath("no/such/folder/out.pdf"), true);
  EXPECT_FALSE(list.printTicked());
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages.back(), "The printer could not be used. Nothing was printed.");
  EXPECT_NE(list.result(), QDialog::Accepted);
  EXPECT_TRUE(list.isVisible());

  click(list, "cmdClearAll");
  for (bool on : list.selection()) EXPECT_FALSE(on);
}

TEST_F(PrintListTest, AllItemsPrintToAPdfAndCloseTheList) {
  FrmPrintList list(channels);
  const QString file = dir.filePath("all.pdf");
  answerPrinter(list, file, true);
  list.show();
  click(list, "cmdSelectAll");
  for (bool on : list.selection()) EXPECT_TRUE(on);
  click(list, "cmdSet");
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(list.result(), QDialog::Accepted);
  const QByteArray pdf = contents(file);
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  // Two channel pages (10 channels) and one page for each of the six other parts.
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 8);

  // The PDF button writes the file the user names.
  FrmPrintList again(channels);
  prompter.pdfName = dir.filePath("saved.pdf");
  again.findChild<QCheckBox *>("Check1_1")->setChecked(true);
  EXPECT_TRUE(again.saveTickedAsPdf());
  EXPECT_TRUE(contents(*prompter.pdfName).startsWith("%PDF"));
}

TEST_F(PrintListTest, SaveAsPdfProposesTheDataFileNameAndSaysWhereItSaved) {
  // A configuration from a file: its folder and name, with ".pdf".
  ws.fileName = dir.filePath("site-a.dat").toStdString();
  ws.untitled = false;
  FrmPrintList list(channels);
  list.findChild<QCheckBox *>("Check1_0")->setChecked(true);
  EXPECT_FALSE(list.saveTickedAsPdf());  // the file dialog cancelled: nothing written, nothing said
  EXPECT_EQ(prompter.proposed, dir.filePath("site-a.pdf"));
  EXPECT_TRUE(prompter.messages.empty());

  prompter.pdfName = dir.filePath("report one.pdf");
  EXPECT_TRUE(list.saveTickedAsPdf());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].startsWith("The report was saved as")) << prompter.messages[0].toStdString();
  EXPECT_TRUE(prompter.messages[0].contains(dir.filePath("report one.pdf")));

  // Untitled: "new.pdf" in the user's documents folder.
  const QByteArray home = qgetenv("HOME");
  const QByteArray config = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", dir.path().toUtf8());
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toUtf8());
  QDir(dir.path()).mkpath("Documents");
  ws.fileName = "new.dat";
  ws.untitled = true;
  FrmPrintList untitled(channels);
  const QString proposed = untitled.proposedPdfName();
  qputenv("HOME", home);
  if (config.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
  else qputenv("XDG_CONFIG_HOME", config);
  EXPECT_EQ(proposed, dir.filePath("Documents/new.pdf"));
}

}  // namespace
}  // namespace n27
