#pragma once
// Every feature window's settings, in the order of the print list.

#include <string_view>
#include <vector>

#include "features/setting.h"

namespace n27::features {

// Function Setup, Key Setting, Scan Information, DTMF, FleetSync, Embedded Message (the two
// message lines), Local Message (the radio information).
const std::vector<const Area *> &FeatureAreas();

const Area *FindArea(std::string_view key);  // case-insensitive; nullptr when absent

struct SettingRef {
  const Area *area = nullptr;
  const Setting *setting = nullptr;
};
// "AREA.NAME", e.g. "function.tot"; both parts case-insensitive. Empty refs when absent.
SettingRef FindSetting(std::string_view areaDotName);

}  // namespace n27::features
