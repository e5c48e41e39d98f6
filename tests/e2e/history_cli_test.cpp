// n27-cli's transfers against n27-sim leave their steps in the radio history, and its writes
// pass the plan check first: the entries of each kind of transfer, putting a radio back from
// an entry, a plan error refused and overridden, a history that cannot record, two programs
// recording at once.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QDir>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "common/sim_cli.h"
#include "history/history_support.h"

namespace n27 {
namespace {

using namespace e2e;

class HistoryCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_DATA_HOME", path("data"));
    env_.insert("XDG_CONFIG_HOME", path("config"));
    // The radio and the configuration to write: the default channels, 1 (and 2) moved.
    ASSERT_EQ(run({"new", "-o", path("old.dat")}).code, 0);
    ASSERT_EQ(run({"edit", path("old.dat"), "1", "1", "446.00625"}).code, 0);
    ASSERT_EQ(run({"encode", path("old.dat"), "-o", path("old.img")}).code, 0);
    ASSERT_EQ(run({"new", "-o", path("fresh.dat")}).code, 0);
    ASSERT_EQ(run({"edit", path("fresh.dat"), "1", "1", "446.10000", "1", "2", "446.10000", "2", "1", "446.20000", "2",
                   "2", "446.20000"})
                  .code,
              0);
  }
  QString path(const QString &name) const { return dir_.filePath(name); }
  CliResult run(QStringList args) { return cli(args, env_); }
  CliResult write(const Sim &sim, QStringList extra = {}) {
    return run(QStringList{"write", "--port", sim.port(), path("fresh.dat"), "--verify", "--reply-timeout", "400"} +
               extra);
  }
  // The history's entries, newest first.
  QJsonArray entries(QStringList extra = {}) {
    const CliResult r = run(QStringList{"history", "--format", "json"} + extra);
    EXPECT_EQ(r.code, 0) << r.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).array();
  }
  // "operation result serial customer" per entry.
  static std::string steps(const QJsonArray &list) {
    std::string text;
    for (const auto &v : list) {
      const QJsonObject e = v.toObject();
      text += (text.empty() ? "" : " | ") + (e["operation"].toString() + " " + e["result"].toString() + " " +
                                             e["serial"].toString() + " " + e["customer"].toString())
                                                .toStdString();
    }
    return text;
  }
  QTemporaryDir dir_;
  QProcessEnvironment env_;
};

TEST_F(HistoryCli, EachTransferLeavesItsEntriesAndAnEntryPutsTheRadioBack) {
  Sim sim({"--serial", "H-1", "--image", path("old.img"), "--save", path("now.img")});
  ASSERT_EQ(run({"read", "--port", sim.port(), "-o", path("read.dat"), "--customer", "Harbour Taxis",
                 "--image-out", path("before.img")})
                .code,
            0);
  const QJsonObject read = entries()[0].toObject();
  EXPECT_EQ(read["file"].toString(), path("read.dat"));
  EXPECT_TRUE(read["backup"].toString().endsWith("_read.img")) << read["backup"].toString().toStdString();
  EXPECT_EQ(read["sha256"].toString().size(), 64);

  const CliResult w = write(sim, {"--customer", "Harbour Taxis"});
  ASSERT_EQ(w.code, 0) << w.err;
  EXPECT_EQ(steps(entries()),
            "verify ok H-1 Harbour Taxis | write ok H-1 Harbour Taxis | read ok H-1 Harbour Taxis | "
            "read ok H-1 Harbour Taxis");
  // The write's entry and its verify name the same programmed bytes.
  EXPECT_EQ(entries()[0].toObject()["sha256"], entries()[1].toObject()["sha256"]);

  // The read's entry names the image that puts the radio back as it was.
  const CliResult r = run({"restore", "--port", sim.port(), read["backup"].toString(), "--no-backup",
                           "--reply-timeout", "400"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(steps(entries({"--limit", "1"})), "restore ok H-1 ");
  EXPECT_EQ(entries({"--limit", "1"})[0].toObject()["sha256"], read["sha256"]);
  const std::string before = readFile(path("before.img")), now = savedImage(path("now.img"));
  ASSERT_EQ(now.size(), 2561u);
  for (std::size_t a = 0; a < 2560; ++a) {
    if (a >= 416 && a < 512) continue;  // the radio's own blocks are not written
    ASSERT_EQ(now[a], before[a]) << a;
  }

  // The image the history keeps with the write's entry, the backup file not needed.
  const QJsonObject written = entries({"--limit", "4"})[2].toObject();
  ASSERT_EQ(written["operation"], "write");
  ASSERT_EQ(run({"restore", "--port", sim.port(), "--entry", QString::number(written["id"].toInt()), "--no-backup",
                 "--reply-timeout", "400"}).code, 0);
  EXPECT_EQ(entries({"--limit", "1"})[0].toObject()["sha256"], written["sha256"]);

  // A verify that fails is an entry of its own with the address.
  Sim stuck({"--serial", "H-2", "--image", path("old.img"), "--stuck-byte", "529"});
  EXPECT_EQ(write(stuck, {"--no-backup"}).code, 1);
  const QJsonObject failed = entries({"--serial", "H-2", "--result", "failed"})[0].toObject();
  EXPECT_EQ(failed["operation"], "verify");
  EXPECT_TRUE(failed["reason"].toString().contains("529")) << failed["reason"].toString().toStdString();
}

TEST_F(HistoryCli, APlanErrorStopsTheWriteUntilAReasonIsGiven) {
  std::ofstream(path("fresh.licence.csv").toStdString()) << "Frequency,Bandwidth,Power\n446.10000,25,5\n";
  Sim sim({"--serial", "P-1", "--image", path("old.img"), "--save", path("now.img"), "--trace", path("trace")});
  const CliResult refused = write(sim);
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("Error tx-not-licensed: Channel 2 transmits on 446.20000 MHz"), std::string::npos)
      << refused.err;
  EXPECT_EQ(readFile(path("trace")).find("write "), std::string::npos);  // nothing sent after the identify
  EXPECT_EQ(steps(entries()), "write failed P-1 ");
  EXPECT_EQ(run({"write", "--port", sim.port(), path("fresh.dat"), "--override", "  "}).code, 2);

  const CliResult done = write(sim, {"--override", "licence renewal filed", "--no-backup"});
  ASSERT_EQ(done.code, 0) << done.err;
  EXPECT_NE(done.err.find("reason: licence renewal filed"), std::string::npos) << done.err;
  EXPECT_EQ(savedImage(path("now.img")).size(), 2561u);
  const CliResult shown = run({"history", "show", QString::number(entries()[1].toObject()["id"].toInt())});
  EXPECT_NE(shown.out.find("licence renewal filed"), std::string::npos) << shown.out;

  // A fleet run is refused before any radio, and with the reason it goes into the log.
  Sim other({"--serial", "P-2", "--image", path("old.img")});
  const QStringList fleet{"fleet", path("fresh.dat"), "--port", sim.port(), "--port", other.port(),
                          "--count", "2", "--no-backup", "--reply-timeout", "400"};
  const CliResult blocked = run(fleet);
  EXPECT_EQ(blocked.code, 1);
  EXPECT_NE(blocked.err.find("Error tx-not-licensed"), std::string::npos) << blocked.err;
  const CliResult overridden = run(fleet + QStringList{"--override", "agreed by phone", "--customer", "Taxis"});
  ASSERT_EQ(overridden.code, 0) << overridden.err;
  EXPECT_NE(overridden.out.find("P-2: written and verified (plan errors overridden: agreed by phone)"),
            std::string::npos) << overridden.out;
  const QStringList logs = QDir(dir_.path()).entryList({"fresh-fleet-*.csv"});
  ASSERT_EQ(logs.size(), 1);
  EXPECT_NE(readFile(path(logs[0])).find(",OK,written and verified (plan errors overridden: agreed by phone)"),
            std::string::npos);
  const std::string fleetSteps = steps(entries({"--customer", "Taxis"}));
  EXPECT_NE(fleetSteps.find("fleet ok P-1 Taxis"), std::string::npos) << fleetSteps;
  EXPECT_NE(fleetSteps.find("fleet ok P-2 Taxis"), std::string::npos) << fleetSteps;
}

TEST_F(HistoryCli, AHistoryThatCannotRecordLeavesTheWriteAsItIs) {
  ASSERT_EQ(::mkdir(path("locked").toLocal8Bit(), 0555), 0);
  QStringList args{"write", "--port", "", path("fresh.dat"), "--verify", "--no-backup", "--reply-timeout", "400",
                   "--database", path("locked/history.sqlite")};
  Sim sim({"--serial", "R-1", "--image", path("old.img")});
  args[2] = sim.port();
  QString program = kProgramDir + "/n27-cli";
  if (::geteuid() == 0) {  // root writes into any folder: run as an ordinary user
    const auto [uid, gid] = history::test::UnprivilegedUser();
    ASSERT_EQ(::chmod(dir_.path().toLocal8Bit(), 0755) | ::chmod(path("fresh.dat").toLocal8Bit(), 0644) |
                  ::chmod(path("fresh.NVD").toLocal8Bit(), 0644) | ::chmod(sim.device().c_str(), 0666),
              0);
    args = QStringList{"--reuid=" + QString::number(uid), "--regid=" + QString::number(gid), "--clear-groups",
                       program} + args;
    program = "setpriv";
  }
  QProcess p;
  p.setProcessEnvironment(env_);
  p.start(program, args);
  const CliResult r = finish(p);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("Verified"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("This step was not recorded in the radio history: "), std::string::npos) << r.err;
}

// Two programs writing two radios into one history at the same moment lose no entry: the
// default SQLite file, and a PostgreSQL server when one can be started.
TEST_F(HistoryCli, TwoWritesAtOnceLoseNoEntry) {
  history::test::PostgresServer server;
  bool missing = false;
  const std::string problem = server.start(missing);
  for (const QString &database : {QString(), QString::fromStdString(server.url())}) {
    if (!database.isEmpty() && !problem.empty()) {
      if (!missing) ADD_FAILURE() << problem;
      continue;
    }
    const QStringList where = database.isEmpty() ? QStringList{} : QStringList{"--database", database};
    for (int round = 0; round < 3; ++round) {
      Sim a({"--serial", "A-1", "--image", path("old.img")}), b({"--serial", "B-1", "--image", path("old.img")});
      QProcess pa, pb;
      const QStringList common{path("fresh.dat"), "--verify", "--no-backup", "--reply-timeout", "400"};
      startCli(pa, QStringList{"write", "--port", a.port()} + common + where, env_);
      startCli(pb, QStringList{"write", "--port", b.port()} + common + where, env_);
      const CliResult ra = finish(pa), rb = finish(pb);
      ASSERT_EQ(ra.code + rb.code, 0) << ra.err << rb.err;
      EXPECT_EQ(ra.err.find("not recorded"), std::string::npos) << ra.err;
    }
    EXPECT_EQ(entries(where).size(), 12) << database.toStdString();
  }
}

}  // namespace
}  // namespace n27
