#pragma once
// The messages of this run a dealer may want to read again: every status bar message and
// every message box, with the time it was shown. The newest kCapacity are kept, oldest first.

#include <cstddef>
#include <ctime>
#include <deque>
#include <functional>
#include <string>

namespace n27 {

struct LoggedMessage {
  std::time_t time = 0;
  std::string text;  // one line
};

class MessageLog {
 public:
  static constexpr std::size_t kCapacity = 200;
  // A longer text (a reason listing a whole file) is cut and ends in "…".
  static constexpr std::size_t kMaxLength = 2000;

  // Adds a message shown at `when`. Line breaks become spaces and blanks at either end go;
  // an empty text is not kept, nor the same text shown again in the same second (a message
  // put in the status bar and in a box at once). True when the message was added.
  bool add(const std::string &text, std::time_t when);
  const std::deque<LoggedMessage> &entries() const { return entries_; }
  void clear();

  // "14:03:27" in local time.
  static std::string timeText(std::time_t when);
  // "14:03:27  Read Data Completed." — a line as it is copied.
  static std::string lineText(const LoggedMessage &m);

  // Told after every change.
  std::function<void()> changed;

 private:
  std::deque<LoggedMessage> entries_;
};

}  // namespace n27
