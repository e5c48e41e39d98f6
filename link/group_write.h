#pragma once
// Writing one configuration to a group of radios, one after another: the log of the run
// (one entry per radio) and its texts.

#include <ctime>
#include <string>
#include <vector>

namespace n27 {

struct GroupWriteEntry {
  int number = 0;        // 1, 2, 3 … in the order the radios were connected
  std::string serial;    // the radio's serial number ("" when unknown)
  std::time_t time = 0;  // when its write ended
  bool success = false;  // written (and verified)
  std::string result;    // what happened, in the current language
};

// The log as CSV (RFC 4180: fields with a comma, quote or line break are quoted, quotes
// doubled; CRLF line ends), header "Number,Serial,Time,Result,Detail"; Time is local time
// "2026-12-08 06:36:12", Result "OK" or "FAILED", Detail the entry's result text. A field
// that a spreadsheet would take as a formula (starting with = + - @) is preceded by '.
std::string GroupLogCsv(const std::vector<GroupWriteEntry> &entries);
// The log as text for the screen: one line per radio, then the counts.
std::string GroupLogText(const std::vector<GroupWriteEntry> &entries);

// Where the log of a run started at `start` is saved: beside the data file,
// "<dir>/<stem>-group-YYYYMMDD-HHMMSS.csv" (local time). For an untitled configuration pass
// "": the log goes to the user's data folder (DataDir()) as "new-group-….csv".
std::string GroupLogPath(const std::string &dataFile, std::time_t start);
// The same for any kind of run: "<dir>/<stem>-<kind>-YYYYMMDD-HHMMSS<extension>".
std::string RunLogPath(const std::string &dataFile, std::time_t start, const std::string &kind,
                       const std::string &extension = ".csv");
// One CSV field: quoted when it holds a comma, quote or line break; a field a spreadsheet
// would run as a formula (= + - @ first) is preceded by '.
std::string CsvField(std::string value);
// "2026-12-08 06:36:12" in local time.
std::string LocalTimeText(std::time_t t);

// "3 radios written, 1 failed. Connect the next radio." in the current language.
std::string GroupProgressText(int written, int failed);
// The terminal's question after each radio: "Press Enter for the next radio, q to finish".
std::string GroupNextPrompt();
// "Written and verified." — the detail of a radio that succeeded.
std::string GroupRadioDoneText();
// "The group log was saved to %1." / "could not be saved to %1: reason".
std::string GroupLogSavedMessage(const std::string &path);
std::string GroupLogNotSavedMessage(const std::string &path, const std::string &reason);

// Where the log of a run went, and what went wrong on the way.
struct GroupLogSave {
  bool ok = false;
  std::string path;                   // where it was saved (when ok)
  std::vector<std::string> problems;  // a GroupLogNotSavedMessage for each place that failed
};
// Saves the log as CSV at GroupLogPath(dataFile, start) (dataFile "" for an untitled
// configuration). The log is the proof of the run: when the data file's folder takes no file
// it goes to the user's data folder (created when missing) instead.
GroupLogSave SaveGroupLog(const std::vector<GroupWriteEntry> &entries, const std::string &dataFile,
                          std::time_t start);
// Saves `csv` at RunLogPath(dataFile, start, kind), else in the user's data folder.
GroupLogSave SaveRunLog(const std::string &csv, const std::string &dataFile, std::time_t start,
                        const std::string &kind);

}  // namespace n27
