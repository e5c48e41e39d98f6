#pragma once
// Restore: a raw image (a backup, or an image saved by `read --image-out`) written back to a
// radio as it is, with the identification, band and password checks of an ordinary write
// and the same skipped blocks (432..511 and byte 2560 are never sent).

#include <optional>
#include <string>

#include "codeplug/workspace.h"

namespace n27 {

// Reads the image at `imagePath` (a regular file of 2560 or 2561 bytes, read within that
// bound) and checks it: the model record must name this program's model (image 417..421),
// its band code (422) must be a known band, and it must hold at least one channel, as any
// write must. Then puts it into ws.image and sets ws.modelName / ws.bandText (and the model
// record of ws.working) from its model record, so the write's identification and band checks
// compare the radio with the image. The write then sends ws.image as it is (no PrepareWrite).
// Refused in the factory test mode: an image does not carry the radio's tuning values, and
// the write would replace them. Returns the reason of a refusal (ws unchanged) or nullopt.
// Use a scratch workspace: the open configuration is not part of a restore.
std::optional<std::string> PrepareRestore(Workspace &ws, const std::string &imagePath);

}  // namespace n27
