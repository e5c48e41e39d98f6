#pragma once
// FleetSync (FrmFleetSync): the radio's own fleet and ID, data rate and timing, and the fleet
// list of eight fleet/ID pairs. Kept in the configuration and the data file only.

#include <cstdint>
#include <string>
#include <string_view>

#include "features/setting.h"

namespace n27::features {

inline constexpr int kFleetMin = 100, kFleetMax = 349;
inline constexpr int kIdMin = 1000, kIdMax = 4999;
inline constexpr uint16_t kEmptyCell = 255;
inline constexpr uint16_t kAllCell = 0;

enum class FleetColumn { Fleet, Id };

// What a fleet list cell shows: empty for 255, "All" for 0, else fleet = value + 99 or
// ID = value + 999.
std::string FleetCellText(FleetColumn column, uint32_t stored);
// The value a committed cell stores: "A" (or the "All" the cell shows) is All (0), an empty cell 255, a number is clamped
// to 100..349 (fleet) or 1000..4999 (ID) and stored as fleet − 99 or ID − 999. A text the
// cell filter drops gives nothing, and so does ID 1254, whose stored form is the empty mark.
std::optional<uint32_t> FleetCellValue(FleetColumn column, std::string_view text);
// True for a text that stands for ID 1254 (stored as 255, which reads back as an empty cell).
bool FleetIdTakenForEmpty(std::string_view text);
// Commits cell `row` (1..8) of a column and recounts the rows in use (the last row holding a
// fleet or an ID).
bool CommitFleetCell(CodeplugData &data, int row, FleetColumn column, std::string_view text);

const Area &FleetSyncArea();

}  // namespace n27::features
