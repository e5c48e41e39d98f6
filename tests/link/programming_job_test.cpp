// The programming job against in-process simulated radios: the order of its steps, what it
// refuses before anything is written, what a failure says, and whose tuning values a test-mode
// write sends.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "link/backup.h"
#include "link/job_harness.h"
#include "link/tuning_block.h"

namespace n27::test {
namespace {

namespace fs = std::filesystem;

// A radio's identity; the rest as the simulator's default radio.
sim::RadioSettings settingsFor(std::string serial, int band = 0, std::string model = "N27PR") {
  sim::RadioSettings s;
  s.serial = std::move(serial);
  s.band = band;
  s.model = std::move(model);
  return s;
}
sim::Faults faults(int stuckByte, int stopAfter = 0) {
  sim::Faults f;
  f.stuckByte = stuckByte;
  f.stopAfterBlocks = stopAfter;
  return f;
}

// A plan gate and a radio history that note when they are called.
struct FakeGate : PlanGate {
  std::vector<std::string> *order = nullptr;
  PlanVerdict verdict;
  PlanVerdict check(const CodeplugData &config) override {
    order->push_back("check " + std::to_string(config.channelCount));
    return verdict;
  }
};
struct FakeRecorder : JobRecorder {
  std::vector<JobRecord> records;
  std::string answer;
  std::optional<std::set<std::string>> latest = std::set<std::string>{};
  std::vector<std::string> pruned;
  std::string record(const JobRecord &e) override {
    records.push_back(e);
    return answer;
  }
  std::optional<std::set<std::string>> protectedBackups() override { return latest; }
  void backupsPruned(const std::vector<std::string> &images) override { pruned = images; }
};

class Job : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("n27_job_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    config = MakeWorkspace();
    config.loadDefaultFile = false;
    NewConfiguration(config);
    ChannelContext ctx(config);
    ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
    ChangeChannel(ctx, 1, 2, kFieldRx, "440.00000");
    options.backupFolder = (folder / "backups").string();
    options.recorder = &recorder;
  }
  void TearDown() override { fs::remove_all(folder); }

  // Runs one job on the radio; the line's transfers are noted in `order`.
  JobResult run(sim::SimulatedRadio &radio) {
    line.radio = &radio;
    line.beforeTransfer = [this](TransferType t) { order.push_back(std::to_string(int(t))); };
    ProgrammingJob job(line, log, config, options);
    job.start();
    line.run();
    EXPECT_TRUE(log.result.has_value());
    return log.result.value_or(JobResult{});
  }

  fs::path folder;
  Workspace config;
  JobOptions options;
  FakeRecorder recorder;
  SimLine line;
  JobLog log;
  std::vector<std::string> order;
};

TEST_F(Job, IdentifiesChecksBacksUpWritesAndVerifiesInThatOrder) {
  sim::SimulatedRadio radio(settingsFor("N27-0042"));
  FakeGate gate;
  gate.order = &order;
  options.gate = &gate;
  recorder.answer = "the history database is locked";
  const JobResult r = run(radio);
  ASSERT_EQ(r.outcome, JobOutcome::Done) << r.message;
  EXPECT_EQ(r.fact.english, "written and verified");
  EXPECT_EQ(r.fact.chinese, "已写入并校验");
  EXPECT_TRUE(r.verified);
  // Radio information (3), the check, the backup read (1), the write (2), the read back (1).
  EXPECT_EQ(order, (std::vector<std::string>{"3", "check 2", "1", "2", "1"}));
  EXPECT_EQ(log.steps, (std::vector<std::string>{"Identify 0/3", "Identify ok", "Check 0/3", "Check ok",
                                                 "Backup 1/3", "Backup ok", "Write 2/3", "Write ok",
                                                 "Verify 3/3", "Verify ok"}));
  EXPECT_EQ(r.radio.serial, "N27-0042");
  EXPECT_EQ(r.radio.firmware, "V101");
  EXPECT_TRUE(fs::exists(r.backupPath)) << r.backupPath;
  // One bar for the whole job: it only rises, up to the end.
  EXPECT_TRUE(std::is_sorted(log.jobPercents.begin(), log.jobPercents.end()));
  EXPECT_GE(log.jobPercents.back(), 99);
  // Each step that touched the radio is recorded; a recorder that fails is a remark only.
  ASSERT_EQ(recorder.records.size(), 3u);
  EXPECT_EQ(recorder.records[0].operation, JobOperation::Read);
  EXPECT_EQ(recorder.records[1].operation, JobOperation::Write);
  EXPECT_EQ(recorder.records[2].operation, JobOperation::Verify);
  EXPECT_EQ(recorder.records[1].backupBefore, r.backupPath);
  EXPECT_EQ(recorder.records[1].radio.serial, "N27-0042");
  // The read-back is kept as the radio's state after the write.
  EXPECT_NE(recorder.records[2].backupAfter.find("_after-write"), std::string::npos);
  EXPECT_TRUE(fs::exists(recorder.records[2].backupAfter));
  EXPECT_EQ(log.remarks.size(), 3u);
  Workspace now = MakeWorkspace();  // the radio holds the configuration now
  now.loadDefaultFile = false;
  NewConfiguration(now);
  for (std::size_t a = 0; a < RadioImage::kSize; ++a) now.image.set(a, radio.memory()[a]);
  DecodeImage(now);
  EXPECT_EQ(now.working.channelCount, 2);
}

TEST_F(Job, RefusesTheWrongRadioBeforeAnythingIsWritten) {
  struct Case {
    const char *name;
    int band;
    const char *model;
    bool killed, stunned, blockedPlan;
    const char *fact;
  } cases[] = {
      {"other band", 1, "N27PR", false, false, false, "radio 136–174 MHz, configuration 400–490 MHz: not written"},
      {"other model", 0, "X9", false, false, false, "radio model X9, configuration N27PR: not written"},
      {"killed only", 0, "N27PR", true, false, false, "Radio is killed,can't be written!"},
      {"stunned", 0, "N27PR", false, true, false, "Radio is fainted,can't be written!"},
      {"plan errors", 0, "N27PR", false, false, true,
       "the plan check found errors (channel 2 is not licensed): not written"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    sim::RadioSettings settings = settingsFor("N27SIM0000000001", c.band, c.model);
    settings.killed = c.killed;
    settings.stunned = c.stunned;
    sim::SimulatedRadio radio(settings);
    FakeGate gate;
    gate.order = &order;
    gate.verdict.blocked = c.blockedPlan;
    if (c.blockedPlan) gate.verdict.findings.push_back({FindingSeverity::Error, "tx", 2, "channel 2 is not licensed"});
    options.gate = &gate;
    recorder.records.clear();
    log = {};
    line.transfers.clear();
    const JobResult r = run(radio);
    EXPECT_EQ(r.outcome, JobOutcome::Failed);
    EXPECT_EQ(r.fact.english, c.fact);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(line.transfers, std::vector<TransferType>{TransferType::RadioInformation});
    EXPECT_TRUE(radio.writtenAddresses().empty());
    ASSERT_EQ(recorder.records.size(), 1u);  // the refusal, with the radio it refused
    EXPECT_FALSE(recorder.records[0].ok);
    EXPECT_EQ(recorder.records[0].radio.serial, "N27SIM0000000001");
  }
  // A radio done already in this run is left alone.
  sim::SimulatedRadio done(settingsFor("DONE-1"));
  options.gate = nullptr;
  options.alreadyDone = [](const RadioIdentity &id) { return id.serial == "DONE-1"; };
  log = {};
  EXPECT_EQ(run(done).outcome, JobOutcome::AlreadyDone);
  EXPECT_EQ(log.result->fact.english, "already done");
}

TEST_F(Job, PruningKeepsWhatTheHistoryNamesAndReportsTheRest) {
  // A full backup folder: two old backups beyond the newest 200, one of them the latest state
  // of radio OLD-1 in the history.
  const fs::path backups = options.backupFolder;
  fs::create_directories(backups);
  auto make = [&](const std::string &name) {
    std::ofstream(backups / (name + ".img")) << "x";
    return (backups / (name + ".img")).string();
  };
  const std::string latest = make("20200101-000000_SN-OLD-1_before-write");
  const std::string stale = make("20200101-000001_SN-OLD-2_before-write");
  for (int i = 0; i < 197; ++i) make("20210101-0" + std::to_string(10000 + i) + "_SN-N_read");
  sim::SimulatedRadio radio(settingsFor("P-1"));
  recorder.latest = std::nullopt;  // a history that cannot say: nothing is pruned
  ASSERT_EQ(run(radio).outcome, JobOutcome::Done);
  EXPECT_TRUE(fs::exists(stale));
  EXPECT_TRUE(recorder.pruned.empty());
  recorder.latest = std::set<std::string>{latest};
  options.verify = false;  // the first run kept a backup before and after its write
  log = {};
  ASSERT_EQ(run(radio).outcome, JobOutcome::Done);
  EXPECT_TRUE(fs::exists(latest));
  EXPECT_EQ(recorder.pruned, (std::vector<std::string>{stale}));
  EXPECT_FALSE(fs::exists(stale));
}

TEST_F(Job, AnOverrideReasonGoesWithTheFactAndEveryRecord) {
  sim::SimulatedRadio radio(settingsFor("O-1"));
  FakeGate gate;
  gate.order = &order;
  gate.verdict.findings.push_back({FindingSeverity::Error, "tx-not-licensed", 1, "channel 1 is not licensed"});
  gate.verdict.overrideReason = "licence renewal filed";
  options.gate = &gate;
  const JobResult r = run(radio);
  ASSERT_EQ(r.outcome, JobOutcome::Done);
  EXPECT_EQ(r.fact.english, "written and verified (plan errors overridden: licence renewal filed)");
  EXPECT_EQ(r.overrideReason, "licence renewal filed");
  ASSERT_EQ(recorder.records.size(), 3u);
  for (const JobRecord &e : recorder.records) EXPECT_EQ(e.overrideReason, "licence renewal filed");
}

TEST_F(Job, AFailureSaysWhereTheJobStopped) {
  {  // A worn memory cell: channel 2's RX starts at its record's first byte.
    const int at = static_cast<int>(mem::ChannelRecordAddress(2));
    sim::SimulatedRadio radio({}, faults(at));
    const JobResult r = run(radio);
    char where[40];
    std::snprintf(where, sizeof where, "verify failed at 0x%04X (%d)", at, at);
    EXPECT_EQ(r.fact.english, where);
    EXPECT_TRUE(r.message.starts_with("Verify failed: the radio holds different data")) << r.message;
  }
  {  // The radio stops answering in the middle of the write.
    sim::SimulatedRadio radio({}, faults(-1, 170));
    log = {};
    const JobResult r = run(radio);
    EXPECT_EQ(r.outcome, JobOutcome::Failed);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.fact.english, "the write did not complete (the radio did not answer)");
    EXPECT_EQ(log.steps.back(), "Write failed");
  }
  {  // Another radio answers after the identification: nothing is written to it.
    sim::SimulatedRadio first(settingsFor("A-1")), second(settingsFor("B-2"));
    line.beforeTransfer = nullptr;
    line.radio = &first;
    log = {};
    ProgrammingJob job(line, log, config, options);
    job.start();
    line.beforeTransfer = [&](TransferType t) { if (t == TransferType::Read) line.radio = &second; };
    line.run();
    EXPECT_EQ(log.result->fact.english, "another radio answered (serial number B-2, not A-1): stopped");
    EXPECT_TRUE(second.writtenAddresses().empty());
  }
  {  // Nothing on the cable.
    line.radio = nullptr;
    line.beforeTransfer = nullptr;
    log = {};
    ProgrammingJob job(line, log, config, options);
    job.start();
    line.run();
    EXPECT_EQ(log.result->fact.english, "the radio could not be identified (the radio did not answer): not written");
  }
}

// The tuning block as a radio holds it at 496..511.
std::vector<uint8_t> tuningOf(const sim::SimulatedRadio &radio) {
  return {radio.memory().begin() + mem::kTuningBlock, radio.memory().begin() + mem::kTuningBlock + 16};
}

TEST_F(Job, TestModeWritesEachRadiosOwnCalibration) {
  config.testMode = true;
  config.tuning = {0x11, 0x22, 0x33};
  config.tuningOrigin = {TuningSource::Radio, {}, false};
  config.tuningSerial = "RADIO-A";  // read from radio A
  options.operation = JobOperation::Group;
  sim::SimulatedRadio b(settingsFor("RADIO-B"));
  for (int i = 0; i < 14; ++i) b.memory()[mem::kTuningBlock + i] = static_cast<uint8_t>(0x40 + i);
  const std::vector<uint8_t> own = tuningOf(b);
  ASSERT_EQ(run(b).outcome, JobOutcome::Done) << log.result->message;
  EXPECT_EQ(tuningOf(b), own);  // B keeps its own calibration, not A's
  EXPECT_EQ(b.writtenAddresses().front(), mem::kTuningBlock);

  // Without its before-write read the job has no values of this radio: refused.
  options.backup = false;
  sim::SimulatedRadio c(settingsFor("RADIO-C"));
  log = {};
  EXPECT_EQ(run(c).fact.english,
            "test mode: the tuning values were read from radio RADIO-A, not from this radio: not written");
  EXPECT_TRUE(c.writtenAddresses().empty());

  // A single write of values read from this very radio (then edited) sends those values.
  options.operation = JobOperation::Write;
  config.tuningOrigin = {TuningSource::Radio, {}, true};
  config.tuningSerial = "RADIO-C";
  log = {};
  ASSERT_EQ(run(c).outcome, JobOutcome::Done) << log.result->message;
  EXPECT_EQ(tuningOf(c)[1], 0x22);
}

TEST(TestModeSwitch, TheMarkerInTheUsersConfigurationFolderCountsForEveryProgram) {
  const fs::path home = fs::temp_directory_path() / ("n27_cfg_" + std::to_string(::getpid()));
  fs::create_directories(home / "n27");
  const char *old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  EXPECT_FALSE(link::TestModeOn((home / "nowhere").string()));
  std::ofstream(home / "n27" / "TestData.ini") << "N27-FACTORY-TUNE:7Q2K-WX93-HB6M!\n";
  EXPECT_TRUE(link::TestModeOn((home / "nowhere").string()));
  old ? ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  fs::remove_all(home);
}

TEST(TransferEnd, ACancelledOrFailedTransferSaysSo) {
  TransferSummary s;
  s.blocks = 19;
  s.cancelled = true;
  EXPECT_EQ(TransferEndText(TransferType::Read, false, s),
            "The read was cancelled. Blocks: 19, asked for again: 0, restarts: 0.");
  s.cancelled = false;
  EXPECT_EQ(TransferEndText(TransferType::Write, false, s),
            "The write did not complete. Blocks: 19, asked for again: 0, restarts: 0.");
  EXPECT_EQ(TransferEndText(TransferType::Read, true, s),
            "Read Data Completed. Blocks: 19, asked for again: 0, restarts: 0.");
}

}  // namespace
}  // namespace n27::test
