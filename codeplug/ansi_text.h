#pragma once
// Single-byte (ANSI) texts of the radio and of the data file, shown as UTF-8.
//
// The radio stores one byte per character. Bytes 0..127 are ASCII; a byte above 127 is shown
// as the Latin-1 character of that code, so every byte the radio holds can be shown and is
// kept unchanged in the records.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace n27 {

// One ANSI byte per character → UTF-8.
inline std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

// True when every character of the UTF-8 text is ASCII (one byte each, below 128).
inline bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace n27
