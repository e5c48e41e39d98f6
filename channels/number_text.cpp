#include "channels/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace n27 {
namespace {

using i128 = __int128;

constexpr i128 pow10i(int n) {
  i128 p = 1;
  for (int i = 0; i < n; ++i) p *= 10;
  return p;
}

// Values beyond 10^24 (in units of 10^-12: 10^36) saturate; nothing the editors take is
// anywhere near, and it keeps every product inside 128 bits.
constexpr i128 kMaxUnits = pow10i(36);

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int64_t saturate64(i128 v) {
  if (v > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
  if (v < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(v);
}

}  // namespace

Decimal Decimal::fromInt(int64_t v) {
  Decimal d;
  d.units = static_cast<i128>(v) * pow10i(kScale);
  return d;
}

Decimal Decimal::fromDouble(double v) {
  if (!std::isfinite(v)) return Decimal{};
  return ParseDecimal(PlainNumber(v)).value_or(Decimal{});
}

double Decimal::toDouble() const {
  return static_cast<double>(units) / static_cast<double>(pow10i(kScale));
}

std::optional<Decimal> ParseDecimal(std::string_view text) {
  std::size_t i = 0, n = text.size();
  while (i < n && isBlank(text[i])) ++i;
  while (n > i && isBlank(text[n - 1])) --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  i128 mantissa = 0;
  int shift = 0;  // power of ten applied to the mantissa
  bool dropped = false;
  bool anyDigit = false, seenPoint = false;
  for (; i < n; ++i) {
    char c = text[i];
    if (c == '.') {
      if (seenPoint) return std::nullopt;
      seenPoint = true;
      continue;
    }
    if (!isDigit(c)) break;
    anyDigit = true;
    if (mantissa < pow10i(30)) {
      mantissa = mantissa * 10 + (c - '0');
      if (seenPoint) --shift;
    } else {
      if (c != '0') dropped = true;
      if (!seenPoint) ++shift;
    }
  }
  if (!anyDigit) return std::nullopt;
  if (i < n) {
    if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
    ++i;
    bool expNegative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) expNegative = text[i++] == '-';
    if (i >= n) return std::nullopt;
    int exponent = 0;
    for (; i < n; ++i) {
      if (!isDigit(text[i])) return std::nullopt;
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    shift += expNegative ? -exponent : exponent;
  }

  Decimal d;
  shift += Decimal::kScale;
  if (mantissa == 0) {
    d.inexact = dropped;
  } else if (shift >= 0) {
    i128 v = mantissa;
    for (int s = 0; s < shift && v < kMaxUnits; ++s) v *= 10;
    d.units = v > kMaxUnits ? kMaxUnits : v;
    d.inexact = dropped;
  } else if (shift < -38) {
    d.inexact = true;
  } else {
    i128 div = pow10i(-shift);
    d.units = mantissa / div;
    d.inexact = dropped || mantissa % div != 0;
  }
  if (negative) d.units = -d.units;
  return d;
}

bool IsNumeric(std::string_view text) { return ParseDecimal(text).has_value(); }

int64_t RoundTo(const Decimal &value, int decimals, Rounding rounding) {
  if (decimals < 0) decimals = 0;
  if (decimals > Decimal::kScale) decimals = Decimal::kScale;
  i128 div = pow10i(Decimal::kScale - decimals);
  i128 q = value.units / div;
  i128 r = value.units % div;
  i128 twice = (r < 0 ? -r : r) * 2;
  bool away = false;
  if (twice > div) {
    away = true;
  } else if (twice == div) {
    // A dropped non-zero digit puts the true value beyond the half.
    away = value.inexact || rounding == Rounding::HalfAwayFromZero || (q % 2 != 0);
  }
  if (away) q += value.units < 0 ? -1 : 1;
  return saturate64(q);
}

std::string FormatFixed(int64_t units, int decimals, int minIntDigits) {
  bool negative = units < 0;
  unsigned __int128 magnitude = negative ? -static_cast<i128>(units) : static_cast<i128>(units);
  unsigned __int128 div = static_cast<unsigned __int128>(pow10i(decimals < 0 ? 0 : decimals));
  unsigned __int128 whole = magnitude / div, frac = magnitude % div;
  auto digits = [](unsigned __int128 v, int width) {
    std::string s;
    do {
      s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
      v /= 10;
    } while (v != 0);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), '0');
    return s;
  };
  std::string out = negative ? "-" : "";
  out += digits(whole, minIntDigits);
  if (decimals > 0) out += "." + digits(frac, decimals);
  return out;
}

std::string PlainNumber(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  if (res.ec != std::errc()) return "0";
  return std::string(buf, res.ptr);
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  auto d = ParseDecimal(text);
  if (!d) return std::nullopt;
  const i128 limit = static_cast<i128>(std::numeric_limits<int64_t>::max()) * pow10i(Decimal::kScale);
  if (d->units > limit || d->units < -limit) return std::nullopt;
  return RoundTo(*d, 0, Rounding::HalfEven);
}

}  // namespace n27
