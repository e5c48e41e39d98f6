#include "base/message_log.h"

namespace n27 {

namespace {

// One line: CR and LF become one space each run, blanks at the ends go.
std::string oneLine(const std::string &text) {
  std::string out;
  out.reserve(text.size());
  bool broke = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      broke = true;
      continue;
    }
    if (broke && !out.empty() && out.back() != ' ') out += ' ';
    broke = false;
    out += c;
  }
  const auto first = out.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = out.find_last_not_of(" \t");
  return out.substr(first, last - first + 1);
}

// Cut at a character boundary (UTF-8) no later than `most` bytes.
std::string cut(const std::string &text, std::size_t most) {
  if (text.size() <= most) return text;
  std::size_t end = most;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end) + "\u2026";
}

}  // namespace

bool MessageLog::add(const std::string &text, std::time_t when) {
  std::string line = cut(oneLine(text), kMaxLength);
  if (line.empty()) return false;
  if (!entries_.empty() && entries_.back().time == when && entries_.back().text == line) return false;
  entries_.push_back({when, std::move(line)});
  while (entries_.size() > kCapacity) entries_.pop_front();
  if (changed) changed();
  return true;
}

void MessageLog::clear() {
  entries_.clear();
  if (changed) changed();
}

std::string MessageLog::timeText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char buffer[16];
  std::strftime(buffer, sizeof buffer, "%H:%M:%S", &local);
  return buffer;
}

std::string MessageLog::lineText(const LoggedMessage &m) { return timeText(m.time) + "  " + m.text; }

}  // namespace n27
