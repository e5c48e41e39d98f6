// Reading the file shape of a channel list: records, quoted fields, comments, the header.

#include "channels/csv_records.h"

#include <algorithm>
#include <cctype>

namespace n27::csv::detail {

namespace {

constexpr std::size_t kShownCellBytes = 40;

// The text cut to at most kShownCellBytes bytes at a character boundary, "…" after a cut.
std::string shortened(std::string s) {
  if (s.size() <= kShownCellBytes) return s;
  std::size_t n = kShownCellBytes;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;  // inside a UTF-8 character
  s.resize(n);
  return s + "\u2026";
}

}  // namespace

std::string tr(const Tr &t, std::vector<std::string> args) { return Fill(t.get(), args); }

std::string rowReason(const Tr &t, std::vector<std::string> cells) {
  for (std::string &c : cells) c = shortened(std::move(c));
  return Fill(t.get(), cells);
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string trim(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

bool equalsNoCase(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

std::vector<Record> readRecords(std::string_view text, std::size_t maxRows, bool *more) {
  std::vector<Record> records;
  if (more) *more = false;
  std::size_t i = 0;
  int line = 1;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
  auto atLineEnd = [&](std::size_t k) { return k < text.size() && (text[k] == '\r' || text[k] == '\n'); };
  auto skipLineEnd = [&] {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++i;
    ++line;
  };
  while (i < text.size()) {
    if (text[i] == '#') {  // a comment line
      while (i < text.size() && !atLineEnd(i)) ++i;
      if (i < text.size()) skipLineEnd();
      continue;
    }
    if (atLineEnd(i)) {  // an empty line
      skipLineEnd();
      continue;
    }
    if (!records.empty() && records.size() - 1 >= maxRows) {  // the header does not count
      if (more) *more = true;
      break;
    }
    Record rec;
    rec.line = line;
    std::string field;
    bool quoted = false, wasQuoted = false;
    while (i < text.size()) {
      char c = text[i];
      if (quoted) {
        if (c == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
          } else {
            quoted = false;
            ++i;
          }
          continue;
        }
        if (c == '\r' || c == '\n') {
          field += '\n';
          skipLineEnd();
          continue;
        }
        field += c;
        ++i;
        continue;
      }
      if (c == '"' && trim(field).empty()) {
        field.clear();
        quoted = wasQuoted = true;
        ++i;
        continue;
      }
      if (c == ',') {
        rec.fields.push_back(wasQuoted ? field : trim(field));
        field.clear();
        wasQuoted = false;
        ++i;
        continue;
      }
      if (c == '\r' || c == '\n') break;
      field += c;
      ++i;
    }
    rec.fields.push_back(wasQuoted ? field : trim(field));
    rec.unclosedQuote = quoted;
    if (i < text.size()) skipLineEnd();
    bool blank = std::all_of(rec.fields.begin(), rec.fields.end(), [](const std::string &f) { return f.empty(); });
    if (!blank || records.empty()) records.push_back(std::move(rec));
  }
  return records;
}

Header readHeader(const Record &rec) {
  Header h;
  for (std::size_t k = 0; k < rec.fields.size(); ++k) {
    const std::string name = lower(trim(rec.fields[k]));
    for (int c = 0; c < kColumnCount; ++c)
      if (h.at[c] < 0 && name == lower(kColumns[c])) h.at[c] = static_cast<int>(k);
  }
  return h;
}

}  // namespace n27::csv::detail
