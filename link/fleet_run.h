#pragma once
// The fleet run: one configuration written to many radios on several cables at once, with no
// click per radio.
//
// Each cable without a job looks for a radio: the program request alone, at most once a
// second, and nothing else while nothing answers. A radio that answers starts its programming
// job at once (identify, check, backup, write, verify). After its job the radio stays on the
// cable until a program request goes unanswered (it was unplugged); plugging in the next radio
// starts the next job. A radio whose serial number was done in this run is "already done" and
// not written again; a failed radio is written again by retry() or by plugging it in again.
//
// Radios may get their own message lines from a MessageList; the configuration written to
// each radio is kept as "<serial>.dat" in the run's folder; every radio's job is one entry of
// the run's log.
//
// Like the job, the run is event-driven: cables report poll answers and timer wake-ups, so
// all cables run side by side in one event loop.

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/fleet_messages.h"
#include "link/programming_job.h"

namespace n27 {

// A job's line that can also look for a radio.
class CableLine : public JobLine {
 public:
  // The port's name as the dealer knows it ("COM66").
  virtual std::string name() const = 0;
  // Sends the program request alone and calls `done` later (never from inside this call)
  // with whether a radio acknowledged it. With `release` an answered request is followed by
  // the end request. `problem`: why no request could be sent (a port that is gone), or "".
  virtual void poll(bool release, std::function<void(bool answered, const std::string &problem)> done) = 0;
  // Calls `wake` after `ms` milliseconds (replacing a wake-up still pending).
  virtual void wakeAfter(int ms, std::function<void()> wake) = 0;
  // Forgets the callbacks given: the run is going away.
  virtual void cancel() = 0;
};

enum class CableState { Waiting, Identifying, Checking, BackingUp, Writing, Verifying, Done, Failed, AlreadyDone };
// "waiting for a radio", "identifying" … "already done" in the current language.
std::string CableStateText(CableState state);

struct CableView {
  std::string port;
  CableState state = CableState::Waiting;
  std::string serial;   // of the radio on it, or last on it
  int percent = 0;      // of the running job
  std::string outcome;  // the last radio's fact, or why the port cannot be used
  bool canRetry = false;  // a failed radio is still on the cable
};

// One entry of the run's log.
struct FleetLogEntry {
  int number = 0;
  std::string port, serial, firmware;
  std::time_t time = 0;        // when its job ended
  std::vector<StepTime> steps;
  JobOutcome outcome = JobOutcome::Failed;
  JobFact detail;
  double seconds = 0;
};

class FleetListener {
 public:
  virtual ~FleetListener() = default;
  virtual void cableChanged(int cable) {}
  // A radio's job ended: its log entry.
  virtual void radioEnded(int cable, const FleetLogEntry &entry) {}
  virtual void remark(int cable, const std::string &text) {}
  // No job runs and none will start: the run is over.
  virtual void runEnded() {}
};

struct FleetOptions {
  JobOptions job;                 // backup, verify, plan gate, recorder, customer …
  int count = 0;                  // end after this many radios are done (0: until stopped)
  std::optional<MessageList> messages;
  std::string runFolder;          // where each radio's configuration is kept ("": not kept)
  int pollIntervalMs = 1000;      // at most one program request per second and cable
};

class FleetRun {
 public:
  // `lines` outlive the run.
  FleetRun(std::vector<CableLine *> lines, FleetListener &listener, const Workspace &config,
           FleetOptions options);
  ~FleetRun();

  void start();
  // No new job starts; the jobs running finish, then runEnded().
  void stop();
  // The failed radio still on `cable` is written again now.
  bool retry(int cable);

  bool ended() const { return ended_; }
  bool stopping() const { return stopping_; }
  int cables() const;
  const CableView &cable(int i) const;
  const std::vector<FleetLogEntry> &log() const { return log_; }
  int done() const { return done_; }
  int failed() const { return failed_; }
  int waiting() const;  // cables without a running job
  // "12 done, 1 failed, 3 cables waiting" in the current language.
  std::string totalText() const;
  // Every radio whose job started succeeded (already done counts as neither).
  bool allSucceeded() const { return failed_ == 0; }

 private:
  struct Cable;
  class JobEvents;
  void pollNow(int i);
  void polled(int i, bool answered, const std::string &problem);
  void schedulePoll(int i);
  void startJob(int i);
  void jobEnded(int i, const JobResult &result);
  void keepConfiguration(int i, const ProgrammingJob &job);
  void checkEnd();
  void changed(int i);

  FleetListener &listener_;
  const Workspace &config_;
  FleetOptions options_;
  std::vector<Cable> cables_;
  std::vector<FleetLogEntry> log_;
  std::set<std::string> doneSerials_;
  int numbers_ = 0, done_ = 0, failed_ = 0;
  bool started_ = false, stopping_ = false, ended_ = false;
};

// The run's log as CSV (RFC 4180, CRLF), header
// "Number,Port,Serial,Firmware,Time,Steps,Result,Detail"; Steps like
// "Identify 0.1 s; Backup 1.2 s; Write 0.9 s; Verify 1.2 s"; Result OK, FAILED or ALREADY DONE.
std::string FleetLogCsv(const std::vector<FleetLogEntry> &entries);
// One line of the command line's output: "COM66 N27-0042: written and verified (4.3 s)".
std::string FleetEventLine(const FleetLogEntry &entry);
// The folder for each radio's configuration, beside the log: "<stem>-fleet-YYYYMMDD-HHMMSS".
std::string FleetRunFolder(const std::string &dataFile, std::time_t start);

}  // namespace n27
