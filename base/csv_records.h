#pragma once
// Comma-separated text split into records, for the CSV files the program reads (channel
// lists, licences). Fields are separated by commas; a field in double quotes may hold commas,
// line ends and doubled quotes; CR LF, LF and CR end a line; a line that starts with '#' is a
// comment; an empty line is no record (a first record of empty fields is kept, so a header of
// commas still counts as a header). A leading UTF-8 byte order mark is skipped. Unquoted fields
// lose the blanks and tabs around them.

#include <string>
#include <string_view>
#include <vector>

namespace n27 {

struct CsvRecord {
  int line = 0;  // line of the text where the record starts (1 = first line)
  std::vector<std::string> fields;
};

std::vector<CsvRecord> ReadCsvRecords(std::string_view text);

// The text without blanks and tabs at either end.
std::string TrimBlanks(std::string_view text);
// ASCII letters in lower case, every other byte as it is.
std::string LowerAscii(std::string_view text);

}  // namespace n27
