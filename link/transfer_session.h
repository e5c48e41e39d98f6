#pragma once
// What a transfer does to the Workspace before it starts and after it succeeds — the same
// for the desktop program and the command line.

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

// After a successful read: the model record from the radio's identification reply (model
// field and band byte) rather than from the image, then every record decoded from the image;
// the radio's firmware version kept for the caption; the configuration becomes the untitled
// "new.dat" (and counts as modified: the saved copy is left alone).
void CompleteRead(Workspace &ws, const link::Identification &radio);

// After a successful radio-information read: the radio-information record from the image.
void CompleteRadioInformationRead(Workspace &ws);

}  // namespace n27
