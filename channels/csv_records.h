#pragma once
// The file shape of a CSV channel list: records of fields, the header line's columns, and the
// small text helpers the reader, the column mapping and the writer share.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "channels/channel_csv.h"

namespace n27::csv::detail {

// The columns by their place in kColumns.
enum Col { kLocation, kName, kFrequency, kDuplex, kOffset, kTone, kRTone, kCTone, kDtcs, kPolarityCol,
           kRxDtcs, kCrossMode, kMode, kTStep, kSkipCol, kPowerCol };

struct Record {
  int line = 0;  // first line of the record
  std::vector<std::string> fields;
  bool unclosedQuote = false;  // a quoted field ran to the end of the file
};

// Splits the text into records: fields separated by commas, a field in double quotes may hold
// commas, line ends and doubled quotes; CR LF, LF and CR end a line; a line that starts with
// '#' is a comment; an empty line is no record. Stops after the header and `maxRows` more
// records, setting *more when the text holds further ones.
std::vector<Record> readRecords(std::string_view text, std::size_t maxRows = SIZE_MAX,
                                bool *more = nullptr);

// Column positions by header name (case and blanks ignored); -1 when absent.
struct Header {
  std::array<int, kColumnCount> at;
  Header() { at.fill(-1); }
};
Header readHeader(const Record &rec);

std::string tr(const Tr &t, std::vector<std::string> args = {});
// The reason a row is skipped, with the cells it quotes: a cell longer than a few dozen
// characters is cut and ends in "…", so no reason grows with the file.
std::string rowReason(const Tr &t, std::vector<std::string> cells = {});
std::string lower(std::string_view s);
std::string trim(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace n27::csv::detail
