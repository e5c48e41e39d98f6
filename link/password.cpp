#include "link/password.h"

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
