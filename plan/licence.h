#pragma once
// The customer's licence: the frequencies a customer may use, read from a CSV file.
//
//   Frequency,Bandwidth,Power,Use,Expires,Licensee,Reference
//   462.5625,12.5,2,TX/RX,2027-03-31,Harbour Taxis Ltd,LIC-0042
//
// Frequency (MHz), Bandwidth (kHz) and Power (W, the most allowed) are required columns; Use
// ("TX/RX" or "RX"), Expires (YYYY-MM-DD, the last day the line holds), Licensee and Reference
// are optional. Header names are matched without regard to case, and a unit after the name
// ("Frequency (MHz)") is allowed. A row that cannot be read is skipped with its line and the
// reason; it never makes the file count as no licence.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "codeplug/configuration.h"  // kMaxLicenceBytes

namespace n27::plan {

// A channel frequency matches a licensed one this close (Hz), either side.
inline constexpr int64_t kMatchToleranceHz = 5;

struct Date {
  int year = 0, month = 0, day = 0;
  auto operator<=>(const Date &) const = default;
  std::string text() const;  // "2027-03-31"
  // Days from 1970-01-01 (the proleptic Gregorian calendar).
  int64_t dayNumber() const;
};
// "YYYY-MM-DD" naming a real day; nothing otherwise.
std::optional<Date> ParseDate(std::string_view text);
// The computer's local date.
Date Today();

struct LicenceLine {
  int line = 0;               // line of the file
  int64_t frequencyHz = 0;
  int64_t bandwidthHz = 0;    // 0: not given (a receive-only line)
  double powerWatts = 0;      // 0: not given (a receive-only line)
  bool receiveOnly = false;   // Use "RX"
  std::optional<Date> expires;
  std::string licensee;
  std::string reference;
};

struct SkippedLine {
  int line = 0;
  std::string reason;  // current language
};

struct Licence {
  std::vector<LicenceLine> lines;    // in file order
  std::vector<SkippedLine> skipped;

  // The lines within kMatchToleranceHz of a frequency, in file order.
  std::vector<const LicenceLine *> matching(int64_t frequencyHz) const;
  // Licensee and Reference texts of the lines, each once, in file order, joined by "; ".
  std::string licensees() const;
  std::string references() const;

  // Called after the lines are in (ParseLicence does it): builds the frequency index.
  void index();

 private:
  std::vector<std::size_t> byFrequency_;  // positions in `lines`, by frequency
};

struct LicenceParse {
  std::optional<Licence> licence;  // nothing when the text is no licence at all
  std::string error;               // why not (current language)
};

// Reads the text of a licence file. A text without a header naming Frequency, Bandwidth and
// Power is no licence (with the reason); otherwise every row either becomes a line or is
// skipped with its reason.
LicenceParse ParseLicence(std::string_view text);

// Reads a licence file: a regular file of at most kMaxLicenceBytes. The text when it could be
// read; otherwise nothing and the reason (current language).
std::optional<std::string> ReadLicenceText(const std::string &path, std::string &error);

// "462.56250" for a frequency in Hz (the grid's form, MHz with five decimals; a frequency off
// the 10 Hz raster shows six); at least `minIntDigits` digits before the point.
std::string MhzText(int64_t hz, int minIntDigits = 3);
// "12.5" / "25" for a bandwidth in Hz, as kHz.
std::string KhzText(int64_t hz);
// "2" / "2.5" / "0.5" for watts.
std::string WattsText(double watts);

}  // namespace n27::plan
