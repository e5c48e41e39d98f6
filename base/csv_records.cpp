#include "base/csv_records.h"

#include <algorithm>
#include <cctype>

namespace n27 {

std::string TrimBlanks(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<CsvRecord> ReadCsvRecords(std::string_view text) {
  std::vector<CsvRecord> records;
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
    CsvRecord rec;
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
      if (c == '"' && TrimBlanks(field).empty()) {
        field.clear();
        quoted = wasQuoted = true;
        ++i;
        continue;
      }
      if (c == ',') {
        rec.fields.push_back(wasQuoted ? field : TrimBlanks(field));
        field.clear();
        wasQuoted = false;
        ++i;
        continue;
      }
      if (c == '\r' || c == '\n') break;
      field += c;
      ++i;
    }
    rec.fields.push_back(wasQuoted ? field : TrimBlanks(field));
    if (i < text.size()) skipLineEnd();
    bool blank = std::all_of(rec.fields.begin(), rec.fields.end(), [](const std::string &f) { return f.empty(); });
    if (!blank || records.empty()) records.push_back(std::move(rec));
  }
  return records;
}

}  // namespace n27
