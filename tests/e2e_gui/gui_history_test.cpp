// The radio history and the plan check in the desktop program's transfers, against a simulated
// radio: the entries a read, a write, a failed verify and a put back leave; a plan with an
// error refused, then written with the dealer's reason; a history that cannot be written.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QtTest/QTest>

#include <chrono>
#include <fstream>
#include <unistd.h>

#include "base/file_io.h"
#include "channels/channel_ops.h"
#include "codeplug/memory_map.h"
#include "common/sim_cli.h"
#include "history/history_entry.h"
#include "history/qt/history_database.h"
#include "history/ui/FrmHistory.h"
#include "link/ui/FrmCustomer.h"
#include "link/ui/FrmFleet.h"
#include "link/ui/radio_commands.h"
#include "plan/ui/FrmPlanReview.h"
#include "ui/ui_test_support.h"

namespace n27::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char *kSerial = "N27SIM0000000001";  // the simulator's radio
constexpr const char *kNotRecorded = "This step was not recorded in the radio history: ";

class GuiHistory : public MainWindowTest {
 protected:
  void SetUp() override {
    if (!QFile::exists(QString(N27_PROGRAM_DIR) + "/n27-sim")) GTEST_SKIP() << "n27-sim is not built";
    MainWindowTest::SetUp();
    // The test's own n27.ini: the history is where the test says (by default beside the backups).
    config_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir / "config").string()));
    options.versions.addPair("V200V101");
    Workspace radio;
    radio.programFolder = dir.string();
    NewConfiguration(radio);
    ChannelContext ctx(radio);
    ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
    ChangeChannel(ctx, 1, 5, kFieldRx, "430.11250");
    ASSERT_EQ(SaveDataFile(radio, path("radio.dat")), FileStatus::Ok);
    prompter.onDialog = [this](QDialog &d) { return answer(d); };
  }
  void TearDown() override {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (qobject_cast<FrmHistory *>(w)) delete w;
    MainWindowTest::TearDown();
    sim.reset();
    if (config_.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
    else qputenv("XDG_CONFIG_HOME", config_);
  }

  // The review before a write takes `reason` (none: the dealer stops); the customer box
  // takes `customer`; every other window runs.
  int answer(QDialog &d) {
    if (d.objectName() == "FrmPlanReview") {
      reviews.push_back(static_cast<FrmPlanReview &>(d).hasErrors());
      if (reason.isEmpty()) return QDialog::Rejected;
      static_cast<FrmPlanReview &>(d).reasonBox()->setText(reason);
      static_cast<FrmPlanReview &>(d).writeButton()->click();
      return d.result();
    }
    if (d.objectName() == "FrmCustomer") {
      static_cast<FrmCustomer &>(d).entry()->setText(customer);
      d.findChild<QPushButton *>("CommandOK")->click();
      return d.result();
    }
    return d.exec();
  }

  frmMain &start(QStringList extra = {}) {
    sim = std::make_unique<e2e::Sim>(QStringList{"--data", qpath("radio.dat"), "--save", qpath("radio.img")} + extra);
    options.extraPort = {250, sim->device(), "", true};
    options.comPort = 250;
    frmMain &m = makeMain();
    m.radio().setReplyTimeout(1000ms);
    return m;
  }
  QString qpath(const std::string &name) const { return QString::fromStdString(path(name)); }

  // The history's entries, newest first, and the same as "Operation ok|failed" for each.
  std::vector<history::Entry> entries() {
    history::OpenedHistory opened = history::OpenHistory(path("data/n27/history.sqlite"));
    std::string why;
    EXPECT_TRUE(opened.store) << opened.error;
    return opened.store ? opened.store->query({}, 0, why) : std::vector<history::Entry>{};
  }
  static std::string steps(const std::vector<history::Entry> &list) {
    std::string text;
    for (const history::Entry &e : list)
      text += (text.empty() ? "" : "; ") + std::string(history::OperationName(e.operation)) + (e.ok ? " ok" : " failed");
    return text;
  }
  std::string radioMemory() { return ReadWholeFile(path("radio.img")).value_or(""); }

  std::unique_ptr<e2e::Sim> sim;
  QString reason, customer;
  std::vector<bool> reviews;  // the reviews shown: with errors or not
  QByteArray config_;
};

TEST_F(GuiHistory, ReadWriteAndPutBackLeaveTheirEntriesAndPutBackRestoresTheMemory) {
  frmMain &m = start();
  customer = "Harbour Taxis";
  trigger("mnuCustomer");
  prompter.answers = {Answer::Ok};
  trigger("mnuReadFromRadio");
  const RadioImage before = ws.image;
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  ASSERT_TRUE(prompter.messages.back().endsWith("Verified: the radio holds the data written to it."));

  // Newest first: the verify, the write, the write's backup read, the read.
  std::vector<history::Entry> list = entries();
  ASSERT_EQ(steps(list), "verify ok; write ok; read ok; read ok");
  for (const history::Entry &e : list) {
    EXPECT_EQ(e.serial, kSerial);
    EXPECT_EQ(e.customer, "Harbour Taxis");
    EXPECT_EQ(e.port, sim->device());
    EXPECT_EQ(e.model, "N27PR");
  }
  EXPECT_TRUE(fs::exists(list[3].backupAfter)) << list[3].backupAfter;
  EXPECT_EQ(list[3].sha256, history::ProgrammedBytesDigest(before));
  EXPECT_EQ(list[1].backupBefore, list[2].backupBefore);
  EXPECT_FALSE(list[1].backupBefore.empty());
  EXPECT_EQ(list[0].sha256, list[1].sha256);

  // Put the radio back to the state of the read: a restore of its own, then the same memory.
  trigger("mnuRadioHistory");
  FrmHistory *window = nullptr;
  for (QWidget *w : QApplication::topLevelWidgets())
    if (auto *h = qobject_cast<FrmHistory *>(w)) window = h;
  ASSERT_NE(window, nullptr);
  window->table()->selectRow(3);
  prompter.answers = {Answer::Ok};
  window->putRadioBack();
  EXPECT_TRUE(prompter.questions.back().startsWith("Write the backup\n")) << prompter.questions.back().toStdString();
  list = entries();
  ASSERT_EQ(steps(list), "verify ok; restore ok; read ok; verify ok; write ok; read ok; read ok");
  EXPECT_EQ(list[1].sha256, list[6].sha256);  // the restore wrote what the read found
  const std::string now = radioMemory();
  ASSERT_EQ(now.size(), RadioImage::kSize);
  for (std::size_t a = 0; a < mem::kTransferEnd; ++a) {
    if (a < 432 || a > 511) {
      ASSERT_EQ(static_cast<uint8_t>(now[a]), before.at(a)) << a;
    }
  }
}

TEST_F(GuiHistory, AVerifyThatFailsIsRecordedAsFailed) {
  frmMain &m = start({"--stuck-byte", QString::number(mem::ChannelRecordAddress(2))});
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  const std::vector<history::Entry> list = entries();
  ASSERT_EQ(steps(list), "verify failed; write ok; read ok");
  EXPECT_NE(list[0].reason.find("Verify failed"), std::string::npos) << list[0].reason;
}

TEST_F(GuiHistory, APlanErrorStopsTheWriteUnlessTheDealerGivesAReason) {
  frmMain &m = start();
  ChangeChannel(m.channels(), 1, 1, kFieldRx, "446.00625");
  ChangeChannel(m.channels(), 1, 1, kFieldTx, "446.00625");
  ws.licenceText = "Frequency,Bandwidth,Power\n462.5625,12.5,2\n";  // 446.00625 is not licensed
  trigger("mnuWriteToRadio");
  EXPECT_EQ(reviews, std::vector<bool>{true});
  EXPECT_TRUE(prompter.questions.empty());  // stopped before the write question
  EXPECT_TRUE(radioMemory().empty());       // the radio was never written
  EXPECT_TRUE(m.statusBar()->currentMessage().startsWith("The write was stopped at the plan check"));

  reason = "licence renewal filed";
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  EXPECT_FALSE(radioMemory().empty());
  const QString status = m.statusBar()->currentMessage();
  EXPECT_TRUE(status.contains("Plan errors overridden, reason: licence renewal filed")) << status.toStdString();
  const std::vector<history::Entry> list = entries();
  ASSERT_EQ(steps(list), "verify ok; write ok; read ok");
  for (const history::Entry &e : list) EXPECT_EQ(e.overrideReason, "licence renewal filed");
}

TEST_F(GuiHistory, AHistoryThatCannotRecordLeavesTheWriteDoneAndSaysSo) {
  // A history in a folder that takes no file (for root, whom a mode does not stop: a folder
  // that is a file).
  fs::create_directories(dir / "config" / "n27");
  fs::path place = dir / "locked";
  if (::geteuid() == 0) {
    std::ofstream(place) << "a file";
  } else {
    fs::create_directories(place);
    fs::permissions(place, fs::perms::owner_read | fs::perms::owner_exec);
  }
  std::ofstream(dir / "config" / "n27" / "n27.ini") << "[History]\nDatabase=" << (place / "history.sqlite").string()
                                                    << "\n";
  frmMain &m = start();
  ChangeChannel(m.channels(), 1, 2, kFieldRx, "440.00000");
  prompter.answers = {Answer::Ok};
  trigger("mnuWriteToRadio");
  EXPECT_EQ(prompter.messages.back(), "Write Data Completed.\nVerified: the radio holds the data written to it.");
  EXPECT_FALSE(radioMemory().empty());
  const QString status = m.statusBar()->currentMessage();
  EXPECT_TRUE(status.startsWith("Write Data Completed.")) << status.toStdString();
  EXPECT_TRUE(status.contains(kNotRecorded)) << status.toStdString();
  const auto &log = m.messageLog().entries();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const LoggedMessage &e) { return e.text.find(kNotRecorded) != std::string::npos; }));
  fs::permissions(place, fs::perms::owner_all);
}

// Pictures of the customer box, the fleet window with its customer field and the review before
// a write, in English and Chinese: run under a display with --gtest_also_run_disabled_tests and
// N27_SHOTS=<folder>.
TEST_F(GuiHistory, DISABLED_Screenshots) {
  const QString shots = qEnvironmentVariable("N27_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "N27_SHOTS is not set";
  frmMain &m = start();
  m.resize(966, 700);
  m.move(0, 0);
  ChangeChannel(m.channels(), 1, 1, kFieldRx, "446.00625");
  ChangeChannel(m.channels(), 1, 1, kFieldTx, "446.00625");
  ws.licenceText = "Frequency,Bandwidth,Power\n462.5625,12.5,2\n";
  for (int language : {kEnglish, kChinese}) {
    const QString tag = language == kEnglish ? "en" : "zh";
    SetLanguageIndex(language);
    m.Change_Language();
    prompter.onDialog = [&](QDialog &d) {
      if (auto *fleet = qobject_cast<FrmFleet *>(&d)) fleet->customerField()->setText("Harbour Taxis / job 4711");
      if (auto *review = qobject_cast<FrmPlanReview *>(&d)) review->reasonBox()->setText("licence renewal filed");
      if (auto *box = qobject_cast<FrmCustomer *>(&d)) box->entry()->setText("Harbour Taxis / job 4711");
      d.show();
      d.move(20, 20);
      QTest::qWait(400);
      QProcess::execute("import", {"-window", "root", shots + "/" + d.objectName() + "-" + tag + ".png"});
      return int(QDialog::Rejected);
    };
    trigger("mnuCustomer");
    trigger("mnuFleet");
    trigger("mnuWriteToRadio");
  }
}

}  // namespace
}  // namespace n27::test
