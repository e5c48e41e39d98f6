// File > Import Channels..., Export Channels... and Compare With... in the main window.
// With N27_SHOT_DIR set (and a real display), the summary and the Compare window are saved as
// pictures there for a look by eye.

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QTest>
#include <QTreeWidget>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "channels/ui/FrmChannelList.h"
#include "print/ui/FrmCompare.h"
#include "tests/ui/ui_test_support.h"

namespace n27 {
namespace {

void shot(QWidget &w, const char *name) {
  const char *dir = std::getenv("N27_SHOT_DIR");
  if (!dir) return;
  w.show();
  w.raise();
  QTest::qWait(400);
  w.grab().save(QString(dir) + "/" + name);
}

class CsvWindows : public test::MainWindowTest {};

TEST_F(CsvWindows, ImportShowsWhatWasImportedReplacedAndSkipped) {
  makeMain();
  ChangeChannel(main->channels(), 1, 1, kFieldRx, "450");
  WriteFileAtomically(path("plan.csv"),
                      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                      "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\n"
                      "0,Rpt,446.006250,+,5,TSQL,88.5,88.5,023,NN,023,,NFM,,,5W\n"
                      "1,Simplex,446.018750,,0,DTCS,88.5,88.5,754,NR,023,,FM,,S,1W\n"
                      "2,Too high,520.000000,,0,,,,,,,,FM,,,5W\n"
                      "3,Odd tone,446.1,,0,Tone,88.45,,,,,,FM,,,5W\n"
                      "200,Far,446.2,,0,,,,,,,,FM,,,5W\n");
  prompter.openNames = {QString::fromStdString(path("plan.csv"))};
  QString head, skipped;
  prompter.onDialog = [&](QDialog &dialog) {
    if (auto *options = qobject_cast<FrmImportChannels *>(&dialog)) {
      EXPECT_TRUE(options->findChild<QRadioButton *>("OptionAtLocation")->isChecked());
      EXPECT_FALSE(options->findChild<QCheckBox *>("CheckReplaceAll")->isChecked());
      shot(dialog, "import-options.png");
      return int(QDialog::Accepted);
    }
    head = dialog.findChild<QLabel *>("LabelSummary")->text();
    skipped = dialog.findChild<QPlainTextEdit *>("TextSkipped")->toPlainText();
    shot(dialog, "import-summary.png");
    return int(QDialog::Accepted);
  };
  trigger("mnuFileImportChannels");
  EXPECT_EQ(prompter.dialogs, (std::vector<QString>{"FrmImportChannels", "FrmImportSummary"}));
  EXPECT_TRUE(head.contains("Channels imported: 2 (new: 1, replaced: 1).")) << head.toStdString();
  EXPECT_TRUE(head.contains("Location 0")) << head.toStdString();
  EXPECT_TRUE(head.contains("Rows skipped: 3")) << head.toStdString();
  EXPECT_EQ(skipped.toStdString(),
            "line 4: RX frequency 520.000000 MHz is outside 400–490 MHz\n"
            "line 5: rToneFreq \"88.45\" is no CTCSS tone the radio has (50.0–260.0 Hz in steps of 0.1 Hz)\n"
            "line 6: channel 201 is outside 1–128");
  ASSERT_EQ(ws.working.channelCount, 2);
  EXPECT_EQ(ws.working.slot(ws.working.findChannel(1))->rx.text(), "44600625");
  EXPECT_TRUE(IsModified(ws.working, ws.saved));

  // A file that is no channel list: one message, nothing changes.
  WriteFileAtomically(path("notes.csv"), "hello\n");
  prompter.openNames = {QString::fromStdString(path("notes.csv"))};
  prompter.dialogs.clear();
  trigger("mnuFileImportChannels");
  EXPECT_TRUE(prompter.dialogs.empty());  // not asked how to place rows of no list
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].contains("no Frequency column"));
  EXPECT_EQ(ws.working.channelCount, 2);
}

TEST_F(CsvWindows, ExportNeverWritesOverADataFile) {
  makeMain();
  ChangeChannel(main->channels(), 1, 5, kFieldRx, "446.00625");
  ASSERT_EQ(SaveDataFile(ws, path("radio.dat")), FileStatus::Ok);
  const std::string dataBefore = *ReadWholeFile(path("radio.dat"));
  // The save dialog turned a bare name into "radio.dat": the list goes to radio.csv.
  prompter.saveNames = {QString::fromStdString(path("radio.dat"))};
  trigger("mnuFileExportChannels");
  EXPECT_EQ(*ReadWholeFile(path("radio.dat")), dataBefore);
  auto text = ReadWholeFile(path("radio.csv"));
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("5,CH005,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,2.5W"),
            std::string::npos);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].startsWith("Channels exported: 1 (to ")) << prompter.messages[0].toStdString();

  // radio.csv exists now: asked first, Cancel keeps it.
  WriteFileAtomically(path("radio.csv"), "kept");
  prompter.saveNames = {QString::fromStdString(path("radio.dat"))};
  prompter.answers = {Answer::Cancel};
  trigger("mnuFileExportChannels");
  EXPECT_EQ(*ReadWholeFile(path("radio.csv")), "kept");
}

TEST_F(CsvWindows, CompareWithAFileListsTheDifferences) {
  makeMain();
  {
    Workspace other;
    other.programFolder = ws.programFolder;
    NewConfiguration(other);
    ChannelContext ctx(other);
    ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
    ChangeChannel(ctx, 1, 2, kFieldRx, "446.01875");
    ChangeChannel(ctx, 1, 2, kFieldDecode, "D023N");
    ASSERT_EQ(SaveDataFile(other, path("other.dat")), FileStatus::Ok);
  }
  ChangeChannel(main->channels(), 1, 1, kFieldRx, "446.00625");
  ChangeChannel(main->channels(), 1, 1, kFieldPower, "High");
  ChangeChannel(main->channels(), 1, 3, kFieldRx, "446.03125");
  trigger("mnuFileCompare");  // no file chosen: the empty window names its columns already
  auto *window = main->findChild<FrmCompare *>("FrmCompare");
  ASSERT_NE(window, nullptr);
  QTreeWidget *list = window->list();
  EXPECT_EQ(list->headerItem()->text(0), "Where");
  EXPECT_EQ(list->headerItem()->text(2), "Open configuration");
  EXPECT_EQ(list->headerItem()->text(3), "Compared with");
  prompter.openNames = {QString::fromStdString(path("other.dat"))};
  trigger("mnuFileCompare");
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->headerItem()->text(3), "other.dat");
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Channel 1");
  EXPECT_EQ(list->topLevelItem(0)->text(1), "TX Power");
  EXPECT_EQ(list->topLevelItem(0)->text(2), "High");
  EXPECT_EQ(list->topLevelItem(0)->text(3), "Middle");
  EXPECT_EQ(list->topLevelItem(1)->text(0), "Channel 2");
  EXPECT_EQ(list->topLevelItem(1)->text(2), "(no channel)");
  EXPECT_EQ(window->findChild<QLabel *>("LabelStatus")->text(), "Differences: 3.");
  window->resize(900, 420);
  shot(*window, "compare.png");

  // After an edit, Compare Again follows it.
  ChangeChannel(main->channels(), 1, 1, kFieldPower, "Middle");
  window->findChild<QPushButton *>("CommandRefresh")->click();
  EXPECT_EQ(list->topLevelItemCount(), 2);
  window->close();
}

TEST_F(CsvWindows, CompareWithTheRadioLeavesTheOpenConfigurationAlone) {
  if (!QFile::exists(QString(N27_PROGRAM_DIR) + "/n27-sim")) GTEST_SKIP() << "n27-sim is not built";
  options.versions.addPair("V200V101");
  {
    Workspace radio;
    radio.programFolder = dir.string();
    NewConfiguration(radio);
    ChannelContext ctx(radio);
    ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
    ChangeChannel(ctx, 1, 1, kFieldDecode, "67.0");
    ChangeChannel(ctx, 1, 2, kFieldRx, "446.01875");
    ASSERT_EQ(SaveDataFile(radio, path("radio.dat")), FileStatus::Ok);
  }
  QProcess sim;
  sim.start(QString(N27_PROGRAM_DIR) + "/n27-sim", {"--baud", "0", "--data", QString::fromStdString(path("radio.dat"))});
  ASSERT_TRUE(sim.waitForStarted(5000));
  std::string device;
  for (int i = 0; i < 50 && device.empty(); ++i) {
    sim.waitForReadyRead(100);
    if (sim.canReadLine()) device = sim.readLine().trimmed().toStdString();
  }
  ASSERT_FALSE(device.empty());
  options.extraPort = {250, device, "", true};
  options.comPort = 250;
  makeMain();
  ChangeChannel(main->channels(), 1, 1, kFieldRx, "446.00625");
  ChangeChannel(main->channels(), 1, 1, kFieldOptSignal, "DTMF");  // the radio keeps no such value
  const CodeplugData before = ws.working;
  prompter.onDialog = [](QDialog &d) { return d.exec(); };  // the progress window runs for real
  FrmCompare *window = new FrmCompare(*main);
  window->show();
  window->compareWithRadio();
  sim.terminate();
  sim.waitForFinished(3000);
  EXPECT_TRUE(ws.working == before);
  QTreeWidget *list = window->list();
  ASSERT_EQ(list->topLevelItemCount(), 4) << window->findChild<QLabel *>("LabelStatus")->text().toStdString();
  EXPECT_EQ(list->headerItem()->text(3), "Radio (COM250)");
  EXPECT_EQ(list->topLevelItem(0)->text(1), "CTCSS/DCS Decode");
  EXPECT_EQ(list->topLevelItem(3)->text(0), "Channel 2");
  EXPECT_TRUE(window->findChild<QLabel *>("LabelStatus")->text().contains("Only what the radio's memory holds"));
  window->resize(900, 360);
  shot(*window, "compare-radio.png");
  window->close();
}

}  // namespace
}  // namespace n27
