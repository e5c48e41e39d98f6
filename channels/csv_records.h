#pragma once
// The file shape of a CSV channel list: records of fields, the header line's columns, and the
// small text helpers the reader, the column mapping and the writer share.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/csv_records.h"
#include "base/language.h"
#include "channels/channel_csv.h"

namespace n27::csv::detail {

// The columns by their place in kColumns.
enum Col { kLocation, kName, kFrequency, kDuplex, kOffset, kTone, kRTone, kCTone, kDtcs, kPolarityCol,
           kRxDtcs, kCrossMode, kMode, kTStep, kSkipCol, kPowerCol };

// The records of the file (base/csv_records.h: every CSV the program reads is split alike).
using Record = CsvRecord;
inline std::vector<Record> readRecords(std::string_view text, std::size_t maxRows = SIZE_MAX,
                                       bool *more = nullptr) {
  return ReadCsvRecords(text, maxRows, more);
}

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
std::string trim(std::string_view s);

}  // namespace n27::csv::detail
