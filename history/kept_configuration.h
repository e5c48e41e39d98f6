#pragma once
// The configuration an entry of the radio history keeps: its image decoded as a read would.

#include <string>

#include "codeplug/workspace.h"

namespace n27::history {

// Decodes `image` into `ws` (a new configuration first; the program folder should be set):
// the configuration as it was in the radio. Untitled, nothing else of ws kept.
void DecodeKeptImage(Workspace &ws, const RadioImage &image);

}  // namespace n27::history
