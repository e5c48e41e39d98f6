#pragma once
// What the command line shows of a programming job: a bar with the step ("2/3 Write") on a
// terminal, each step's outcome on stderr, and running a job on a port to its end.

#include <optional>
#include <string>
#include <vector>

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

// The options of a command that writes radios (the line, the plan check, the history) and
// `extra`: parsed, the line's options read into `link` and an --override checked. nullopt with
// the exit code in `rc` for wrong use.
std::optional<Args> ParseWriteCommand(const std::string &command, const std::vector<std::string> &args,
                                      std::vector<OptionDef> extra, const std::string &usage, LinkOptions &link,
                                      int &rc);

}  // namespace n27::cli
