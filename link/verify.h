#pragma once
// Verify after write: which addresses a write sends, and where the radio's memory read back
// differs from what was sent.

#include <optional>
#include <string>

#include "codeplug/radio_image.h"
#include "codeplug/workspace.h"

namespace n27 {

// True when a write sends `address` of the image from the image itself: 0..431 and
// 512..2559. The radio-information, password and tuning blocks (432..511) and byte 2560 are
// never sent from the image.
bool IsWrittenImageAddress(int address);
// True when a write sends `address` at all: the image addresses above and, in the factory
// test mode, the tuning block 496..511 (sent from the tuning values, not from the image).
bool IsWrittenAddress(int address, bool testMode);

// The first image address a write sends whose byte differs between what was sent and what
// the radio gave back; nullopt when all of them agree. Bytes the write does not send
// (432..511, 2560) are never compared. The tuning block travels outside the image, so it is
// not compared here even in test mode: see the Workspace variant.
std::optional<int> FirstWriteDifference(const RadioImage &sent, const RadioImage &readBack,
                                        bool testMode);
// The same for a write from `sent` and a read into `readBack`: in the factory test mode the
// tuning block (496..511, as the write encodes it) is compared first, since it is sent first.
std::optional<int> FirstWriteDifference(const Workspace &sent, const Workspace &readBack);

// "Verify failed: the radio holds different data at address 0x0123 (291) …" and the message
// for a verify that passed, in the current language.
std::string VerifyFailedMessage(int address);
std::string VerifiedMessage();

}  // namespace n27
