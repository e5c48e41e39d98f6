#pragma once
// The file shape of a CSV channel list: records of fields, the header line's columns, and the
// small text helpers the reader, the column mapping and the writer share.

#include <array>
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
};

// Splits the text into records: fields separated by commas, a field in double quotes may hold
// commas, line ends and doubled quotes; CR LF, LF and CR end a line; a line that starts with
// '#' is a comment; an empty line is no record.
std::vector<Record> readRecords(std::string_view text);

// Column positions by header name (case and blanks ignored); -1 when absent.
struct Header {
  std::array<int, kColumnCount> at;
  Header() { at.fill(-1); }
};
Header readHeader(const Record &rec);

std::string tr(const Tr &t, std::vector<std::string> args = {});
std::string lower(std::string_view s);
std::string trim(std::string_view s);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace n27::csv::detail
