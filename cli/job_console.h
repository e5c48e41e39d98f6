#pragma once
// What the command line shows of a programming job: a bar with the step ("2/3 Write") on a
// terminal, each step's outcome on stderr, and running a job on a port to its end.

#include <string>

#include "cli/radio_link.h"
#include "link/programming_job.h"

namespace n27::cli {

class ConsoleJobListener : public JobListener {
 public:
  explicit ConsoleJobListener(std::string command);
  void stepStarted(JobStep step, int number, int count) override;
  void progress(JobStep step, int stepPercent, int jobPercent) override;
  void stepEnded(JobStep step, bool ok, const std::string &text, double seconds) override;
  void remark(const std::string &text) override;
  void jobEnded(const JobResult &result) override;

 private:
  void endBar();
  std::string command_;
  std::string label_;
  bool bar_;
  bool barShown_ = false;
};

// Runs one programming job of `config` on the port of `options` until it ends, in an event
// loop of its own; `listener` hears every step. Attended: the transfer's questions and
// messages go to the terminal as for a read (Retry --retries times, then Cancel); otherwise
// they are answered by the unattended policy and only the job's facts are told.
JobResult RunJob(const std::string &command, const Workspace &config, JobOptions job,
                 const LinkOptions &options, JobListener &listener, bool attended = true);

// The usage line of --no-backup.
extern const char *const kBackupOptionUsage;

}  // namespace n27::cli
