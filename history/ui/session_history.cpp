#include "history/ui/session_history.h"

#include <algorithm>
#include <utility>

#include "history/qt/history_database.h"

namespace n27 {

// Hands every call to the history and keeps what it could not record.
class SessionHistory::Tap : public JobRecorder {
 public:
  explicit Tap(SessionHistory &owner) : owner_(owner) {}
  std::string record(const JobRecord &entry) override {
    std::string problem = owner_.recorder_->record(entry);
    if (!problem.empty()) owner_.note(problem);
    return problem;
  }
  std::optional<std::set<std::string>> protectedBackups() override { return owner_.recorder_->protectedBackups(); }
  void backupsPruned(const std::vector<std::string> &images) override { owner_.recorder_->backupsPruned(images); }

 private:
  SessionHistory &owner_;
};

SessionHistory::SessionHistory(std::string programVersion) : version_(std::move(programVersion)) {}
SessionHistory::~SessionHistory() = default;

void SessionHistory::note(const std::string &problem) {
  failed_ = true;
  if (std::find(problems_.begin(), problems_.end(), problem) == problems_.end()) problems_.push_back(problem);
}

JobRecorder *SessionHistory::recorder() {
  if (!recorder_) {
    std::string why, notice;
    recorder_ = history::OpenHistoryRecorder(version_, why, notice);
    if (!notice.empty()) notice_ = notice;
    if (!recorder_) {
      note(history::NotRecordedMessage(why));
      return nullptr;
    }
    tap_ = std::make_unique<Tap>(*this);
  }
  return tap_.get();
}

std::string SessionHistory::endTransfer() {
  std::string text;
  for (const std::string &p : problems_) text += (text.empty() ? "" : " ") + p;
  problems_.clear();
  if (failed_) {
    tap_.reset();
    recorder_.reset();
    failed_ = false;
  }
  return text;
}

std::string SessionHistory::takeNotice() { return std::exchange(notice_, std::string()); }

}  // namespace n27
