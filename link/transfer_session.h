#pragma once
// What a transfer does to the Workspace before it starts and after it succeeds — the same
// for the desktop program and the command line.

#include <ctime>
#include <optional>
#include <string>

#include "codeplug/workspace.h"
#include "link/frames.h"

namespace n27 {

// Before a read (after the user confirmed it): image bytes 0..2112 := FF, so whatever the
// radio does not send shows as erased; 2113..2560 keep their values.
void PrepareRead(Workspace &ws);

// A write needs at least one channel ("Only when it at least has data of one channel…").
bool WriteAllowed(const Workspace &ws);
// Before a write (after the user confirmed it): image bytes 0..2112 := FF, the model record
// re-encoded from the model and band texts, then the image rebuilt from the working
// configuration.
void PrepareWrite(Workspace &ws);

// Before the radio-information read that shows the record afterwards: image 0..2112 := FF.
void PrepareRadioInformationRead(Workspace &ws);

// After a successful read: every record decoded from the image as the radio sent it (the
// model record from its bytes 417..422, like everything else);
// the radio's firmware version kept for the caption; the configuration becomes the untitled
// "new.dat" (and counts as modified: the saved copy is left alone) and ws.readNotSaved is set
// until it is saved or replaced.
void CompleteRead(Workspace &ws, const link::Identification &radio);

// After a successful radio-information read: the radio-information record from the image,
// with the firmware version the radio reported while it was read.
void CompleteRadioInformationRead(Workspace &ws, const link::Identification &radio);

// The per-user folder where the program keeps what must not be lost:
// $XDG_DATA_HOME/n27, or ~/.local/share/n27.
std::string RecoveryFolder();
// When the first save after a read fails, the radio's data are still only in memory: writes
// ws.image (the radio's memory with its model and band) to RecoveryFolder() as
// "recovered-YYYYMMDD-HHMMSS.img" (local time `now`; "-2", "-3" … when the name is taken),
// readable by the user only. The path, or nullopt when even that fails.
std::optional<std::string> KeepRadioImage(const Workspace &ws, std::time_t now);
// The message that says where the radio's data were kept.
std::string KeptImageMessage(const std::string &path);
// After a failed save: keeps the radio image when the configuration is a read that was never
// saved (ws.readNotSaved) and says where; "" when there was nothing to keep, or a message
// that the image could not be kept either.
std::string KeepReadAfterFailedSave(const Workspace &ws);

}  // namespace n27
