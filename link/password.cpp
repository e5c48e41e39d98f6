#include "link/password.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace n27::link {

namespace {
inline constexpr std::size_t kPasswordInFrame = 4 + 12;  // data bytes 12..15
inline constexpr std::size_t kPasswordLength = 4;
}  // namespace

std::string CleanPassword(const std::string &typed) {
  std::string s = typed.substr(0, typed.find('\0'));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

namespace {
// The code points of valid UTF-8 text; nullopt when it is not UTF-8.
std::optional<std::vector<uint32_t>> DecodeUtf8(const std::string &text) {
  std::vector<uint32_t> out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<uint8_t>(text[i]);
    const int more = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (more < 0 || text.size() - i <= static_cast<std::size_t>(more)) return std::nullopt;
    uint32_t c = more == 0 ? b : b & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
      const auto t = static_cast<uint8_t>(text[i + static_cast<std::size_t>(k)]);
      if ((t & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (t & 0x3F);
    }
    const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[more]) return std::nullopt;  // an overlong form
    out.push_back(c);
    i += static_cast<std::size_t>(more) + 1;
  }
  return out;
}
}  // namespace

std::optional<std::string> PasswordFromUtf8(const std::string &text, std::string &error) {
  auto points = DecodeUtf8(text);
  if (!points) return text;
  std::string bytes;
  for (uint32_t c : *points) {
    if (c >= 0xFF) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(c));
      error = std::string("the character ") + hex +
              " cannot be in the radio's password (it holds single-byte characters up to U+00FE)";
      return std::nullopt;
    }
    bytes.push_back(static_cast<char>(c));
  }
  return bytes;
}

std::string RadioPassword(const Bytes &frame) {
  std::string s;
  for (std::size_t i = 0; i < kPasswordLength && kPasswordInFrame + i < frame.size(); ++i) {
    uint8_t b = frame[kPasswordInFrame + i];
    if (b == 0x00 || b == 0xFF) break;
    s.push_back(static_cast<char>(b));
  }
  return CleanPassword(s);
}

bool PasswordAccepted(const Bytes &frame, const std::string &entered) {
  std::string radio = RadioPassword(frame);
  return radio.empty() || radio == entered;
}

}  // namespace n27::link
