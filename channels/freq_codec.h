#pragma once
// Frequency texts and the band limits.
//
// Stored form: 8 decimal digits in units of 10 Hz ("46212500" is 462.125 MHz); the TX text
// may be "FFFFFFFF" (no TX frequency); an empty text means no value.
// Display form: "000.00000" MHz. Every text is written and read with "." as the decimal
// separator whatever the user's locale.
//
// `field` is the channel field number: 1 RX frequency, 2 TX frequency.

#include <string>
#include <string_view>

#include "channels/channel_context.h"

namespace n27 {

inline constexpr const char *kNoTxFrequency = "FFFFFFFF";

// Lower limit of the current band (MHz).
double LowerLimit(const Workspace &ws);
// Upper limit used for a field: 490.0 when the band is "400 - 490 MHz" and the field is RX
// or band extension is on; otherwise the band's upper limit.
double UpperLimit(const Workspace &ws, int field);

// Stored → display. "" and "FFFFFFFF" → ""; digits → "000.00000"; anything else shows
// "Not IsNumeric" and gives the lower band limit as plain number text.
std::string ShowFre(const ChannelContext &ctx, std::string_view stored);
// Display → stored. "" stays ""; a text without a point is taken as already stored;
// "462.12500" → "46212500"; a non-numeric text gives the lower limit in stored form.
std::string SaveFre(const ChannelContext &ctx, std::string_view display);

// The value clamped to [lower, upper] of the field.
double LimitFre(const ChannelContext &ctx, double mhz, int field);
// LimitFre, first showing "Frequency is out of range." when it clamps, `warn` is set and no
// data file is loading.
double LimitFreWarn(const ChannelContext &ctx, double mhz, int field, bool warn);
// A typed frequency → display text of the clamped value; a non-numeric text gives the lower
// limit. The out-of-range message under the same conditions as LimitFreWarn.
std::string CheckFre(const ChannelContext &ctx, std::string_view text, int field, bool warn);
// CheckFre without any message.
std::string FormatLimitedFre(const ChannelContext &ctx, std::string_view text, int field);

}  // namespace n27
