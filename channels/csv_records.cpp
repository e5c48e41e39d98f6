// Reading the file shape of a channel list: records, quoted fields, comments, the header.

#include "channels/csv_records.h"
#include "base/ascii_case.h"

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

std::string trim(std::string_view s) { return TrimBlanks(s); }

Header readHeader(const Record &rec) {
  Header h;
  for (std::size_t k = 0; k < rec.fields.size(); ++k) {
    const std::string name = AsciiLower(trim(rec.fields[k]));
    for (int c = 0; c < kColumnCount; ++c)
      if (h.at[c] < 0 && name == AsciiLower(kColumns[c])) h.at[c] = static_cast<int>(k);
  }
  return h;
}

}  // namespace n27::csv::detail
