#pragma once
// Function Setup (FrmOptFeatures): the radio-wide options — time-out timer, squelch, VOX,
// battery save, tail elimination, backlight, scan mode, dual watch and current channel, locks.

#include <string>
#include <vector>

#include "features/setting.h"

namespace n27::features {

// "Channel-001" … "Channel-128": the channel number padded to three digits.
std::string ChannelName(int number);
// The names of the channels in use, in ascending channel number.
std::vector<std::string> ChannelsInUse(const CodeplugData &data);

// What a channel box (DW Channel, Current Channel) shows for a stored channel index
// (channel number − 1): the name when that channel is in use. Otherwise the Current Channel
// box shows its first entry (`firstWhenAbsent`) and the DW Channel box shows nothing; the
// stored value stays as it is until the user chooses.
SettingView ChannelBoxView(const CodeplugData &data, int storedIndex, bool firstWhenAbsent);

// True when the band-extension box can be used: only in the "400 - 490 MHz" band.
bool BandExtensionAvailable(const Workspace &ws);

const Area &FunctionSetupArea();

}  // namespace n27::features
