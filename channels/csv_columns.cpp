// The column mapping: one row of a channel list read as one channel of this radio.

#include "channels/csv_columns.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/ascii_case.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27::csv::detail {

namespace why {
constexpr Tr kNoFrequencyValue{"the Frequency is empty", "频率为空"};
constexpr Tr kNotNumber{"%1 \"%2\" is not a number", "%1“%2”不是数字"};
constexpr Tr kRaster{"%1 %2 MHz is not a multiple of 10 Hz", "%1 %2 MHz 不是 10 Hz 的整数倍"};
constexpr Tr kRxRange{"RX frequency %1 MHz is outside %2–%3 MHz", "接收频率 %1 MHz 超出 %2–%3 MHz"};
constexpr Tr kTxRange{"TX frequency %1 MHz is outside %2–%3 MHz", "发射频率 %1 MHz 超出 %2–%3 MHz"};
constexpr Tr kNoOffset{"Duplex \"%1\" needs an Offset", "双工“%1”需要 Offset"};
constexpr Tr kDuplex{"Duplex \"%1\" is none of \"\", +, -, split, off", "双工“%1”不是 \"\"、+、-、split、off 之一"};
constexpr Tr kTone{"Tone \"%1\" is none of \"\", Tone, TSQL, DTCS, Cross", "Tone“%1”不是 \"\"、Tone、TSQL、DTCS、Cross 之一"};
constexpr Tr kCross{"CrossMode \"%1\" is not supported", "不支持 CrossMode“%1”"};
constexpr Tr kCtcss{"%1 \"%2\" is no CTCSS tone the radio has (50.0–260.0 Hz in steps of 0.1 Hz)",
                    "%1“%2”不是本机的 CTCSS 亚音（50.0–260.0 Hz，步进 0.1 Hz）"};
constexpr Tr kDcs{"%1 \"%2\" is not in the radio's DCS code list", "%1“%2”不在本机的 DCS 码表中"};
constexpr Tr kPolarity{"DtcsPolarity \"%1\" is none of NN, NR, RN, RR", "DtcsPolarity“%1”不是 NN、NR、RN、RR 之一"};
constexpr Tr kMode{"Mode \"%1\" is neither FM (25 kHz) nor NFM (12.5 kHz)", "Mode“%1”不是 FM（25 kHz）或 NFM（12.5 kHz）"};
constexpr Tr kSkip{"Skip \"%1\" is none of \"\", S, P", "Skip“%1”不是 \"\"、S、P 之一"};
constexpr Tr kPower{"Power \"%1\" is neither a wattage nor Low, Mid, High", "功率“%1”不是瓦数，也不是 Low、Mid、High"};
}  // namespace why

namespace {

constexpr int kFreqDecimals = 5;  // 10 Hz

int64_t limitUnits(double mhz) {
  return RoundTo(Decimal::fromDouble(mhz), kFreqDecimals, Rounding::HalfAwayFromZero);
}

// A DCS code ("23", "023", "D023") with a polarity letter as the tone text ("D023N").
std::optional<std::string> parseDcs(std::string cell, char polarity) {
  if (!cell.empty() && (cell[0] == 'D' || cell[0] == 'd')) cell.erase(0, 1);
  if (cell.empty() || cell.size() > 3) return std::nullopt;
  for (char c : cell)
    if (c < '0' || c > '7') return std::nullopt;
  while (cell.size() < 3) cell.insert(cell.begin(), '0');
  std::string text = "D" + cell + (polarity == 'R' ? "I" : "N");
  if (FindToneEntry(text) < 0) return std::nullopt;
  return text;
}

}  // namespace

std::optional<int64_t> parseFrequency(const std::string &cell, const Tr &name, std::string &reason) {
  auto d = ParseDecimal(cell);
  if (!d) {
    reason = rowReason(why::kNotNumber, {name.get(), cell});
    return std::nullopt;
  }
  int64_t units = RoundTo(*d, kFreqDecimals, Rounding::HalfEven);
  Decimal back = Decimal::fromInt(units);
  back.units /= 100000;  // back to MHz: units of 10 Hz are 10^-5 MHz
  if (d->inexact || back.units != d->units) {
    reason = rowReason(why::kRaster, {name.get(), cell});
    return std::nullopt;
  }
  return units;
}

std::string mhz6(int64_t units10Hz) { return FormatFixed(units10Hz, kFreqDecimals, 1) + "0"; }  // no overflow
std::string display(int64_t units10Hz) { return FormatFixed(units10Hz, kFreqDecimals, 3); }

std::optional<std::string> parseCtcss(const std::string &cell) {
  auto d = ParseDecimal(cell);
  if (!d) return std::nullopt;
  int64_t tenths = RoundTo(*d, 1, Rounding::HalfEven);
  Decimal back = Decimal::fromInt(tenths);
  back.units /= 10;
  if (d->inexact || back.units != d->units || tenths < 500 || tenths > 2600) return std::nullopt;
  return FormatFixed(tenths, 1, 1);
}

std::string RowReader::cell(int col) const {
  int k = h_.at[col];
  if (col == kCTone && k < 0) k = h_.at[kRTone];  // one tone column serves both
  if (col == kRTone && k < 0) k = h_.at[kCTone];
  return k >= 0 && k < static_cast<int>(rec_.fields.size()) ? rec_.fields[static_cast<std::size_t>(k)] : std::string();
}

std::optional<Planned> RowReader::read(std::string &reason) const {
  Planned p;
  p.line = rec_.line;
  const std::string freq = cell(kFrequency);
  if (freq.empty()) {
    reason = rowReason(why::kNoFrequencyValue);
    return std::nullopt;
  }
  static constexpr Tr kFrequencyName{"Frequency", "频率"};
  static constexpr Tr kOffsetName{"Offset", "差频"};
  auto rx = parseFrequency(freq, kFrequencyName, reason);
  if (!rx) return std::nullopt;
  if (!inBand(*rx, kFieldRx)) {
    reason = rangeReason(why::kRxRange, *rx, kFieldRx);
    return std::nullopt;
  }
  p.rx = *rx;

  const std::string duplex = cell(kDuplex), offset = cell(kOffset);
  if (duplex.empty()) {
    p.tx = p.rx;
  } else if (AsciiEqualNoCase(duplex, "off")) {
    p.tx.reset();
  } else if (duplex == "+" || duplex == "-" || AsciiEqualNoCase(duplex, "split")) {
    if (offset.empty()) {
      reason = rowReason(why::kNoOffset, {duplex});
      return std::nullopt;
    }
    auto off = parseFrequency(offset, kOffsetName, reason);
    if (!off) return std::nullopt;
    p.tx = duplex == "+" ? p.rx + *off : duplex == "-" ? p.rx - *off : *off;
    if (!inBand(*p.tx, kFieldTx)) {
      reason = rangeReason(why::kTxRange, *p.tx, kFieldTx);
      return std::nullopt;
    }
  } else {
    reason = rowReason(why::kDuplex, {duplex});
    return std::nullopt;
  }

  if (!readTones(p, reason)) return std::nullopt;
  if (!p.tx) p.encode.clear();  // nothing to send a tone with

  const std::string mode = cell(kMode);
  if (AsciiEqualNoCase(mode, "FM")) p.spacing = 1;
  else if (AsciiEqualNoCase(mode, "NFM")) p.spacing = 0;
  else if (!mode.empty()) {
    reason = rowReason(why::kMode, {mode});
    return std::nullopt;
  }

  const std::string skip = cell(kSkipCol);
  if (h_.at[kSkipCol] < 0) p.scanAdd.reset();
  else if (skip.empty()) p.scanAdd = true;
  else if (AsciiEqualNoCase(skip, "S") || AsciiEqualNoCase(skip, "P")) p.scanAdd = false;
  else {
    reason = rowReason(why::kSkip, {skip});
    return std::nullopt;
  }

  const std::string power = cell(kPowerCol);
  if (!power.empty()) {
    p.power = ParsePower(power);
    if (!p.power) {
      reason = rowReason(why::kPower, {power});
      return std::nullopt;
    }
  }
  return p;
}

bool RowReader::inBand(int64_t units, int field) const {
  return units >= limitUnits(LowerLimit(ctx_.ws)) && units <= limitUnits(UpperLimit(ctx_.ws, field));
}

std::string RowReader::rangeReason(const Tr &t, int64_t units, int field) const {
  return rowReason(t, {mhz6(units), PlainNumber(LowerLimit(ctx_.ws)), PlainNumber(UpperLimit(ctx_.ws, field))});
}

bool RowReader::ctcss(int col, std::string &out, std::string &reason) const {
  const std::string v = cell(col);
  auto t = parseCtcss(v);
  if (!t) {
    reason = rowReason(why::kCtcss, {kColumns[col], v});
    return false;
  }
  out = *t;
  return true;
}

bool RowReader::dcs(int col, char polarity, std::string &out, std::string &reason) const {
  const std::string v = cell(col);
  auto t = parseDcs(v, polarity);
  if (!t) {
    reason = rowReason(why::kDcs, {kColumns[col], v});
    return false;
  }
  out = *t;
  return true;
}

bool RowReader::readTones(Planned &p, std::string &reason) const {
  const std::string tone = cell(kTone);
  if (tone.empty()) return true;
  std::string pol = cell(kPolarityCol);
  for (char &c : pol) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (pol.empty()) pol = "NN";
  const bool polOk = pol.size() == 2 && (pol[0] == 'N' || pol[0] == 'R') && (pol[1] == 'N' || pol[1] == 'R');
  auto needPolarity = [&] {
    if (!polOk) reason = rowReason(why::kPolarity, {cell(kPolarityCol)});
    return polOk;
  };
  if (AsciiEqualNoCase(tone, "Tone")) return ctcss(kRTone, p.encode, reason);
  if (AsciiEqualNoCase(tone, "TSQL")) {
    if (!ctcss(kCTone, p.decode, reason)) return false;
    p.encode = p.decode;
    return true;
  }
  if (AsciiEqualNoCase(tone, "DTCS"))
    return needPolarity() && dcs(kDtcs, pol[0], p.encode, reason) && dcs(kDtcs, pol[1], p.decode, reason);
  if (!AsciiEqualNoCase(tone, "Cross")) {
    reason = rowReason(why::kTone, {tone});
    return false;
  }
  // Cross: "TX->RX", each side Tone, DTCS or nothing.
  std::string mode = cell(kCrossMode);
  mode.erase(std::remove(mode.begin(), mode.end(), ' '), mode.end());
  const auto arrow = mode.find("->");
  if (arrow == std::string::npos) {
    reason = rowReason(why::kCross, {cell(kCrossMode)});
    return false;
  }
  const std::string txSide = AsciiLower(mode.substr(0, arrow)), rxSide = AsciiLower(mode.substr(arrow + 2));
  auto known = [](const std::string &s) { return s.empty() || s == "tone" || s == "dtcs"; };
  if (!known(txSide) || !known(rxSide) || (txSide.empty() && rxSide.empty())) {
    reason = rowReason(why::kCross, {cell(kCrossMode)});
    return false;
  }
  if ((txSide == "dtcs" || rxSide == "dtcs") && !needPolarity()) return false;
  if (txSide == "tone" && !ctcss(kRTone, p.encode, reason)) return false;
  if (txSide == "dtcs" && !dcs(kDtcs, pol[0], p.encode, reason)) return false;
  if (rxSide == "tone" && !ctcss(kCTone, p.decode, reason)) return false;
  if (rxSide == "dtcs" && !dcs(kRxDtcs, pol[1], p.decode, reason)) return false;
  return true;
}

}  // namespace n27::csv::detail

namespace n27::csv {

using detail::trim;

std::optional<int> ParsePower(std::string_view textIn) {
  const std::string text = trim(textIn);
  const std::string l = AsciiLower(text);
  if (l == "low" || l == "l" || text == kPowerTexts[0].at(kChinese)) return 0;
  if (l == "mid" || l == "middle" || l == "medium" || l == "m" || text == kPowerTexts[1].at(kChinese)) return 1;
  if (l == "high" || l == "h" || text == kPowerTexts[2].at(kChinese)) return 2;
  std::string number = l;
  if (!number.empty() && number.back() == 'w') number.pop_back();
  auto d = ParseDecimal(number);
  if (!d || number.empty()) return std::nullopt;
  const double w = d->toDouble();
  if (!(w > 0) || !std::isfinite(w)) return std::nullopt;
  // Nearest level; half-way goes down.
  if (w <= (kWattsLow + kWattsMiddle) / 2) return 0;
  if (w <= (kWattsMiddle + kWattsHigh) / 2) return 1;
  return 2;
}

}  // namespace n27::csv
