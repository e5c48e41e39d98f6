#pragma once
// Scan Information (FrmScanInfo): the priority mode, one priority channel per bank of 16
// channels, the look-back times, the revert channel and the two scan delay times.

#include <string>
#include <vector>

#include "features/setting.h"

namespace n27::features {

enum class PriorityMode { None = 0, Fixed = 1, Selected = 2 };

// The mode the priority box shows (a stored value outside 0..2 shows "None").
PriorityMode ShownPriorityMode(const ScanRecord &scan);

// The revert list offered under a priority mode, and the entry shown for a stored value:
// None offers Selected / Selected+Talk Back and shows entry (v AND 1); Fixd offers all four
// and shows entry v (above 3: the first); Selected offers Priority / Priority+Talk Back and
// shows entry (v AND 1). What is stored is the position in the full list of four.
std::vector<std::string> RevertEntries(PriorityMode mode);
int RevertShown(PriorityMode mode, int stored);
int RevertStoredValue(PriorityMode mode, int entry);

const Area &ScanSettingsArea();

}  // namespace n27::features
