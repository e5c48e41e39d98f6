#pragma once
// Case folding of ASCII letters only: file names, column headings and ini keys are compared
// this way whatever the user's locale (bytes above 0x7F are kept as they are).

#include <string>
#include <string_view>

namespace n27 {

inline std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char &c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

inline bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

}  // namespace n27
