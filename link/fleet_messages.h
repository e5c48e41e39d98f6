#pragma once
// The per-radio message lines of a fleet run: a CSV list with the columns Serial, Line1 and
// Line2 (matched by header name, any order, other columns ignored). A row with a serial number
// belongs to that radio; rows without one are handed out to the other radios in order, one
// each. A radio that fails gives its row back for the next one.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace n27 {

struct MessageRow {
  int line = 0;  // its line in the file
  std::string serial, line1, line2;
};

// The largest list read: far more radios than any fleet.
inline constexpr std::size_t kMaxMessageListBytes = 1u << 20;
inline constexpr std::size_t kMaxMessageRows = 10000;

class MessageList {
 public:
  // Reads a list; nullopt with the reason (naming the line) when it cannot be used: no Line1
  // or Line2 column, a line longer than 32 characters or with a character the radio cannot
  // show, a serial number given twice, too many rows.
  static std::optional<MessageList> Parse(const std::string &text, std::string &error);
  static std::optional<MessageList> Load(const std::string &path, std::string &error);

  // The row for the radio with `serial`: its own row, the one it was handed before, or the
  // next free row without a serial; nullptr when none is left.
  const MessageRow *take(const std::string &serial);
  // The radio did not take its row after all (its write failed): a row handed out in order
  // goes back to the front of the queue; a radio's own row stays its own.
  void giveBack(const MessageRow *row);
  std::size_t size() const { return rows_.size(); }
  std::size_t freeRows() const { return free_.size(); }

 private:
  std::vector<MessageRow> rows_;
  std::map<std::string, std::size_t> bySerial_;  // rows given with a serial number
  std::set<std::size_t> free_;                   // rows without one, not handed out
  std::map<std::string, std::size_t> handed_;    // radio serial → row handed out to it
  std::size_t anonymous_ = 0;                    // keys for radios without a serial number
};

}  // namespace n27
