#pragma once
// A programming job's line to in-process simulated radios: each transfer runs a real
// TransferEngine against the radio on the "cable", answering its questions as an unattended
// run does, and reports the end to the job only after startTransfer has returned.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/engine_harness.h"
#include "link/programming_job.h"

namespace n27::test {

struct SimLine : JobLine, ScriptedHost {
  sim::SimulatedRadio *radio = nullptr;  // the radio on the cable; null: nothing answers
  VersionTable versions = MakeVersions();
  std::vector<TransferType> transfers;   // every transfer started, in order
  std::function<void(TransferType)> beforeTransfer;  // may plug another radio in

  void startTransfer(TransferType type, Workspace &ws, TransferClient &client) override {
    pending_ = Pending{type, &ws, &client};
  }
  // Runs the transfers the job asks for until it asks for none.
  void run() {
    while (pending_) {
      Pending p = *pending_;
      pending_.reset();
      transfers.push_back(p.type);
      if (beforeTransfer) beforeTransfer(p.type);
      client_ = p.client;
      messages.clear();
      TransferEngine engine(*p.ws, versions, *this);
      engine.start(p.type);
      for (int timeouts = 0; engine.running() && timeouts < 50;) {
        if (!toRadio.empty() && radio) {
          Bytes request = toRadio.front();
          toRadio.pop_front();
          for (const Bytes &reply : radio->receive(request)) engine.onBytesReceived(reply);
          continue;
        }
        toRadio.clear();
        ++timeouts;
        if (radio) radio->resetFraming();
        engine.onReplyTimeout();
      }
      TransferOutcome o;
      o.ok = !results.empty() && results.back();
      o.radio = engine.identification();
      o.summary = engine.summary();
      if (!o.ok && !messages.empty()) o.message = messages.back().first;
      client_ = nullptr;
      p.client->transferEnded(o);
    }
  }
  void progress(int percent) override {
    if (client_) client_->transferProgress(percent);
  }

 private:
  struct Pending {
    TransferType type;
    Workspace *ws;
    TransferClient *client;
  };
  std::optional<Pending> pending_;
  TransferClient *client_ = nullptr;
};

// Records what a job tells its listener.
struct JobLog : JobListener {
  std::vector<std::string> steps;  // "Backup 1/3", "Backup ok" …
  std::vector<std::string> remarks;
  std::vector<int> jobPercents;
  std::optional<JobResult> result;

  void stepStarted(JobStep s, int number, int count) override {
    steps.push_back(JobStepName(s) + " " + std::to_string(number) + "/" + std::to_string(count));
  }
  void progress(JobStep, int, int job) override { jobPercents.push_back(job); }
  void stepEnded(JobStep s, bool ok, const std::string &, double seconds) override {
    steps.push_back(JobStepName(s) + (ok ? " ok" : " failed"));
    EXPECT_GE(seconds, 0.0);
  }
  void remark(const std::string &text) override { remarks.push_back(text); }
  void jobEnded(const JobResult &r) override { result = r; }
};

}  // namespace n27::test
