#pragma once
// The records of a CSV text (RFC 4180 with the freedoms spreadsheets take): fields separated by
// commas, a field in double quotes may hold commas, line ends and doubled quotes; CR LF, LF and
// CR end a line; blanks around an unquoted field are dropped; a line that starts with '#' is a
// comment; an empty line is no record; a UTF-8 byte order mark is skipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace n27 {

struct CsvRecord {
  int line = 0;  // first line of the record
  std::vector<std::string> fields;
  bool unclosedQuote = false;  // a quoted field ran to the end of the file
};

// The records of `text`; a line of empty fields counts only as the first record. Stops after
// the header and `maxRows` more records, setting *more when the text holds further ones.
std::vector<CsvRecord> ReadCsvRecords(std::string_view text, std::size_t maxRows = SIZE_MAX,
                                      bool *more = nullptr);

// The text without the blanks and tabs around it.
std::string TrimBlanks(std::string_view s);

}  // namespace n27
