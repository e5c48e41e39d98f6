#pragma once
// The factory tuning block at 496..511 and the test-mode switch.
//
// Sixteen signed entries; the block holds entries 0..13 (entries 3 and 8 in two bytes, high
// byte first, the others in one byte); entries 14 and 15 are not in the block.

#include <array>
#include <cstdint>
#include <string>

#include "link/frames.h"

namespace n27::link {

using TuningTable = std::array<int16_t, 16>;

// From a data frame for address 496 (data bytes from frame byte 4). A two-byte entry whose
// high byte has bit 7 set is the low byte alone. Entries without a byte left become 0.
TuningTable DecodeTuningBlock(const Bytes &frame);
// The data frame 57 01 F0 10, entries 0..13, checksum.
Request EncodeTuningBlock(const TuningTable &table);

// The test mode is on when "TestData.ini" in the program folder starts with the factory's
// access code. Any read error leaves it off.
bool LoadTestModeFlag(const std::string &programFolder);
// The one decision every program makes at start: the marker beside the program or in the
// user's configuration folder (ConfigDir()) switches the test mode on.
bool TestModeOn(const std::string &programFolder);
// The marker file's first 128 bytes, cut at NUL, trailing blanks removed, equal the code.
bool IsTestModeMarker(const std::string &fileStart);

}  // namespace n27::link
