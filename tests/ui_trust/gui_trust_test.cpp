// Backups, verify after write, restore and Write to Group of Radios in the desktop program,
// against simulated radios (n27-sim on pseudo-terminals) with the questions answered by the
// test.

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>
#include <QtTest/QTest>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "link/backup.h"
#include "link/ui/FrmGroupLog.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/radio_commands.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Receives the URLs the program asks the desktop to open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  std::vector<QUrl> opened;
 public slots:
  void open(const QUrl &url) { opened.push_back(url); }
};

class GuiTrust : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!QFile::exists(QString(N27_PROGRAM_DIR) + "/n27-sim")) GTEST_SKIP() << "n27-sim is not built";
    MainWindowTest::SetUp();
    options.versions.addPair("V200V101");
    // The radio holds three channels.
    Workspace radio = configuration({{1, "446.00625"}, {5, "430.11250"}, {128, "489.99375"}});
    ASSERT_EQ(SaveDataFile(radio, path("radio.dat")), FileStatus::Ok);
    prompter.onDialog = [](QDialog &d) { return d.exec(); };
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    for (auto &sim : sims) {
      sim->terminate();
      if (!sim->waitForFinished(3000)) sim->kill();
    }
  }

  Workspace configuration(std::vector<std::pair<int, const char *>> channels) {
    Workspace w;
    w.programFolder = dir.string();
    NewConfiguration(w);
    ChannelContext ctx(w);
    for (auto [slot, rx] : channels) ChangeChannel(ctx, 1, slot, kFieldRx, rx);
    return w;
  }

  // The raw image of `w` as a radio with serial number `serial` would hold it.
  std::string radioImage(Workspace w, const std::string &serial) {
    w.image.fill(0, RadioImage::kSize - 1, 0xFF);
    EncodeImage(w);
    std::string bytes(RadioImage::kSize, '\xFF');
    for (std::size_t a = 0; a < RadioImage::kSize; ++a) bytes[a] = static_cast<char>(w.image.at(a));
    for (std::size_t i = 0; i < serial.size(); ++i) bytes[mem::kSerialNumber + i] = serial[i];
    return bytes;
  }

  // Starts a simulated radio; returns the device of its line.
  std::string startSim(QStringList args) {
    auto sim = std::make_unique<QProcess>();
    sim->start(QString(N27_PROGRAM_DIR) + "/n27-sim", QStringList{"--baud", "0"} + args);
    EXPECT_TRUE(sim->waitForStarted(5000));
    std::string device;
    for (int i = 0; i < 50 && device.empty(); ++i) {
      sim->waitForReadyRead(100);
      if (sim->canReadLine()) device = sim->readLine().trimmed().toStdString();
    }
    EXPECT_FALSE(device.empty()) << sim->readAllStandardError().toStdString();
    sims.push_back(std::move(sim));
    return device;
  }

  // A main window whose chosen port is `device`.
  frmMain &startMain(const std::string &device) {
    options.extraPort = {250, device, "", true};
    options.comPort = 250;
    frmMain &m = makeMain();
    m.radio().setReplyTimeout(1000ms);
    return m;
  }
  // The radio of radio.dat, saving its memory to radio.img after each write.
  frmMain &startRadio(QStringList extra = {}) {
    return startMain(startSim(QStringList{"--data", qpath("radio.dat"), "--save", qpath("radio.img")} + extra));
  }

  QString qpath(const std::string &name) const { return QString::fromStdString(path(name)); }
  std::string backups() const { return (dir / "data" / "n27" / "backups").string(); }
  QStringList backupFiles(const QString &pattern) const {
    return QDir(QString::fromStdString(backups())).entryList({pattern}, QDir::Files, QDir::Name);
  }
  Workspace decode(const std::string &file) {
    Workspace w;
    w.programFolder = dir.string();
    NewConfiguration(w);
    auto bytes = ReadWholeFile(file);
    EXPECT_TRUE(bytes.has_value()) << file;
    if (bytes)
      for (std::size_t a = 0; a < bytes->size() && a < RadioImage::kSize; ++a)
        w.image.set(a, static_cast<uint8_t>((*bytes)[a]));
    DecodeImage(w);
    return w;
  }
  static std::string rx(const Workspace &w, int index) { return w.working.channels[index].rx.text(); }
  int progressWindows() const {
    return static_cast<int>(std::count(prompter.dialogs.begin(), prompter.dialogs.end(), "FrmProgress"));
  }

  std::vector<std::unique_ptr<QProcess>> sims;
};

constexpr const char *kVerified = "Verified: the radio holds the data written to it.";

TEST_F(GuiTrust, EveryReadIsKeptAndABackupThatCannotBeKeptIsAWarning) {
  frmMain &m = startRadio();
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  ASSERT_EQ(prompter.messages.back(), "Read Data Completed.");
  const QStringList images = backupFiles("*_SN-N27SIM0000000001_read.img");
  ASSERT_EQ(images.size(), 1);
  EXPECT_EQ(backupFiles("*_read.dat").size(), 1);
  const std::string image = backups() + "/" + images[0].toStdString();
  auto bytes = ReadWholeFile(image);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), RadioImage::kSize);
  for (std::size_t a = 0; a < 2560; ++a) ASSERT_EQ(static_cast<uint8_t>((*bytes)[a]), ws.image.at(a)) << a;
  EXPECT_TRUE(m.statusBar()->currentMessage().contains(QString::fromStdString(image)))
      << m.statusBar()->currentMessage().toStdString();
  struct stat st {};
  ASSERT_EQ(::stat(backups().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // The folder cannot be used: the read stands, a warning says why.
  fs::remove_all(backups());
  ASSERT_TRUE(WriteFileAtomically(backups(), "in the way"));
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  ASSERT_GE(prompter.messages.size(), 3u);
  EXPECT_EQ(prompter.messages[prompter.messages.size() - 2], "Read Data Completed.");
  EXPECT_TRUE(prompter.messages.back().startsWith("The data were read, but the backup was not kept:\n"
                                                  "The radio's memory could not be backed up:"))
      << prompter.messages.back().toStdString();
  EXPECT_EQ(ws.working.channelCount, 3);
}

TEST_F(GuiTrust, AWriteKeepsTheRadiosOldMemoryThenVerifiesWithOnePasswordPrompt) {
  startRadio({"--password", "Ab12"});
  int asked = 0;
  prompter.onDialog = [&](QDialog &d) {
    if (d.objectName() != "FrmPassWord") return d.exec();
    ++asked;
    static_cast<FrmPassWord &>(d).entry()->setText("Ab12");
    d.findChild<QPushButton *>("CommandOK")->click();
    return d.result();
  };
  // The open configuration: two channels of its own.
  ChangeChannel(main->channels(), 1, 2, kFieldRx, "440.00000");
  ChangeChannel(main->channels(), 1, 3, kFieldRx, "441.00000");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_EQ(prompter.messages.back(), QString("Write Data Completed.\n") + kVerified);
  EXPECT_EQ(asked, 1);  // typed for the backup read, used for the write and the verify
  EXPECT_EQ(progressWindows(), 1);  // one window for backup, write and verify

  // The backup holds what the radio held before: radio.dat's channels.
  const QStringList before = backupFiles("*_before-write.img");
  ASSERT_EQ(before.size(), 1);
  Workspace old = decode(backups() + "/" + before[0].toStdString());
  ASSERT_EQ(old.working.channelCount, 3);
  EXPECT_EQ(rx(old, 0), "44600625");
  EXPECT_EQ(rx(old, 2), "48999375");
  // And the radio holds the open configuration now.
  Workspace now = decode(path("radio.img"));
  ASSERT_EQ(now.working.channelCount, 2);
  EXPECT_EQ(rx(now, 0), "44000000");
  EXPECT_TRUE(main->statusBar()->currentMessage().contains(kVerified));
}

TEST_F(GuiTrust, BackupAndVerifyCanBeTurnedOffAndAFailedBackupRefusesTheWrite) {
  frmMain &m = startRadio();
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  QAction *backup = m.action("mnuBackupBeforeWrite");
  QAction *verify = m.action("mnuVerifyAfterWrite");
  ASSERT_TRUE(backup && verify);
  EXPECT_TRUE(backup->isChecked());
  EXPECT_TRUE(verify->isChecked());

  // A backup that cannot be kept: nothing is written.
  ASSERT_TRUE(fs::create_directories(dir / "data" / "n27"));
  ASSERT_TRUE(WriteFileAtomically(backups(), "in the way"));
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  ASSERT_FALSE(prompter.messages.empty());
  EXPECT_TRUE(prompter.messages.back().startsWith("The radio's memory could not be backed up:"));
  EXPECT_TRUE(prompter.messages.back().contains("Nothing was written to the radio"));
  EXPECT_FALSE(fs::exists(path("radio.img")));
  EXPECT_EQ(progressWindows(), 1);

  // Both off (remembered for the next start): one progress window, no backup.
  fs::remove(backups());
  backup->setChecked(false);
  verify->setChecked(false);
  EXPECT_FALSE(RadioCommands::backupBeforeWrite());
  EXPECT_FALSE(RadioCommands::verifyAfterWrite());
  prompter.dialogs.clear();
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  EXPECT_EQ(prompter.messages.back(), "Write Data Completed.");
  EXPECT_EQ(progressWindows(), 1);
  EXPECT_TRUE(backupFiles("*").isEmpty());
  EXPECT_EQ(decode(path("radio.img")).working.channelCount, 1);
}

TEST_F(GuiTrust, AByteTheRadioDidNotKeepFailsTheWriteNamingItsAddress) {
  // The first byte the write changes is one the radio's memory does not take.
  const std::string before = radioImage(configuration({{1, "446.00625"}, {5, "430.11250"}, {128, "489.99375"}}), "");
  const std::string after = radioImage(configuration({{2, "440.00000"}}), "");
  int stuck = -1;
  for (int a = 0; a < static_cast<int>(mem::kWriteSkipFrom) && stuck < 0; ++a)
    if (a < static_cast<int>(mem::kIdentCopy) && before[a] != after[a]) stuck = a;
  ASSERT_GE(stuck, 0);
  frmMain &m = startRadio({"--stuck-byte", QString::number(stuck)});
  std::vector<bool> results;
  m.radio().onTransferEnded = [&](int, bool ok) { results.push_back(ok); };
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  ASSERT_FALSE(prompter.messages.empty());
  char where[32];
  std::snprintf(where, sizeof where, "0x%04X (%d)", stuck, stuck);
  EXPECT_TRUE(prompter.messages.back().startsWith("Verify failed: the radio holds different data at address " +
                                                  QString(where)))
      << prompter.messages.back().toStdString();
  for (const QString &message : prompter.messages) EXPECT_FALSE(message.startsWith("Write Data Completed."));
  EXPECT_EQ(results, std::vector<bool>{false});
  EXPECT_TRUE(m.statusBar()->currentMessage().startsWith("Verify failed"));
}

TEST_F(GuiTrust, RestoreWritesABackupImageBackAfterAsking) {
  // A backup of another radio with two channels.
  const std::string image = radioImage(configuration({{7, "450.00000"}, {9, "451.25000"}}), "SER-RESTORE");
  ASSERT_TRUE(WriteFileAtomically(path("old%3.img"), image));
  ASSERT_TRUE(WriteFileAtomically(path("short.img"), image.substr(0, 100)));
  startRadio();
  // The list of backups offers a file elsewhere too.
  prompter.onDialog = [](QDialog &d) {
    if (d.objectName() != "FrmBackupList") return d.exec();
    d.findChild<QPushButton *>("CommandOther")->click();
    return d.result();
  };

  // Not an image: refused before anything is asked (a pipe is never waited on).
  ASSERT_EQ(::mkfifo(path("pipe.img").c_str(), 0600), 0);
  prompter.openNames = {qpath("short.img")};
  trigger("mnuFileRestore");
  prompter.openNames = {qpath("pipe.img")};
  trigger("mnuFileRestore");
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_TRUE(prompter.questions.empty());
  EXPECT_EQ(progressWindows(), 0);

  // Cancelled at the question: nothing happens. (The name holds a mark of the question's text.)
  prompter.openNames = {qpath("old%3.img")};
  prompter.answers = {Answer::Cancel};
  trigger("mnuFileRestore");
  ASSERT_EQ(prompter.questions.size(), 1u);
  EXPECT_TRUE(prompter.questions[0].contains(qpath("old%3.img")));
  EXPECT_TRUE(prompter.questions[0].contains("SER-RESTORE"));
  EXPECT_EQ(progressWindows(), 0);

  const CodeplugData open = ws.working;
  prompter.openNames = {qpath("old%3.img")};
  prompter.answers = {Answer::Ok};
  trigger("mnuFileRestore");
  EXPECT_EQ(prompter.messages.back(), QString("The backup was written to the radio.\n") + kVerified);
  EXPECT_EQ(progressWindows(), 1);  // backup, write and verify in one window
  EXPECT_EQ(backupFiles("*_before-write.img").size(), 1);
  EXPECT_TRUE(ws.working == open);  // the open configuration is not part of a restore
  auto radio = ReadWholeFile(path("radio.img"));
  ASSERT_TRUE(radio);
  ASSERT_EQ(radio->size(), RadioImage::kSize);
  // Outside the blocks a write skips and the radio's own copy of its identification.
  for (std::size_t a = 0; a < 2560; ++a)
    if ((a < mem::kIdentCopy || a >= mem::kIdentCopy + 12) &&
        (a < mem::kWriteSkipFrom || a >= mem::kWriteSkipTo)) {
      ASSERT_EQ((*radio)[a], image[a]) << a;
    }
  // The radio's own blocks stay its own.
  EXPECT_EQ(radio->substr(mem::kSerialNumber, 16), "N27SIM0000000001");
}

TEST_F(GuiTrust, AGroupOfRadiosIsWrittenOneAfterAnotherWithALog) {
  // Three radios, the second on the other band (its write is refused); the port is a link
  // the operator moves from one radio to the next.
  Workspace old = configuration({{1, "446.00625"}});
  std::vector<std::string> devices;
  for (int i = 0; i < 3; ++i) {
    const std::string serial = "GRP-" + std::to_string(i + 1);
    ASSERT_TRUE(WriteFileAtomically(path(serial + ".img"), radioImage(old, serial)));
    QStringList args = {"--image", qpath(serial + ".img"), "--save", qpath(serial + "-saved.img")};
    if (i == 1) args += {"--band", "1"};
    devices.push_back(startSim(args));
  }
  const fs::path port = dir / "radio-port";
  fs::create_symlink(devices[0], port);
  frmMain &m = startMain(port.string());
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  prompter.saveNames = {qpath("fleet.dat")};
  trigger("mnuFileSaveAs");

  int next = 0;
  prompter.onAsk = [&](const QString &text) {
    if (!text.contains("Connect the next radio")) return;
    // Radios 2 and 3, then a port that has gone (the adapter pulled out).
    fs::remove(port);
    fs::create_symlink(++next < 3 ? devices[next] : (dir / "gone").string(), port);
  };
  FrmGroupLog *shown = nullptr;
  std::vector<QStringList> rows;
  QString saved;
  prompter.onDialog = [&](QDialog &d) {
    if (d.objectName() != "FrmGroupLog") return d.exec();
    shown = static_cast<FrmGroupLog *>(&d);
    QTreeWidget *list = shown->list();
    for (int r = 0; r < list->topLevelItemCount(); ++r) {
      QStringList row;
      for (int c = 0; c < 4; ++c) row << list->topLevelItem(r)->text(c);
      rows.push_back(row);
    }
    saved = shown->savedText();
    return int(QDialog::Accepted);
  };
  // Start; OK after radios 1, 2 (failed) and 3; Finish after radio 4 (no port).
  prompter.answers = {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok, Answer::Cancel};
  trigger("MWriteRadio");
  ASSERT_EQ(prompter.questions.size(), 5u);
  EXPECT_TRUE(prompter.questions[1].startsWith("Radio 1 (serial number GRP-1): Written and verified."));
  // The fact, found when the radio was identified: nothing was asked or written.
  EXPECT_TRUE(prompter.questions[2].startsWith("Radio 2 (serial number GRP-2) FAILED:\n"
                                               "radio 136–174 MHz, configuration 400–490 MHz: not written"))
      << prompter.questions[2].toStdString();
  EXPECT_TRUE(prompter.questions[2].contains("1 radio written, 1 failed. Connect the next radio."))
      << prompter.questions[2].toStdString();
  EXPECT_TRUE(prompter.questions[3].contains("2 radios written, 1 failed."));
  EXPECT_TRUE(prompter.questions[4].contains("Cannot Open Communication Port."));
  EXPECT_TRUE(prompter.questions[4].contains("2 radios written, 2 failed."));
  // No "Write Data Completed." boxes in a group.
  for (const QString &message : prompter.messages) EXPECT_NE(message, "Write Data Completed.");

  // The radios that took the write hold the configuration; the other kept its memory.
  EXPECT_EQ(rx(decode(path("GRP-1-saved.img")), 0), "44000000");
  EXPECT_EQ(rx(decode(path("GRP-3-saved.img")), 0), "44000000");
  EXPECT_FALSE(fs::exists(path("GRP-2-saved.img")));
  EXPECT_EQ(backupFiles("*_before-write.img").size(), 2u);  // not the radio of the other band

  // The log window and the CSV beside the data file.
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[0][1], "GRP-1");
  EXPECT_TRUE(rows[0][3].startsWith("OK"));
  EXPECT_EQ(rows[1][1], "GRP-2");
  EXPECT_TRUE(rows[1][3].startsWith("FAILED"));
  EXPECT_TRUE(rows[2][3].startsWith("OK"));
  EXPECT_EQ(rows[3][1], "(none)");
  EXPECT_TRUE(rows[3][3].startsWith("FAILED"));
  QStringList logs = QDir(QString::fromStdString(dir.string())).entryList({"fleet-group-*.csv"});
  ASSERT_EQ(logs.size(), 1);
  EXPECT_TRUE(saved.contains(logs[0])) << saved.toStdString();
  auto csv = ReadWholeFile(path(logs[0].toStdString()));
  ASSERT_TRUE(csv);
  QStringList lines = QString::fromStdString(*csv).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(lines[0], "Number,Serial,Time,Result,Detail");
  EXPECT_TRUE(lines[1].startsWith("1,GRP-1,")) << lines[1].toStdString();
  EXPECT_TRUE(lines[1].contains(",OK,"));
  EXPECT_TRUE(lines[2].startsWith("2,GRP-2,"));
  EXPECT_TRUE(lines[2].contains(",FAILED,"));
  EXPECT_TRUE(lines[3].startsWith("3,GRP-3,"));
}

TEST_F(GuiTrust, TheBackupFolderIsCreatedAndOpened) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "open");
  makeMain();
  trigger("mnuFileBackupFolder");
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(catcher.opened.size(), 1u);
  EXPECT_EQ(catcher.opened[0].toLocalFile().toStdString(), backups());
  EXPECT_TRUE(fs::is_directory(backups()));
  EXPECT_EQ(BackupFolder(), backups());
  EXPECT_TRUE(prompter.messages.empty());
}

// Pictures of the new menu entries, the group question and the log window in both languages,
// for a person to look at: run under a display with --gtest_also_run_disabled_tests and
// N27_SHOTS=<folder>; the whole screen is taken with ImageMagick's import.
TEST_F(GuiTrust, DISABLED_Screenshots) {
  const QString shots = qEnvironmentVariable("N27_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "N27_SHOTS is not set";
  auto shoot = [&](const QString &name) {
    QTest::qWait(400);
    QProcess::execute("import", {"-window", "root", shots + "/" + name + ".png"});
  };
  // Answers like the scripted prompter, but shows the real boxes of the group run first.
  struct ShotPrompter : ScriptedPrompter {
    ScriptedPrompter *script = nullptr;
    std::function<void(const QString &)> shoot;
    QString language;
    int shot = 0;
    Answer ask(QWidget *parent, const QString &text, Prompt prompt) override {
      if (prompt == Prompt::QuestionOkFinish && shot++ == 0) {
        QTimer::singleShot(0, [this] {
          shoot("group-question-" + language);
          QApplication::activeModalWidget()->close();
        });
        Prompter::ask(parent, text, prompt);
      }
      return script->ask(parent, text, prompt);
    }
    void message(QWidget *p, const QString &t, BoxIcon i) override { script->message(p, t, i); }
    int execDialog(QDialog &d) override { return script->execDialog(d); }
  };
  const std::string device = startSim({"--data", qpath("radio.dat"), "--serial", "N27-FLEET-0042"});
  frmMain &m = startMain(device);
  m.resize(900, 640);
  m.move(0, 0);
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  for (int language : {kEnglish, kChinese}) {
    const QString tag = language == kEnglish ? "en" : "zh";
    SetLanguageIndex(language);
    m.Change_Language();
    for (const char *menu : {"mnuFile", "mnuSetting", "mnuProgram"}) {
      auto *popup = m.findChild<QMenu *>(menu);
      ASSERT_NE(popup, nullptr);
      m.menuBar()->setActiveAction(popup->menuAction());
      shoot(QString(menu) + "-" + tag);
      popup->close();
      QTest::qWait(100);
    }
    ShotPrompter shot;
    shot.script = &prompter;
    shot.shoot = shoot;
    shot.language = tag;
    SetPrompter(&shot);
    prompter.onDialog = [&](QDialog &d) {
      if (d.objectName() != "FrmGroupLog") return d.exec();
      d.show();
      shoot("group-log-" + tag);
      return int(QDialog::Accepted);
    };
    prompter.answers = {Answer::Ok, Answer::Ok, Answer::Cancel};
    trigger("MWriteRadio");
    SetPrompter(&prompter);
  }
}

}  // namespace
}  // namespace n27::test

#include "gui_trust_test.moc"
