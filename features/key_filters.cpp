#include "features/key_filters.h"

namespace n27::features {

namespace {

constexpr char32_t kCtrlC = 3, kCtrlV = 22, kCtrlX = 24;

// What every box drops before its own rule.
bool droppedByAll(char32_t c) { return c == kCtrlC || c == kCtrlV || c == kCtrlX || c == kEnter || c > 127; }

char32_t upper(char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }
bool digit(char32_t c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<char32_t> DtmfCodeKey(char32_t c) {
  if (droppedByAll(c)) return std::nullopt;
  if (c == kBackspace || digit(c) || c == '*' || c == '#') return c;
  const char32_t u = upper(c);
  if (u >= 'A' && u <= 'D') return u;
  return std::nullopt;
}

std::optional<char32_t> DigitKey(char32_t c) {
  if (droppedByAll(c)) return std::nullopt;
  if (c == kBackspace || digit(c)) return c;
  return std::nullopt;
}

std::optional<char32_t> MessageKey(char32_t c) {
  if (droppedByAll(c)) return std::nullopt;
  // Other control characters have no place in a line the radio shows.
  if (c == kBackspace || (c >= 32 && c < 127)) return c;
  return std::nullopt;
}

std::optional<char32_t> FleetCellKey(char32_t c) {
  if (droppedByAll(c)) return std::nullopt;
  if (c == kBackspace || digit(c)) return c;
  if (upper(c) == 'A') return U'A';
  return std::nullopt;
}

std::optional<char32_t> HexKey(char32_t c) {
  if (droppedByAll(c)) return std::nullopt;
  if (c == kBackspace || digit(c)) return c;
  const char32_t u = upper(c);
  if (u >= 'A' && u <= 'F') return u;
  return std::nullopt;
}

std::optional<std::string> FilterText(std::string_view utf8, KeyFilter filter) {
  std::string out;
  for (char ch : utf8) {
    const auto b = static_cast<unsigned char>(ch);
    // A byte of a multi-byte UTF-8 character stands for a character above 127: dropped.
    if (b >= 0x80) return std::nullopt;
    if (b == kBackspace) return std::nullopt;
    auto kept = filter(b);
    if (!kept) return std::nullopt;
    out.push_back(static_cast<char>(*kept));
  }
  return out;
}

}  // namespace n27::features
