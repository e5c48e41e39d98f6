#pragma once
// The job's record step into the radio history: each JobRecord becomes one entry of the store
// (with its image), and pruning asks the history which backups it must keep.

#include <memory>

#include "history/history_store.h"
#include "link/job_steps.h"

namespace n27::history {

class Recorder : public JobRecorder {
 public:
  Recorder(std::unique_ptr<Store> store, Origin origin);

  // "" when recorded; else "This step was not recorded in the radio history: <why>". Never
  // throws: whatever goes wrong in the store becomes the reason.
  std::string record(const JobRecord &entry) override;
  std::optional<std::set<std::string>> protectedBackups() override;
  void backupsPruned(const std::vector<std::string> &images) override;

  Store &store() { return *store_; }
  const Origin &origin() const { return origin_; }
  // The id of the last entry recorded (0: none yet).
  int64_t lastId() const { return lastId_; }

 private:
  std::unique_ptr<Store> store_;
  Origin origin_;
  int64_t lastId_ = 0;
};

// "This step was not recorded in the radio history: %1" in the current language.
std::string NotRecordedMessage(const std::string &why);

}  // namespace n27::history
