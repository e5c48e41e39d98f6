#include "features/feature_areas.h"

#include <cctype>

#include "base/ascii_case.h"
#include "features/dtmf_settings.h"
#include "features/fleet_sync.h"
#include "features/function_setup.h"
#include "features/key_assignment.h"
#include "features/local_message.h"
#include "features/radio_information.h"
#include "features/scan_settings.h"

namespace n27::features {

const std::vector<const Area *> &FeatureAreas() {
  static const std::vector<const Area *> areas = {
      &FunctionSetupArea(), &KeyAssignmentArea(), &ScanSettingsArea(),    &DtmfArea(),
      &FleetSyncArea(),     &LocalMessageArea(),  &RadioInformationArea()};
  return areas;
}

const Area *FindArea(std::string_view key) {
  for (const Area *a : FeatureAreas()) {
    if (AsciiLower(key) == a->key) return a;
  }
  return nullptr;
}

SettingRef FindSetting(std::string_view areaDotName) {
  const auto dot = areaDotName.find('.');
  if (dot == std::string_view::npos) return {};
  const Area *area = FindArea(areaDotName.substr(0, dot));
  if (!area) return {};
  const Setting *s = area->find(areaDotName.substr(dot + 1));
  return s ? SettingRef{area, s} : SettingRef{};
}

}  // namespace n27::features
