#pragma once
// DTMF (FrmDTMF): encoder timing, PTT ID, the radio's own DTMF identity, decoding behaviour,
// remote stun/kill and the autodial memory list. These settings live in the configuration
// and the data file only; they are not sent to the radio.

#include <optional>
#include <string>
#include <string_view>

#include "features/setting.h"

namespace n27::features {

inline constexpr int kMemoryNumbers = 16;
inline constexpr int kSelfIdLength = 3;

// The digit value of a DTMF character: "0".."9" 0..9, "A".."D" 10..13, "*" 14, "#" 15.
std::optional<int> DtmfDigitValue(char c);
// A DTMF code in its stored (hexadecimal text) form: "*" written "E", "#" written "F"; and back.
std::string DtmfToHexText(std::string_view code);
std::string HexTextToDtmf(std::string_view hexText);

// The code of autodial memory `number` (1..16) as the user typed it, empty when there is none.
std::string MemoryCode(const CodeplugData &data, int number);
// The memory list after a grid cell was left: an existing entry of that number is removed by
// an empty code and replaced by any other; a new number is appended (at most 16 entries).
// The code is given as typed (DTMF characters) and held in hexadecimal text, cut to 16.
void UpdateMemoryList(CodeplugData &data, int number, std::string_view code);

// The Self ID box on leaving it: three digits are stored; anything shorter is refused with
// "Invalid Data" and the box and the stored value become "000".
ChooseResult CommitSelfId(CodeplugData &data, std::string_view text);

const Area &DtmfArea();

}  // namespace n27::features
