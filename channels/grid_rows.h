#pragma once
// What the channel grid shows: the texts of one row, and how a typed frequency is written
// into its cell before the channel list takes it.

#include <array>
#include <string>
#include <string_view>

#include "channels/channel_context.h"
#include "channels/grid_cursor.h"

namespace n27 {

using GridRowText = std::array<std::string, kGridColumnCount>;

// The cells of the row of a channel entry: the number, RX, TX (empty without a TX frequency),
// decode, encode (empty without a TX frequency), power, scan add, optional signalling, PTT ID,
// spacing and ">>". An optional signalling value the radio does not know (above 2) is reset
// to None in the entry first.
GridRowText GridRowTexts(const ChannelContext &ctx, ChannelRecord &entry);
// The cells of a row without a channel: only the number and ">>".
GridRowText EmptyGridRow(int row);

// A typed frequency as its cell shows it until the channel list has taken it: a number is
// written "000.00000", an empty text stays empty, anything else is left as typed (the channel
// list then clamps it with its message).
std::string FormatTypedFrequency(std::string_view text);

// Keystrokes of the frequency boxes: control characters (backspace …) pass; of the printable
// ones only "0".."9" and "."; nothing above 127.
bool FrequencyKeyPasses(char32_t ch);
// Keystrokes of the channel range boxes: control characters and "0".."9".
bool DigitKeyPasses(char32_t ch);
// A tone typed into a tone list is cut to this many characters while it is typed.
inline constexpr int kToneTypingLength = 5;

}  // namespace n27
