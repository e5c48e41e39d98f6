#pragma once
// Settings written out as text, for the command line and the printout: one "label  value"
// line per control, and a short description of what a setting accepts.

#include <ostream>
#include <string>

#include "features/setting.h"

namespace n27::features {

// Every setting of the area kept in the configuration, with the text its control shows,
// under the section title. A disabled control is marked "(disabled)".
// A `note` is written on its own line below the title.
void WriteAreaText(const Area &area, const Workspace &ws, std::ostream &out, const std::string &note = {});

// What the setting accepts: its list (long lists shortened with "…"), "On | Off", or the
// rule of its box. `ws` gives the lists that depend on the configuration.
std::string ChoicesText(const Setting &setting, const Workspace &ws);

// The number of characters (not bytes) of a UTF-8 text.
std::size_t DisplayLength(const std::string &utf8);

}  // namespace n27::features
