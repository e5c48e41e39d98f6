#pragma once
// The settings sections of `n27-cli show`: every settings area with the texts its window
// would show.

#include <ostream>

#include "codeplug/workspace.h"

namespace n27::cli {

void PrintSettingsSections(const Workspace &ws, std::ostream &out);
// "Channels: N" and every channel's fields as the grid and detail dialog show them, lined up.
void PrintChannelTable(Workspace &ws, std::ostream &out);

}  // namespace n27::cli
