// The desktop program reads and writes a simulated radio (n27-sim on a pseudo-terminal)
// through its menus, with the questions answered by the test; the data that arrived on either
// side is checked.

#include <QAction>
#include <QDir>
#include <QStatusBar>
#include <QLineEdit>
#include <QFile>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QtTest/QTest>
#include <chrono>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "channels/channel_ops.h"
#include "codeplug/image_codec.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/radio_commands.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

using namespace std::chrono_literals;

class GuiTransfer : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!QFile::exists(QString(N27_PROGRAM_DIR) + "/n27-sim"))
      GTEST_SKIP() << "n27-sim is not built";
    MainWindowTest::SetUp();
    options.versions.addPair("V200V101");
    // The radio: three channels, one of them a repeater.
    Workspace radio;
    radio.programFolder = dir.string();
    NewConfiguration(radio);
    ChannelContext ctx(radio);
    ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
    ChangeChannel(ctx, 1, 5, kFieldRx, "430.11250");
    ChangeChannel(ctx, 1, 5, kFieldTx, "439.11250");
    ChangeChannel(ctx, 1, 128, kFieldRx, "489.99375");
    ASSERT_EQ(SaveDataFile(radio, path("radio.dat")), FileStatus::Ok);
    // Every modal window runs for real unless a test fills it in.
    prompter.onDialog = [](QDialog &d) { return d.exec(); };
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    if (sim.state() != QProcess::NotRunning) {
      sim.terminate();
      if (!sim.waitForFinished(3000)) sim.kill();
    }
  }

  // Starts the simulated radio and a main window whose chosen port is the radio's line.
  frmMain &startRadio(QStringList extra = {}) {
    QStringList args = {"--baud", "0", "--data", QString::fromStdString(path("radio.dat")),
                        "--save", QString::fromStdString(path("radio.img"))};
    sim.start(QString(N27_PROGRAM_DIR) + "/n27-sim", args + extra);
    EXPECT_TRUE(sim.waitForStarted(5000));
    std::string device;
    for (int i = 0; i < 50 && device.empty(); ++i) {
      sim.waitForReadyRead(100);
      if (sim.canReadLine()) device = sim.readLine().trimmed().toStdString();
    }
    EXPECT_FALSE(device.empty()) << sim.readAllStandardError().toStdString();
    options.extraPort = {250, device, "", true};
    options.comPort = 250;
    frmMain &m = makeMain();
    m.radio().setReplyTimeout(1000ms);  // a busy test machine still answers in time
    return m;
  }

  // The memory the simulated radio kept after a write, decoded.
  Workspace radioMemory() {
    Workspace w;
    auto bytes = ReadWholeFile(path("radio.img"));
    EXPECT_TRUE(bytes.has_value());
    if (bytes)
      for (std::size_t a = 0; a < bytes->size() && a < RadioImage::kSize; ++a)
        w.image.set(a, static_cast<uint8_t>((*bytes)[a]));
    DecodeImage(w);
    return w;
  }

  QProcess sim;
};

std::string rx(const Workspace &ws, int slot) { return ws.working.channels[slot - 1].rx.text(); }

TEST_F(GuiTransfer, ReadShowsTheRadiosDataAndWriteSendsTheEdits) {
  frmMain &m = startRadio();
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_EQ(prompter.questions[0], "Read data from radio.\nDo you wish continue?");
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back(), "Read Data Completed.");
  EXPECT_EQ(prompter.dialogs, (std::vector<QString>{"FrmProgress"}));

  ASSERT_EQ(ws.working.channelCount, 3);
  EXPECT_EQ(ws.working.channels[0].number, 1);
  EXPECT_EQ(rx(ws, 1), "44600625");
  EXPECT_EQ(ws.working.channels[1].number, 5);
  EXPECT_EQ(ws.working.channels[1].tx.text(), "43911250");
  EXPECT_EQ(ws.working.channels[2].number, 128);
  EXPECT_TRUE(ws.untitled);
  EXPECT_EQ(m.windowTitle(), "N27[N27PR:400 - 490 MHz][File Name:new.dat] Ver:V101");

  // Edit: channel 5 moves, channel 1 goes, channel 64 is new; then write.
  ChangeChannel(m.channels(), 1, 5, kFieldRx, "431.00000");
  ChangeChannel(m.channels(), 1, 1, kFieldRx, "");
  ChangeChannel(m.channels(), 1, 64, kFieldRx, "462.56250");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  EXPECT_EQ(prompter.questions.back(), "Write data to radio.\nDo you wish continue?");
  // Read back and compared with what was sent (on unless turned off).
  EXPECT_EQ(prompter.messages.back(),
            "Write Data Completed.\nVerified: the radio holds the data written to it.");

  Workspace radio = radioMemory();
  ASSERT_EQ(radio.working.channelCount, 3);
  EXPECT_EQ(radio.working.channels[0].number, 5);
  EXPECT_EQ(rx(radio, 1), "43100000");
  EXPECT_EQ(radio.working.channels[1].number, 64);
  EXPECT_EQ(rx(radio, 2), "46256250");
  EXPECT_EQ(radio.working.channels[2].number, 128);
}

TEST_F(GuiTransfer, CancelledQuestionsLeaveTheRadioAndTheDataAlone) {
  startRadio();
  CodeplugData before = ws.working;
  prompter.answers = {Answer::Cancel};
  trigger("ReadRadio");
  EXPECT_TRUE(prompter.dialogs.empty());  // no progress window
  EXPECT_TRUE(ws.working == before);

  // Writing a configuration without channels is refused before anything is asked.
  ws.working.channelCount = 0;
  trigger("WriteRadio");
  EXPECT_EQ(prompter.messages.back(),
            "Only when it at least has data of one channel,  can it be writed.");
  EXPECT_EQ(prompter.questions.size(), 1u);
}

TEST_F(GuiTransfer, APasswordProtectedRadioIsReadAfterThePasswordIsGiven) {
  startRadio({"--password", "Ab12"});
  int asked = 0;
  prompter.onDialog = [&](QDialog &d) {
    if (d.objectName() != "FrmPassWord") return d.exec();
    ++asked;
    auto &dialog = static_cast<FrmPassWord &>(d);
    dialog.entry()->setText(asked == 1 ? "AB12" : "Ab12");  // case counts
    dialog.findChild<QPushButton *>("CommandOK")->click();
    return d.result();
  };
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(prompter.messages.back(), "PassWord Failure!");
  EXPECT_EQ(ws.working.channelCount, 0);

  // The right password: the read starts again after the dialog and completes.
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(prompter.messages.back(), "Read Data Completed.");
  EXPECT_EQ(ws.working.channelCount, 3);
  EXPECT_EQ(ws.password, "Ab12");

  // Kept for the rest of the run: the next read asks nothing.
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(prompter.messages.back(), "Read Data Completed.");
}

TEST_F(GuiTransfer, ARadioThatStopsAnsweringEndsAtTheRetryQuestion) {
  startRadio({"--stop-after", "20"});
  prompter.answers = {Answer::Ok, Answer::Cancel};  // read; then "Check Connection…" → Cancel
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.questions.size(), 2u);
  EXPECT_EQ(prompter.questions[1], "Check Connection. Retry or Cancel?");
  EXPECT_TRUE(prompter.messages.empty());  // no completion message
  EXPECT_FALSE(main->radio().busy());
  // What did not arrive shows as erased.
  EXPECT_EQ(ws.image.at(2000), 0xFF);
}

TEST_F(GuiTransfer, SwitchingReleaseOffersToSaveFirst) {
  frmMain &m = startRadio({"--firmware", "V999"});
  ws.working.function.squelch = static_cast<int16_t>(ws.working.function.squelch + 1);
  // Read → the version message → Yes (switch) → unsaved changes → Cancel: the program stays.
  prompter.answers = {Answer::Ok, Answer::Yes, Answer::Cancel};
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.questions.size(), 3u);
  EXPECT_EQ(prompter.questions[2], "File has been modify,save it now?");
  EXPECT_TRUE(m.isVisible());
  EXPECT_TRUE(IsModified(ws.working, ws.saved));
}

TEST_F(GuiTransfer, RadioInformationIsReadAndShownInItsWindow) {
  frmMain &m = startRadio();
  EXPECT_TRUE(m.action("mnuRadioInfo")->isEnabled());
  int ended = 0;
  bool success = false;
  m.radio().onTransferEnded = [&](int type, bool ok) {
    EXPECT_EQ(type, 3);
    ++ended;
    success = ok;
  };
  ws.image.set(2000, 0x5A);
  trigger("mnuEMG");  // Edit → Local Message: the image is erased first
  EXPECT_TRUE(m.radio().busy());
  QTRY_COMPARE_WITH_TIMEOUT(ended, 1, 10000);
  EXPECT_TRUE(success);
  EXPECT_TRUE(prompter.questions.empty());  // no question, no progress window
  EXPECT_TRUE(prompter.dialogs.empty());
  // The real radio-information window, a child of the main window, shows what the radio sent.
  QWidget *window = m.findWindow(window::kRadioInformation);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(qobject_cast<QMdiSubWindow *>(window->parentWidget()), nullptr);
  std::map<QString, QString> shown;
  for (auto *e : window->findChildren<QLineEdit *>()) shown[e->objectName()] = e->text();
  for (auto *c : window->findChildren<QComboBox *>()) shown[c->objectName()] = c->currentText();
  EXPECT_EQ(shown["Text1_5"], "V101");  // the firmware version the radio reported
  EXPECT_EQ(shown["Text1_1"], "N27SIM0000000001");
  EXPECT_EQ(shown["Text1_2"], "2024-03-18");
  EXPECT_EQ(shown["Text1_0"], "0086");
  EXPECT_EQ(shown["Text1_6"], "B2403A");
  EXPECT_EQ(shown["Text1_7"], "001A");
  EXPECT_EQ(shown["Combo1_0"], "N27");
  EXPECT_EQ(shown["Combo1_1"], "400 - 490 MHz");
  EXPECT_EQ(ws.image.at(2000), 0xFF);
  EXPECT_FALSE(m.radio().busy());

  // Tools → Radio Information leaves the rest of the image alone, and the open window shows
  // the record read again.
  ws.image.set(2000, 0x5A);
  window->findChild<QLineEdit *>("Text1_1")->setText("stale");
  trigger("mnuRadioInfo");
  QTRY_COMPARE_WITH_TIMEOUT(ended, 2, 10000);
  EXPECT_EQ(ws.image.at(2000), 0x5A);
  EXPECT_EQ(m.findWindow(window::kRadioInformation), window);
  EXPECT_EQ(window->findChild<QLineEdit *>("Text1_1")->text(), "N27SIM0000000001");
}

TEST_F(GuiTransfer, ARadioImageOutlivesASaveThatFails) {
  frmMain &m = startRadio({"--bad-checksum", "30"});
  const std::string data = path("data");
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(data));
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.messages.back(), "Read Data Completed.");
  // What the read went through is in the status bar.
  // …and where the read was kept.
  EXPECT_TRUE(m.statusBar()->currentMessage().startsWith(
      "Read Data Completed. Blocks: 160, asked for again: 1, restarts: 0. "
      "The radio's memory was backed up to " + QString::fromStdString(data) + "/n27/backups/"))
      << m.statusBar()->currentMessage().toStdString();

  prompter.saveNames = {QString::fromStdString(path("no-such-folder/radio.dat"))};
  trigger("mnuFileSaveAs");
  ASSERT_GE(prompter.messages.size(), 2u);
  EXPECT_TRUE(prompter.messages[prompter.messages.size() - 2].startsWith("file error."));
  const QString kept = prompter.messages.back();
  EXPECT_TRUE(kept.startsWith("The data read from the radio were kept in " +
                              QString::fromStdString(data) + "/n27/recovered-"))
      << kept.toStdString();
  QStringList files = QDir(QString::fromStdString(data + "/n27")).entryList({"recovered-*.img"});
  ASSERT_EQ(files.size(), 1);
  auto bytes = ReadWholeFile(data + "/n27/" + files[0].toStdString());
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->size(), 2561u);

  // Once saved, a failed save has nothing to keep.
  prompter.saveNames = {QString::fromStdString(path("radio2.dat"))};
  trigger("mnuFileSaveAs");
  const std::size_t shown = prompter.messages.size();
  prompter.saveNames = {QString::fromStdString(path("no-such-folder/radio.dat"))};
  trigger("mnuFileSaveAs");
  EXPECT_EQ(prompter.messages.size(), shown + 1);  // only "file error."
  qunsetenv("XDG_DATA_HOME");
}

TEST_F(GuiTransfer, NoUsablePortIsReportedBeforeAnythingIsAsked) {
  options.comPort = 0;
  makeMain();
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].startsWith("Cannot Open Communication Port."));
  EXPECT_TRUE(prompter.questions.empty());
}

}  // namespace
}  // namespace n27::test
