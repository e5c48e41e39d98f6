#include "cli/show_sections.h"

#include "features/feature_areas.h"
#include "features/radio_information.h"
#include "features/setting_text.h"

namespace n27::cli {

// Every feature window's settings, as the windows show them, in the order of the print list.
void PrintSettingsSections(const Workspace &ws, std::ostream &out) {
  for (const features::Area *area : features::FeatureAreas()) {
    out << "\n";
    if (area == &features::RadioInformationArea()) {
      // The radio information is read from a radio and shown; a data file does not hold it.
      out << area->section.get() << "\n  not kept in data files: read it from the radio\n";
      continue;
    }
    const bool fileOnly = area->key == "dtmf" || area->key == "fleetsync";
    features::WriteAreaText(*area, ws, out, fileOnly ? "(kept in the data file; not written to the radio)" : "");
  }
}

}  // namespace n27::cli
