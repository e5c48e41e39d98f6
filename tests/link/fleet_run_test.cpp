// The fleet run over fake cables to in-process simulated radios: polling, parallel jobs,
// already done, retry, per-radio message lines and the log.

#include <gtest/gtest.h>

#include <filesystem>

#include "channels/channel_context.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "codeplug/configuration.h"
#include "codeplug/memory_map.h"
#include "link/fleet_run.h"
#include "link/group_write.h"
#include "link/job_harness.h"

namespace n27::test {
namespace {

namespace fs = std::filesystem;

struct FakeCable : CableLine {
  std::string port;
  sim::SimulatedRadio *radio = nullptr;
  SimLine line;
  std::function<void(bool, const std::string &)> pollDone;
  std::function<void()> wake;
  std::vector<double> gaps;  // from each program request to the next one asked for, in ms
  std::chrono::steady_clock::time_point lastPoll;
  int polls = 0;

  explicit FakeCable(std::string name) : port(std::move(name)) {}
  std::string name() const override { return port; }
  void startTransfer(TransferType type, Workspace &ws, TransferClient &client) override {
    line.radio = radio;
    line.startTransfer(type, ws, client);
  }
  void poll(bool, std::function<void(bool, const std::string &)> done) override {
    ++polls;
    lastPoll = std::chrono::steady_clock::now();
    pollDone = std::move(done);
  }
  void wakeAfter(int ms, std::function<void()> w) override {
    gaps.push_back(ms + std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - lastPoll).count());
    wake = std::move(w);
  }
  void cancel() override { pollDone = nullptr, wake = nullptr; }

  // One turn of the event loop for this cable; false when it had nothing to do.
  bool turn() {
    if (auto done = std::exchange(pollDone, nullptr)) {
      const bool answered = radio && !radio->receive(link::ProgramRequest().bytes).empty();
      done(answered, {});
      line.run();
      return true;
    }
    if (auto w = std::exchange(wake, nullptr)) {
      w();
      line.run();
      return true;
    }
    return false;
  }
};

std::string messageLine(const sim::SimulatedRadio &radio) {
  std::string text;
  for (std::size_t a = mem::kMessage1; a < mem::kMessage1 + 32 && radio.memory()[a] != 0xFF; ++a)
    text.push_back(static_cast<char>(radio.memory()[a]));
  return text;
}

int writesOf(sim::SimulatedRadio &radio) {
  int n = 0;
  for (const sim::Event &e : radio.takeEvents()) n += e.kind == sim::Event::Write;
  return n;
}

struct Events : FleetListener {
  std::vector<std::string> lines;
  bool ended = false;
  void radioEnded(int, const FleetLogEntry &e) override { lines.push_back(FleetEventLine(e)); }
  void runEnded() override { ended = true; }
};

TEST(Fleet, FourCablesProgramEachRadioOnceWithItsOwnMessageLines) {
  const fs::path folder = fs::temp_directory_path() / ("n27_fleet_" + std::to_string(::getpid()));
  fs::remove_all(folder);
  Workspace config = MakeWorkspace();
  config.loadDefaultFile = false;
  NewConfiguration(config);
  ChannelContext ctx(config);
  ChangeChannel(ctx, 1, 1, kFieldRx, "446.00625");
  std::string error;
  FleetOptions options;
  options.messages = MessageList::Parse("Serial,Line1,Line2\nR-2,BRAVO,TWO\n,ALPHA,\n,CHARLIE,\n", error);
  ASSERT_TRUE(options.messages) << error;
  options.runFolder = (folder / "run").string();
  options.job.backupFolder = (folder / "backups").string();

  sim::RadioSettings s1, s2, s9;
  s1.serial = "R-1", s2.serial = "R-2", s9.serial = "R-9", s9.band = 1;
  sim::SimulatedRadio r1(s1), r2(s2), vhf(s9);
  FakeCable c0("COM1"), c1("COM2"), c2("COM3"), c3("COM4");
  c0.radio = &r1, c1.radio = &r2, c3.radio = &vhf;
  std::vector<FakeCable *> all{&c0, &c1, &c2, &c3};
  Events events;
  FleetRun run({&c0, &c1, &c2, &c3}, events, config, std::move(options));
  auto drive = [&](int turns) {
    for (int t = 0; t < turns; ++t)
      for (FakeCable *c : all) c->turn();
  };
  run.start();
  drive(6);
  ASSERT_EQ(events.lines.size(), 3u);
  EXPECT_EQ(run.totalText(), "2 done, 1 failed, 4 cables waiting");
  EXPECT_EQ(run.cable(0).state, CableState::Done);
  EXPECT_EQ(run.cable(3).outcome, "radio 136–174 MHz, configuration 400–490 MHz: not written");
  EXPECT_TRUE(run.cable(3).canRetry);
  EXPECT_EQ(messageLine(r1), "ALPHA");  // the first row without a serial number
  EXPECT_EQ(messageLine(r2), "BRAVO");  // its own row
  EXPECT_TRUE(fs::exists(folder / "run" / "R-1.dat"));
  EXPECT_TRUE(fs::exists(folder / "run" / "R-2.dat"));
  // The empty cable only ever sent the program request, at most once a second.
  EXPECT_EQ(run.cable(2).state, CableState::Waiting);
  EXPECT_GE(c2.polls, 3);
  for (double ms : c2.gaps) EXPECT_GE(ms, 999.0);
  EXPECT_GT(writesOf(r1), 150);
  EXPECT_EQ(writesOf(vhf), 0);

  // R-1 moves to the empty cable: already done there, and its first cable waits again.
  c0.radio = nullptr;
  c2.radio = &r1;
  drive(4);
  EXPECT_EQ(run.cable(0).state, CableState::Waiting);
  EXPECT_EQ(run.cable(2).state, CableState::AlreadyDone);
  EXPECT_EQ(writesOf(r1), 0);
  // One click writes the failed radio again (it fails again: still the other band).
  EXPECT_TRUE(run.retry(3));
  drive(2);
  EXPECT_EQ(run.failed(), 2);
  EXPECT_FALSE(run.allSucceeded());

  run.stop();
  drive(2);
  EXPECT_TRUE(events.ended);
  const std::string csv = FleetLogCsv(run.log());
  EXPECT_NE(csv.find("R-1,V101,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",ALREADY DONE,already done\r\n"), std::string::npos) << csv;
  fs::remove_all(folder);
}

TEST(Fleet, TheLogIsOneCsvRowPerRadio) {
  FleetLogEntry e;
  e.number = 7;
  e.port = "COM66";
  e.serial = "=N27-0042";
  e.firmware = "V101";
  e.time = 0;
  e.steps = {{JobStep::Identify, 0.12, true}, {JobStep::Write, 0.94, true}};
  e.outcome = JobOutcome::Failed;
  e.detail = {"verify failed at 0x020E", ""};
  e.seconds = 4.25;
  const std::string csv = FleetLogCsv({e});
  const std::string time = LocalTimeText(0);
  EXPECT_EQ(csv, "Number,Port,Serial,Firmware,Time,Steps,Result,Detail\r\n"
                 "7,COM66,'=N27-0042,V101," + time + ",Identify 0.1 s; Write 0.9 s,FAILED,verify failed at 0x020E\r\n");
  EXPECT_EQ(FleetEventLine(e), "COM66 =N27-0042: verify failed at 0x020E (4.2 s)");
}

TEST(Fleet, AMessageListThatCannotBeUsedSaysWhy) {
  struct Case {
    const char *csv, *error;
  } cases[] = {
      {"Serial,Text\nA,B\n", "the list needs the columns Line1 and Line2"},
      {"Line1,Line2\nOK,\n" "THIS LINE IS FAR TOO LONG FOR THE RADIO,\n", "line 3: Line1 is longer than 32 characters"},
      {"Serial,Line1,Line2\nA,x,y\nA,z,w\n", "line 3: serial number A is given twice"},
      {"Line1,Line2\n\"caf\xC3\xA9\",\n", "line 2: Line1 holds a character the radio cannot show"},
      {"Line1,Line2\n", "the list holds no row"},
  };
  for (const Case &c : cases) {
    std::string error;
    EXPECT_FALSE(MessageList::Parse(c.csv, error));
    EXPECT_TRUE(error.starts_with(c.error)) << error;
  }
  // A row handed out to a radio that failed goes to the next radio.
  std::string error;
  auto list = MessageList::Parse("Line1,Line2\nA,\nB,\n", error);
  ASSERT_TRUE(list);
  const MessageRow *first = list->take("X");
  EXPECT_EQ(list->take("X"), first);  // the same radio again
  list->giveBack(first);
  EXPECT_EQ(list->take("Y")->line1, "A");
  EXPECT_EQ(list->take("Z")->line1, "B");
  EXPECT_EQ(list->take("W"), nullptr);
}

}  // namespace
}  // namespace n27::test
