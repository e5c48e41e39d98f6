#pragma once
// The local message (FrmEmbMsg): two lines of up to 32 characters the radio shows.
//
// The radio keeps one byte per character. Lines are typed in ASCII (the box drops codes above
// 127); a byte above 127 that came from the radio is kept as it is and shown as its Latin-1
// character.

#include <string>
#include <string_view>

#include "features/setting.h"

namespace n27::features {

inline constexpr int kMessageLength = 32;

// Leaving a line's box stores its text: cut to 32 characters, a shorter one followed by NUL.
// A text with a character the box refuses (above 127, a control character) stores nothing.
ChooseResult CommitMessageLine(FixedText<32> &line, std::string_view text);

const Area &LocalMessageArea();

}  // namespace n27::features
