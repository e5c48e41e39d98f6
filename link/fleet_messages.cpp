#include "link/fleet_messages.h"
#include "base/ascii_case.h"

#include <algorithm>
#include <cctype>

#include "base/csv_records.h"
#include "base/file_io.h"
#include "base/language.h"
#include "codeplug/fixed_text.h"

namespace n27 {

namespace {

constexpr Tr kNoColumns{"the list needs the columns Line1 and Line2 (and Serial for rows of one radio)",
                        "列表需要 Line1 和 Line2 两列（指定对讲机的行还需 Serial 列）"};
constexpr Tr kTooLong{"line %1: %2 is longer than 32 characters", "第 %1 行：%2 超过 32 个字符"};
constexpr Tr kBadChar{"line %1: %2 holds a character the radio cannot show", "第 %1 行：%2 含有对讲机无法显示的字符"};
constexpr Tr kTwice{"line %1: serial number %2 is given twice", "第 %1 行：序列号 %2 重复"};
constexpr Tr kTooMany{"the list holds more than %1 rows", "列表超过 %1 行"};
constexpr Tr kEmpty{"the list holds no row", "列表中没有任何行"};

// A message line as the radio stores it: at most 32 characters of printable ASCII.
std::optional<std::string> lineProblem(const std::string &text, int line, const char *column) {
  if (text.size() > 32) return Fill(kTooLong, {std::to_string(line), column});
  for (unsigned char c : text)
    if (c < 0x20 || c > 0x7E) return Fill(kBadChar, {std::to_string(line), column});
  return std::nullopt;
}

}  // namespace

std::optional<MessageList> MessageList::Parse(const std::string &text, std::string &error) {
  const std::vector<CsvRecord> records = ReadCsvRecords(text);
  int serialCol = -1, line1Col = -1, line2Col = -1;
  if (!records.empty()) {
    const auto &head = records.front().fields;
    for (std::size_t i = 0; i < head.size(); ++i) {
      const std::string name = AsciiLower(head[i]);
      if (name == "serial") serialCol = static_cast<int>(i);
      if (name == "line1") line1Col = static_cast<int>(i);
      if (name == "line2") line2Col = static_cast<int>(i);
    }
  }
  if (line1Col < 0 || line2Col < 0) {
    error = kNoColumns.str();
    return std::nullopt;
  }
  if (records.size() - 1 > kMaxMessageRows) {
    error = Fill(kTooMany, {std::to_string(kMaxMessageRows)});
    return std::nullopt;
  }
  auto cell = [](const CsvRecord &r, int col) {
    return col >= 0 && static_cast<std::size_t>(col) < r.fields.size() ? r.fields[col] : std::string();
  };
  MessageList list;
  for (std::size_t i = 1; i < records.size(); ++i) {
    MessageRow row{records[i].line, cell(records[i], serialCol), cell(records[i], line1Col),
                   cell(records[i], line2Col)};
    if (row.serial.empty() && row.line1.empty() && row.line2.empty()) continue;
    for (auto [text, column] : {std::pair{&row.line1, "Line1"}, std::pair{&row.line2, "Line2"}})
      if (auto problem = lineProblem(*text, row.line, column)) {
        error = *problem;
        return std::nullopt;
      }
    const std::size_t at = list.rows_.size();
    if (!row.serial.empty()) {
      if (!list.bySerial_.emplace(row.serial, at).second) {
        error = Fill(kTwice, {std::to_string(row.line), row.serial});
        return std::nullopt;
      }
    } else {
      list.free_.insert(at);
    }
    list.rows_.push_back(std::move(row));
  }
  if (list.rows_.empty()) {
    error = kEmpty.str();
    return std::nullopt;
  }
  return list;
}

std::optional<MessageList> MessageList::Load(const std::string &path, std::string &error) {
  ReadResult read = ReadWholeFile(path, kMaxMessageListBytes);
  if (!read.bytes) {
    error = path + ": " + read.outcome.reason();
    return std::nullopt;
  }
  std::optional<MessageList> list = Parse(*read.bytes, error);
  if (!list) error = path + ": " + error;
  return list;
}

const MessageRow *MessageList::take(const std::string &serial) {
  if (!serial.empty()) {
    if (auto own = bySerial_.find(serial); own != bySerial_.end()) return &rows_[own->second];
    if (auto given = handed_.find(serial); given != handed_.end()) return &rows_[given->second];
  }
  if (free_.empty()) return nullptr;
  const std::size_t at = *free_.begin();
  free_.erase(free_.begin());
  // A radio without a serial number cannot be told apart: its row is its own until it fails.
  handed_[serial.empty() ? "\n" + std::to_string(++anonymous_) : serial] = at;
  return &rows_[at];
}

void MessageList::giveBack(const MessageRow *row) {
  if (!row || row->serial.size()) return;
  const auto at = static_cast<std::size_t>(row - rows_.data());
  for (auto given = handed_.begin(); given != handed_.end(); ++given)
    if (given->second == at) {
      handed_.erase(given);
      free_.insert(at);
      return;
    }
}

}  // namespace n27
