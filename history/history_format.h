#pragma once
// The radio history as text for the command line: a table for people, CSV for spreadsheets
// and JSON for scripts, and one entry in full.
//
// CSV and JSON carry the same fields, named id, time (ISO 8601 with the offset), operation,
// result ("ok"/"failed"), reason, serial, model, band, firmware, port, file, backup (the
// image that shows the radio as the step left it), sha256, user, host, customer.

#include <string>
#include <vector>

#include "history/history_entry.h"

namespace n27::history {

// Columns ID, Time, Operation, Result, Serial, Customer, Port, Reason, lined up (Chinese
// characters count two columns), one line per entry; "No entries." when there are none.
std::string FormatTable(const std::vector<Entry> &entries);
// RFC 4180 with CRLF line ends and a header line; a cell a spreadsheet would take as a formula
// (= + - @) starts with '.
std::string FormatCsv(const std::vector<Entry> &entries);
// A JSON array of objects, one per line; texts that are not UTF-8 get U+FFFD in place of the
// bytes that are not.
std::string FormatJson(const std::vector<Entry> &entries);
// The history window's columns (current language) and the texts of one entry in them: ID,
// Time, Operation, Result, Serial, Customer, Port, Backup (its file name, "(pruned)" once
// pruning removed it), Reason.
std::vector<std::string> RowHeaders();
std::vector<std::string> RowTexts(const Entry &entry);

// Every field of one entry, one "Label: value" line each (the backups with "(pruned)").
std::string FormatDetails(const Entry &entry);

}  // namespace n27::history
