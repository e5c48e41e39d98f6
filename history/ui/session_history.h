#pragma once
// The desktop session's radio history: opened at the first transfer and kept open, handed to
// every job and read of the session. A history that cannot be opened or cannot record never
// changes a transfer's outcome: what went wrong is gathered for the status bar and the
// Messages list, and the history is opened again for the next transfer.

#include <memory>
#include <string>
#include <vector>

#include "link/job_steps.h"

namespace n27 {

namespace history {
class Recorder;
}

class SessionHistory {
 public:
  explicit SessionHistory(std::string programVersion);
  ~SessionHistory();

  // The recorder for the next transfer: the configured history, opened now when it is not
  // open yet or failed last time. Null when it cannot be opened (the reason is kept for
  // endTransfer()).
  JobRecorder *recorder();
  // A transfer has ended: the distinct "This step was not recorded in the radio history: …"
  // messages since the last call, joined by spaces ("" when every step was recorded). A
  // history that failed is closed, to be opened again for the next transfer.
  std::string endTransfer();
  // Where a damaged history was put aside when it was opened: once, then "".
  std::string takeNotice();

 private:
  class Tap;
  void note(const std::string &problem);

  std::string version_;
  std::unique_ptr<history::Recorder> recorder_;
  std::unique_ptr<Tap> tap_;
  std::vector<std::string> problems_;
  std::string notice_;
  bool failed_ = false;
};

}  // namespace n27
