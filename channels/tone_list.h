#pragma once
// CTCSS/DCS tones: the tone list every tone selection shows and the 16-bit tone codes.
//
// Tone code text: 4 upper-case hex characters, high byte first.
//   "FFFF"             no tone (Off)
//   0x0100 + k         standard CTCSS tone k (k = 0..49, list entries 1..50)
//   0x0200 + k         DCS code k, normal polarity "D023N" (k = 0..115, entries 51..166)
//   0x0300 + k         DCS code k, inverted polarity "D023I" (entries 167..282)
//   0x8000 + t         any other CTCSS tone of t/10 Hz (t = 500..2600)
// The code arithmetic depends on the list order, so the list is fixed here once.

#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"

namespace n27 {

inline constexpr int kToneCount = 283;       // entries 0..282
inline constexpr int kCtcssCount = 50;       // entries 1..50
inline constexpr int kDcsCount = 116;        // entries 51..166 (N) and 167..282 (I)
inline constexpr int kFirstDcsN = 51;
inline constexpr int kFirstDcsI = 167;
inline constexpr const char *kToneOff = "FFFF";

// Entry 0 of the list: "None" / "无".
inline constexpr Tr kToneOffText{"None", "无"};

// The kinds ToneIndex searches.
enum class ToneKind { DcsN = 1, DcsI = 2, Ctcss = 3 };

// Entry i (0..282) of the tone list in the current language (entry 0 is the Off text);
// an empty text outside the list.
std::string ToneListEntry(int i);
// All 283 entries in the current language (what a tone combo box holds).
std::vector<std::string> ToneList();
// Position of a text in the tone list (exact, case-sensitive); -1 when it is not an entry.
int FindToneEntry(std::string_view text);

// Position of a text within one part of the list (0-based), or, when the text is not there,
// its tenths of Hz for a numeric text (halves to even) and 0 for any other text.
int ToneIndex(ToneKind kind, std::string_view text);

// Tone text → code text; "" when the text is not a tone (the caller keeps the old code).
// "67.0" → "0100", "D023N" → "0201", "100" → "83E8" (not the entry "100.0"), "40" → "0100",
// "300" → "0131", "D999N" → "0200", "d023n" → "".
std::string ToneToCode(std::string_view text);

// Code text → tone text (the tone half of ValueToText): "FFFF" → the Off text, 0x8000 + t →
// t/10 with one decimal ("83E8" → "100.0"), otherwise the list entry. A code that is not four
// hex digits, or whose entry lies outside the list, is shown as it is.
std::string ToneCodeText(std::string_view code);

}  // namespace n27
