#pragma once
// Keystroke filters of the feature windows, as pure functions: a typed character in, the
// character the box takes out, or nothing when the key is dropped.
//
// Every filter drops Ctrl+C, Ctrl+V and Ctrl+X (nothing is copied into or out of these boxes),
// Enter (the window moves the focus to the next control instead) and every code above 127.
// Backspace is let through so the user can correct a typo.

#include <optional>
#include <string>
#include <string_view>

namespace n27::features {

inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kEnter = 13;

// DTMF code boxes: 0-9, A-D (a-d are raised), * and #.
std::optional<char32_t> DtmfCodeKey(char32_t c);
// Boxes for digits only (the three-digit Self ID).
std::optional<char32_t> DigitKey(char32_t c);
// The local message lines: any character with a code up to 127.
std::optional<char32_t> MessageKey(char32_t c);
// The fleet list cells: 0-9 and "A" for "All" (a is raised).
std::optional<char32_t> FleetCellKey(char32_t c);
// The test data fields: hexadecimal digits, a-f raised.
std::optional<char32_t> HexKey(char32_t c);

using KeyFilter = std::optional<char32_t> (*)(char32_t);
// A whole text passed through a filter, as the box would take it when typed key by key:
// the filtered text, or nothing when the filter drops one of its characters. The text is
// UTF-8; Backspace is not a text character here.
std::optional<std::string> FilterText(std::string_view utf8, KeyFilter filter);

}  // namespace n27::features
