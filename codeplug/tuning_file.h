#pragma once
// Test-data companion files (".ted"): the 16 tuning entries of a radio, kept beside a data
// file in test mode. Exactly 32 bytes: 16 signed 16-bit values, least significant byte first,
// entry 0 first.

#include <array>
#include <cstdint>
#include <string>

namespace n27 {

using TuningTable = std::array<int16_t, 16>;

inline constexpr std::size_t kTuningFileSize = 32;

// The companion of a data file: its path with the last four characters replaced by ".ted"
// (radio.dat → radio.ted). Empty for a path of three characters or less, and for a file name
// of three characters or less (the companion would lie outside the data file's folder).
std::string TuningFilePath(const std::string &dataPath);

// The values a radio's tuning block is meant to hold, as the test data window allows them:
// entries 3 and 8 take 0 to 400 hex, the other entries of the block 0 to FF (14 and 15 are not
// in the block). Empty when every entry fits; otherwise the first entry that does not, with
// its value and range, in the current language ("entry 0 holds 1234 (hex); it takes 0 to FF").
std::string TuningTableProblem(const TuningTable &table);

// The 32 bytes of a tuning file, and back (false for any other size).
std::string TuningFileBytes(const TuningTable &table);
bool ParseTuningFile(const std::string &bytes, TuningTable &table);

// Reads a 32-byte tuning file into table; false (table untouched) when the file is missing,
// unreadable or not exactly 32 bytes long.
bool ReadTuningFile(const std::string &path, TuningTable &table);
// Writes the table (beside the old file, then renamed); false on failure.
bool WriteTuningFile(const std::string &path, const TuningTable &table);

// Why a tuning file cannot be read, in the current language ("" when nothing is known to be
// wrong): no such file, a folder, not a regular file, no permission, wrong size N of 32.
// Checked before reading, so a FIFO or a huge file is never opened.
std::string TuningFileReadProblem(const std::string &path);
// Why writing a tuning file failed, in the current language (`error` is the errno the
// failed write left): no such folder, a folder, read-only, permission denied, disk full.
std::string TuningFileWriteProblem(const std::string &path, int error);

// Where the tuning values held for a test-mode write came from, so the operator knows what a
// write will send and a write never sends values nobody read, loaded or typed.
enum class TuningSource { None, Radio, File };
struct TuningOrigin {
  TuningSource source = TuningSource::None;
  std::string file;     // the ".ted" file they were loaded from (TuningSource::File)
  bool edited = false;  // changed in the test data window since

  // Read from a radio, loaded from a file or typed: a write may send them.
  bool known() const { return source != TuningSource::None || edited; }
  bool operator==(const TuningOrigin &) const = default;
};

}  // namespace n27
