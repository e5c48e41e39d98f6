#pragma once
// Numbers in texts, exactly and whatever the user's locale.
//
// Every number the channel editors take or show is decimal text with "." as the separator.
// Texts are parsed into an exact fixed-point value (no binary floating point on the way), so
// 462.125 is exactly 462.125 and "halves" really are halves when a value is rounded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace n27 {

// A decimal number held as an integer count of 10^-12. Digits below that are dropped, and
// `inexact` remembers that a non-zero digit was dropped (so a rounding never mistakes a value
// just above a half for an exact half). Magnitudes above 10^24 saturate.
struct Decimal {
  static constexpr int kScale = 12;
  __int128 units = 0;
  bool inexact = false;

  static Decimal fromInt(int64_t v);
  // The shortest text that reads back as the double, then parsed exactly (400.0 → 400).
  static Decimal fromDouble(double v);
  double toDouble() const;

  friend bool operator<(const Decimal &a, const Decimal &b) { return a.units < b.units; }
  friend bool operator>(const Decimal &a, const Decimal &b) { return a.units > b.units; }
};

enum class Rounding { HalfAwayFromZero, HalfEven };

// A numeric text: optional blanks around it, an optional sign, digits with at most one ".",
// at least one digit, and an optional exponent ("1e3"). "462.", ".5" and " 12 " are numeric;
// "", ".", "1,5", "12a", "inf" are not.
std::optional<Decimal> ParseDecimal(std::string_view text);
bool IsNumeric(std::string_view text);

// The value rounded to `decimals` digits (0..12), as a count of 10^-decimals; saturates at
// the int64 range.
int64_t RoundTo(const Decimal &value, int decimals, Rounding rounding);

// An integer count of 10^-decimals written with at least minIntDigits integer digits and
// exactly `decimals` decimals: FormatFixed(46212500, 5, 3) == "462.12500",
// FormatFixed(1000, 1, 1) == "100.0", FormatFixed(7, 0, 1) == "7".
std::string FormatFixed(int64_t units, int decimals, int minIntDigits);

// A double as the shortest plain text that reads back the same ("400", "136.5").
std::string PlainNumber(double value);

// A numeric text as an integer, halves to even (2.5 → 2); nullopt when not numeric or
// outside the int64 range.
std::optional<int64_t> ParseInteger(std::string_view text);

}  // namespace n27
