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
// (radio.dat → radio.ted). Empty for a path of three characters or less (no companion).
std::string TuningFilePath(const std::string &dataPath);

// Reads a 32-byte tuning file into table; false (table untouched) when the file is missing,
// unreadable or not exactly 32 bytes long.
bool ReadTuningFile(const std::string &path, TuningTable &table);
// Writes the table (beside the old file, then renamed); false on failure.
bool WriteTuningFile(const std::string &path, const TuningTable &table);

}  // namespace n27
