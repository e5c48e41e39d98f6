#pragma once
// Conversions between the RadioImage and the decoded records.

#include "codeplug/workspace.h"

namespace n27 {

// Channel number n (1..128) from the image into the next slot of the channel table.
void DecodeChannel(const RadioImage &image, CodeplugData &data, int n);
// Slot k (1..count) of the channel table into the image.
void EncodeChannel(RadioImage &image, const CodeplugData &data, int k);
// The scramble frequency a write sends for a stored one: 0 (none chosen) as the 3400 Hz the
// detail dialog shows, anything else kept within 1300..4100 Hz.
int ScrambleFreqToSend(int stored);

// After a complete read: every decoded record from ws.image into ws.working, in order:
// channels, model record, local messages, keys, function settings, scan settings, then the
// three flags of byte 432 (each taken only while it is 0). The DTMF code list is not taken
// from the image (its addresses are the channel records).
void DecodeImage(Workspace &ws);
// Just before a write: every record of ws.working into ws.image (clears 272..399 first).
void EncodeImage(Workspace &ws);

// The feature byte maps, called by DecodeImage/EncodeImage in their order.
void DecodeFeatureSettings(const RadioImage &image, CodeplugData &data);
void EncodeFeatureSettings(RadioImage &image, const CodeplugData &data);
// The three flags of byte 432 (bits 0..2), each taken only while its current value is 0.
void DecodeRadioInfoFlags(const RadioImage &image, std::array<int16_t, 3> &flags);
// 432..491 into the radio-information record (after a radio-information read).
void DecodeRadioInformation(const RadioImage &image, RadioInformation &info);

}  // namespace n27
