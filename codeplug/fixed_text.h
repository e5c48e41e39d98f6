#pragma once
// Fixed-length texts of the decoded records: N single-byte (ANSI) characters.
//
// A text shorter than its field is followed by one NUL and padded with blanks; a text that
// begins with NUL counts as empty. text() gives the content: up to the first NUL, trailing
// blanks removed.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace n27 {

template <std::size_t N>
struct FixedText {
  std::array<char, N> bytes{};  // all NUL: empty

  static constexpr std::size_t size() { return N; }

  std::string text() const {
    std::size_t n = 0;
    while (n < N && bytes[n] != '\0') ++n;
    while (n > 0 && bytes[n - 1] == ' ') --n;
    return std::string(bytes.data(), n);
  }
  // Content up to the first NUL, blanks kept.
  std::string raw() const {
    std::size_t n = 0;
    while (n < N && bytes[n] != '\0') ++n;
    return std::string(bytes.data(), n);
  }
  bool empty() const { return bytes[0] == '\0' || text().empty(); }

  // Cut to N; a shorter text is followed by NUL, then blanks.
  void assign(std::string_view s) {
    std::size_t n = s.size() < N ? s.size() : N;
    for (std::size_t i = 0; i < n; ++i) bytes[i] = s[i];
    if (n < N) {
      bytes[n] = '\0';
      for (std::size_t i = n + 1; i < N; ++i) bytes[i] = ' ';
    }
  }
  // Cut to N; the rest NUL (the model name form).
  void assignNulPadded(std::string_view s) {
    bytes.fill('\0');
    for (std::size_t i = 0; i < N && i < s.size(); ++i) bytes[i] = s[i];
  }
  void clear() { bytes.fill('\0'); }

  // Equal content (the padding after the content does not count).
  bool sameText(const FixedText &o) const { return raw() == o.raw(); }
  bool operator==(const FixedText &) const = default;
};

}  // namespace n27
