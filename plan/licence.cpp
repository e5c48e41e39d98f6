#include "plan/licence.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

#include "base/ascii_case.h"
#include "base/file_io.h"
#include "base/language.h"
#include "channels/csv_records.h"
#include "channels/number_text.h"

namespace n27::plan {

namespace {

using csv::detail::Record;
using csv::detail::rowReason;
using csv::detail::trim;

namespace why {
constexpr Tr kNoHeader{"The file holds no header line: this is no licence.", "文件没有标题行：不是许可证。"};
constexpr Tr kNoColumn{"The header line has no %1 column: this is no licence.", "标题行没有 %1 列：不是许可证。"};
constexpr Tr kFrequency{"Frequency \"%1\" is not a frequency in MHz", "Frequency“%1”不是以 MHz 为单位的频率"};
constexpr Tr kBandwidth{"Bandwidth \"%1\" is not a bandwidth in kHz", "Bandwidth“%1”不是以 kHz 为单位的带宽"};
constexpr Tr kPower{"Power \"%1\" is not a wattage above 0", "Power“%1”不是大于 0 的瓦数"};
constexpr Tr kNoBandwidth{"a transmit line needs its Bandwidth", "发射行必须填写 Bandwidth"};
constexpr Tr kNoPower{"a transmit line needs its Power", "发射行必须填写 Power"};
constexpr Tr kUnclosed{"a quoted field runs to the end of the file", "引号内的字段一直延续到文件末尾"};
constexpr Tr kUse{"Use \"%1\" is neither TX/RX nor RX", "Use“%1”既不是 TX/RX 也不是 RX"};
constexpr Tr kExpires{"Expires \"%1\" is no date of the form YYYY-MM-DD", "Expires“%1”不是 YYYY-MM-DD 格式的日期"};
}  // namespace why

enum Column { kFrequency, kBandwidth, kPower, kUse, kExpires, kLicensee, kReference, kColumnCount };
constexpr std::array<const char *, kColumnCount> kColumnNames = {"Frequency", "Bandwidth", "Power", "Use",
                                                                "Expires",   "Licensee",  "Reference"};

// "Frequency (MHz)" → "frequency".
std::string headerName(const std::string &cell) {
  std::string name = AsciiLower(trim(cell));
  if (auto cut = name.find_first_of("(["); cut != std::string::npos) name = trim(name.substr(0, cut));
  return name;
}

// The text without a unit at its end ("12.5 kHz" → "12.5", "2W" → "2"), any case.
std::string withoutUnit(const std::string &cell, std::initializer_list<const char *> units) {
  std::string text = trim(cell);
  const std::string low = AsciiLower(text);
  for (const char *unit : units) {
    const std::string u = unit;
    if (low.size() > u.size() && low.compare(low.size() - u.size(), u.size(), u) == 0)
      return trim(text.substr(0, text.size() - u.size()));
  }
  return text;
}

// A positive decimal at most `limit`, as a count of 10^-decimals.
std::optional<int64_t> positive(const std::string &text, int decimals, int64_t limit) {
  auto d = ParseDecimal(text);
  if (!d) return std::nullopt;
  const int64_t v = RoundTo(*d, decimals, Rounding::HalfAwayFromZero);
  if (v <= 0 || v > limit) return std::nullopt;
  return v;
}

std::string cellOf(const Record &rec, const std::array<int, kColumnCount> &at, Column c) {
  const int k = at[c];
  return k >= 0 && k < static_cast<int>(rec.fields.size()) ? trim(rec.fields[k]) : std::string();
}

// One row as a licence line, or the reason it cannot be one.
std::optional<LicenceLine> readLine(const Record &rec, const std::array<int, kColumnCount> &at,
                                    std::string &reason) {
  auto cell = [&](Column c) { return cellOf(rec, at, c); };
  LicenceLine l;
  l.line = rec.line;
  if (rec.unclosedQuote) {
    reason = Text(why::kUnclosed);
    return std::nullopt;
  }
  const std::string use = AsciiLower(cell(kUse));
  if (use == "rx" || use == "rx only") l.receiveOnly = true;
  else if (!use.empty() && use != "tx/rx" && use != "rx/tx" && use != "txrx" && use != "tx") {
    reason = rowReason(why::kUse, {cell(kUse)});
    return std::nullopt;
  }
  const std::string frequency = cell(kFrequency);
  const auto hz = positive(withoutUnit(frequency, {"mhz"}), 6, 100'000'000'000);  // up to 100 GHz
  if (!hz) {
    reason = rowReason(why::kFrequency, {frequency});
    return std::nullopt;
  }
  l.frequencyHz = *hz;
  const std::string bandwidth = cell(kBandwidth), power = cell(kPower);
  if (!bandwidth.empty()) {
    const auto bw = positive(withoutUnit(bandwidth, {"khz", "k"}), 3, 10'000'000);
    if (!bw) {
      reason = rowReason(why::kBandwidth, {bandwidth});
      return std::nullopt;
    }
    l.bandwidthHz = *bw;
  } else if (!l.receiveOnly) {
    reason = Text(why::kNoBandwidth);
    return std::nullopt;
  }
  if (!power.empty()) {
    const auto mw = positive(withoutUnit(power, {"w"}), 3, 100'000'000);  // milliwatts, up to 100 kW
    if (!mw) {
      reason = rowReason(why::kPower, {power});
      return std::nullopt;
    }
    l.powerWatts = static_cast<double>(*mw) / 1000.0;
  } else if (!l.receiveOnly) {
    reason = Text(why::kNoPower);
    return std::nullopt;
  }
  if (const std::string expires = cell(kExpires); !expires.empty()) {
    l.expires = ParseDate(expires);
    if (!l.expires) {
      reason = rowReason(why::kExpires, {expires});
      return std::nullopt;
    }
  }
  l.licensee = cell(kLicensee);
  l.reference = cell(kReference);
  return l;
}

std::string joinedOnce(const std::vector<LicenceLine> &lines, std::string LicenceLine::*member) {
  std::vector<std::string> seen;
  std::string out;
  for (const LicenceLine &l : lines) {
    const std::string &v = l.*member;
    if (v.empty() || std::find(seen.begin(), seen.end(), v) != seen.end()) continue;
    seen.push_back(v);
    out += (out.empty() ? "" : "; ") + v;
  }
  return out;
}

}  // namespace

std::string Date::text() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
  return buf;
}

int64_t Date::dayNumber() const {
  // Days from civil: March-based years so that the leap day ends a year.
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

std::optional<Date> ParseDate(std::string_view text) {
  const std::string t = trim(text);
  if (t.size() != 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
  Date d{std::stoi(t.substr(0, 4)), std::stoi(t.substr(5, 2)), std::stoi(t.substr(8, 2))};
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (d.year % 4 == 0 && d.year % 100 != 0) || d.year % 400 == 0;
  if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1) return std::nullopt;
  if (d.day > kDays[d.month - 1] + (d.month == 2 && leap ? 1 : 0)) return std::nullopt;
  return d;
}

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

void Licence::index() {
  byFrequency_.resize(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) byFrequency_[i] = i;
  std::stable_sort(byFrequency_.begin(), byFrequency_.end(),
                   [this](std::size_t a, std::size_t b) { return lines[a].frequencyHz < lines[b].frequencyHz; });
}

std::vector<const LicenceLine *> Licence::matching(int64_t frequencyHz) const {
  std::vector<const LicenceLine *> out;
  auto first = std::lower_bound(byFrequency_.begin(), byFrequency_.end(), frequencyHz - kMatchToleranceHz,
                                [this](std::size_t i, int64_t f) { return lines[i].frequencyHz < f; });
  for (auto it = first; it != byFrequency_.end() && lines[*it].frequencyHz <= frequencyHz + kMatchToleranceHz; ++it)
    out.push_back(&lines[*it]);
  std::sort(out.begin(), out.end(), [](const LicenceLine *a, const LicenceLine *b) { return a->line < b->line; });
  return out;
}

std::string Licence::licensees() const { return joinedOnce(lines, &LicenceLine::licensee); }
std::string Licence::references() const { return joinedOnce(lines, &LicenceLine::reference); }

LicenceParse ParseLicence(std::string_view text) {
  LicenceParse out;
  const std::vector<Record> records = csv::detail::readRecords(text);
  if (records.empty()) {
    out.error = Text(why::kNoHeader);
    return out;
  }
  std::array<int, kColumnCount> at;
  at.fill(-1);
  for (std::size_t k = 0; k < records[0].fields.size(); ++k)
    for (int c = 0; c < kColumnCount; ++c)
      if (at[c] < 0 && headerName(records[0].fields[k]) == AsciiLower(kColumnNames[c])) at[c] = static_cast<int>(k);
  for (Column required : {kFrequency, kBandwidth, kPower})
    if (at[required] < 0) {
      out.error = Fill(why::kNoColumn, {kColumnNames[required]});
      return out;
    }
  Licence licence;
  for (std::size_t r = 1; r < records.size(); ++r) {
    std::string reason;
    if (auto line = readLine(records[r], at, reason)) licence.lines.push_back(std::move(*line));
    else licence.skipped.push_back({records[r].line, reason});
  }
  licence.index();
  out.licence = std::move(licence);
  return out;
}

std::optional<std::string> ReadLicenceText(const std::string &path, std::string &error) {
  ReadResult r = ReadWholeFile(path, kMaxLicenceBytes);
  if (r) return std::move(*r.bytes);
  error = r.outcome.reason();
  return std::nullopt;
}

std::string MhzText(int64_t hz, int minIntDigits) {
  return hz % 10 == 0 ? FormatFixed(hz / 10, 5, minIntDigits) : FormatFixed(hz, 6, minIntDigits);
}

std::string KhzText(int64_t hz) {
  std::string t = FormatFixed(hz, 3, 1);
  while (t.back() == '0') t.pop_back();
  if (t.back() == '.') t.pop_back();
  return t;
}

std::string WattsText(double watts) { return PlainNumber(watts); }

}  // namespace n27::plan
