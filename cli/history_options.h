#pragma once
// The radio history of the commands that touch a radio (read, write, restore, fleet): which
// history records their steps (--database, --no-history), the run's customer label
// (--customer), and a history that cannot be opened told once and per step, never changing
// the command's outcome.

#include <memory>
#include <string>

#include "cli/cli_util.h"
#include "link/backup.h"
#include "link/frames.h"
#include "link/job_steps.h"

namespace n27::history {
class Store;
}

namespace n27::cli {

inline const OptionDef kDatabaseOption{{"--database"}, true};
inline const OptionDef kNoHistoryOption{{"--no-history"}, false};
inline const OptionDef kCustomerOption{{"--customer"}, true};
// The usage lines of those three options.
extern const char *const kHistoryOptionsUsage;

// Adds --customer, --database and --no-history.
void AddHistoryOptions(std::vector<OptionDef> &defs);

// The recorder of one command run. Opened from --database URL, else the configured history
// (n27.ini); nothing with --no-history. A damaged database kept aside is told on stderr once,
// when it is opened. A history that cannot be opened still gives a recorder: each step it is
// handed comes back as "This step was not recorded in the radio history: <why>", and it
// protects no backup (nothing is pruned while the history cannot say what it names).
class CommandHistory {
 public:
  explicit CommandHistory(const Args &args);
  // null with --no-history.
  JobRecorder *recorder() { return recorder_.get(); }
  const std::string &customer() const { return customer_; }
  // The history opened (null with --no-history or when it could not be opened: `problem`).
  history::Store *store() { return store_; }
  const std::string &problem() const { return problem_; }

 private:
  std::unique_ptr<JobRecorder> recorder_;
  history::Store *store_ = nullptr;
  std::string customer_, problem_;
};

// The radio history of a read: its backup kept with what the history protects, and the Read
// entry (the radio, the port, the data file, the backup and the image). A step that cannot be
// recorded is told on stderr and changes nothing.
class ReadRecord {
 public:
  ReadRecord(CommandHistory &history, const std::string &port);
  BackupResult keepBackup(const Workspace &radio);
  // The read completed: `file` the data file saved ("" when the save failed), `backup` the
  // image kept ("" when none).
  void done(const Workspace &radio, const link::Identification &id, const std::string &file,
            const std::string &backup);
  // The read failed after the radio identified itself (before that, no radio was touched).
  void failed(const Workspace &radio, const link::Identification &id, const std::string &why);

 private:
  void record(JobRecord &entry, const Workspace &radio, const link::Identification &id);
  CommandHistory &history_;
  std::string port_;
};

}  // namespace n27::cli
