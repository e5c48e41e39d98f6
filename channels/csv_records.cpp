// Reading the file shape of a channel list: records, quoted fields, comments, the header.

#include "channels/csv_records.h"

#include <algorithm>
#include <cctype>

namespace n27::csv::detail {

std::string tr(const Tr &t, std::vector<std::string> args) { return Fill(t.get(), args); }

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

std::vector<Record> readRecords(std::string_view text) {
  std::vector<Record> records;
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
