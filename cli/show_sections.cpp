#include "cli/show_sections.h"

namespace n27::cli {

// Filled by the feature settings work.
void PrintSettingsSections(const Workspace &, std::ostream &) {}

}  // namespace n27::cli
