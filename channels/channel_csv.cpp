#include "channels/channel_csv.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "channels/channel_changes.h"
#include "channels/channel_ops.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27::csv {

const char *const kColumns[kColumnCount] = {
    "Location", "Name",      "Frequency", "Duplex", "Offset",  "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power",     "Comment",   "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"};

std::string Fill(std::string_view pattern, const std::vector<std::string> &args) {
  return FillPattern(pattern, args);
}

namespace {

// ---- texts of the import ----
namespace why {
constexpr Tr kTooBig{"The file is larger than 4 MiB; a channel list is much smaller.",
                     "文件大于 4 MiB，不是信道列表。"};
constexpr Tr kNotRegular{"%1 is not a regular file.", "%1 不是普通文件。"};
constexpr Tr kUnreadable{"%1 cannot be read.", "无法读取 %1。"};
constexpr Tr kNoHeader{"The file holds no header line.", "文件没有标题行。"};
constexpr Tr kNoFrequency{"The header line has no Frequency column: this is no channel list.",
                          "标题行没有 Frequency 列：不是信道列表。"};
constexpr Tr kNoLocation{"The header line has no Location column (needed unless channels are appended).",
                         "标题行没有 Location 列（追加信道时才可省略）。"};
constexpr Tr kLocationNumber{"Location \"%1\" is not a channel number", "位置“%1”不是信道编号"};
constexpr Tr kLocationRange{"channel %1 is outside 1–128", "信道 %1 超出 1–128"};
constexpr Tr kDuplicate{"channel %1 is already given by line %2", "信道 %1 已由第 %2 行给出"};
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
constexpr Tr kNoFree{"no free channel left", "没有空闲信道"};
constexpr Tr kNotStored{"channel %1 could not be stored", "信道 %1 无法保存"};

constexpr Tr kSummaryImported{"Channels imported: %1 (new: %2, replaced: %3).", "已导入信道：%1 个（新建 %2 个，覆盖 %3 个）。"};
constexpr Tr kSummaryRemoved{"Channels removed (not in the list): %1.", "已删除列表以外的信道：%1 个。"};
constexpr Tr kSummaryShift{"The list counts from Location 0: every channel moved up by one (Location 0 is channel 1).",
                           "列表从位置 0 开始编号：所有信道顺移一位（位置 0 为信道 1）。"};
constexpr Tr kSummarySkipped{"Rows skipped: %1", "跳过的行：%1 行"};
constexpr Tr kSummaryLine{"line %1: %2", "第 %1 行：%2"};
constexpr Tr kSummaryNothing{"No row could be imported; the channels are unchanged.", "没有可导入的行，信道未改变。"};
}  // namespace why

std::string tr(const Tr &t, std::vector<std::string> args = {}) { return Fill(t.get(), args); }

std::string lower(std::string_view s) {
  std::string out(s);
  for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string trim(std::string_view s) {
  std::size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

// ---- reading the records ----

struct Record {
  int line = 0;  // first line of the record
  std::vector<std::string> fields;
};

// Splits the text into records: fields separated by commas, a field in double quotes may hold
// commas, line ends and doubled quotes; CR LF, LF and CR end a line; a line that starts with
// '#' is a comment; an empty line is no record.
std::vector<Record> readRecords(std::string_view text) {
  std::vector<Record> records;
  std::size_t i = 0;
  int line = 1;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;
  auto atLineEnd = [&](std::size_t k) { return k < text.size() && (text[k] == '\r' || text[k] == '\n'); };
  auto skipLineEnd = [&] {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    ++i;
    ++line;
  };
  while (i < text.size()) {
    if (text[i] == '#') {  // a comment line
      while (i < text.size() && !atLineEnd(i)) ++i;
      if (i < text.size()) skipLineEnd();
      continue;
    }
    if (atLineEnd(i)) {  // an empty line
      skipLineEnd();
      continue;
    }
    Record rec;
    rec.line = line;
    std::string field;
    bool quoted = false, wasQuoted = false;
    while (i < text.size()) {
      char c = text[i];
      if (quoted) {
        if (c == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
          } else {
            quoted = false;
            ++i;
          }
          continue;
        }
        if (c == '\r' || c == '\n') {
          field += '\n';
          skipLineEnd();
          continue;
        }
        field += c;
        ++i;
        continue;
      }
      if (c == '"' && trim(field).empty()) {
        field.clear();
        quoted = wasQuoted = true;
        ++i;
        continue;
      }
      if (c == ',') {
        rec.fields.push_back(wasQuoted ? field : trim(field));
        field.clear();
        wasQuoted = false;
        ++i;
        continue;
      }
      if (c == '\r' || c == '\n') break;
      field += c;
      ++i;
    }
    rec.fields.push_back(wasQuoted ? field : trim(field));
    if (i < text.size()) skipLineEnd();
    bool blank = std::all_of(rec.fields.begin(), rec.fields.end(), [](const std::string &f) { return f.empty(); });
    if (!blank || records.empty()) records.push_back(std::move(rec));
  }
  return records;
}

enum Col { kLocation, kName, kFrequency, kDuplex, kOffset, kTone, kRTone, kCTone, kDtcs, kPolarityCol,
           kRxDtcs, kCrossMode, kMode, kTStep, kSkipCol, kPowerCol };

// Column positions by header name (case and blanks ignored); -1 when absent.
struct Header {
  std::array<int, kColumnCount> at;
  Header() { at.fill(-1); }
};

Header readHeader(const Record &rec) {
  Header h;
  for (std::size_t k = 0; k < rec.fields.size(); ++k) {
    const std::string name = lower(trim(rec.fields[k]));
    for (int c = 0; c < kColumnCount; ++c)
      if (h.at[c] < 0 && name == lower(kColumns[c])) h.at[c] = static_cast<int>(k);
  }
  return h;
}

// ---- values ----

constexpr int kFreqDecimals = 5;  // 10 Hz

// A frequency in MHz as a count of 10 Hz; an error reason otherwise.
std::optional<int64_t> parseFrequency(const std::string &cell, const Tr &name, std::string &reason) {
  auto d = ParseDecimal(cell);
  if (!d) {
    reason = tr(why::kNotNumber, {name.get(), cell});
    return std::nullopt;
  }
  int64_t units = RoundTo(*d, kFreqDecimals, Rounding::HalfEven);
  Decimal back = Decimal::fromInt(units);
  back.units /= 100000;  // back to MHz: units of 10 Hz are 10^-5 MHz
  if (d->inexact || back.units != d->units) {
    reason = tr(why::kRaster, {name.get(), cell});
    return std::nullopt;
  }
  return units;
}

int64_t limitUnits(double mhz) {
  return RoundTo(Decimal::fromDouble(mhz), kFreqDecimals, Rounding::HalfAwayFromZero);
}

std::string mhz6(int64_t units10Hz) { return FormatFixed(units10Hz, kFreqDecimals, 1) + "0"; }  // no overflow
std::string display(int64_t units10Hz) { return FormatFixed(units10Hz, kFreqDecimals, 3); }

// A CTCSS tone in tenths of Hz as the tone text the codec takes ("88.5", "123.4").
std::optional<std::string> parseCtcss(const std::string &cell) {
  auto d = ParseDecimal(cell);
  if (!d) return std::nullopt;
  int64_t tenths = RoundTo(*d, 1, Rounding::HalfEven);
  Decimal back = Decimal::fromInt(tenths);
  back.units /= 10;
  if (d->inexact || back.units != d->units || tenths < 500 || tenths > 2600) return std::nullopt;
  return FormatFixed(tenths, 1, 1);
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

bool equalsNoCase(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

// One row that fits the radio, ready to be stored.
struct Planned {
  int line = 0;
  int channel = 0;                 // 0 until placed (append)
  int64_t rx = 0;                  // 10 Hz
  std::optional<int64_t> tx;       // none: no TX frequency
  std::string decode, encode;      // tone texts, "" for none
  std::optional<int> power;        // 0..2
  std::optional<int> spacing;      // 0 narrow, 1 wide
  std::optional<bool> scanAdd;     // none: the list has no Skip column
};

class RowReader {
 public:
  RowReader(const ChannelContext &ctx, const Header &h, const Record &rec) : ctx_(ctx), h_(h), rec_(rec) {}

  std::string cell(int col) const {
    int k = h_.at[col];
    if (col == kCTone && k < 0) k = h_.at[kRTone];  // one tone column serves both
    if (col == kRTone && k < 0) k = h_.at[kCTone];
    return k >= 0 && k < static_cast<int>(rec_.fields.size()) ? rec_.fields[static_cast<std::size_t>(k)] : std::string();
  }

  // The row's values, or the reason it cannot be stored.
  std::optional<Planned> read(std::string &reason) const {
    Planned p;
    p.line = rec_.line;
    const std::string freq = cell(kFrequency);
    if (freq.empty()) {
      reason = tr(why::kNoFrequencyValue);
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
    } else if (equalsNoCase(duplex, "off")) {
      p.tx.reset();
    } else if (duplex == "+" || duplex == "-" || equalsNoCase(duplex, "split")) {
      if (offset.empty()) {
        reason = tr(why::kNoOffset, {duplex});
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
      reason = tr(why::kDuplex, {duplex});
      return std::nullopt;
    }

    if (!readTones(p, reason)) return std::nullopt;
    if (!p.tx) p.encode.clear();  // nothing to send a tone with

    const std::string mode = cell(kMode);
    if (equalsNoCase(mode, "FM")) p.spacing = 1;
    else if (equalsNoCase(mode, "NFM")) p.spacing = 0;
    else if (!mode.empty()) {
      reason = tr(why::kMode, {mode});
      return std::nullopt;
    }

    const std::string skip = cell(kSkipCol);
    if (h_.at[kSkipCol] < 0) p.scanAdd.reset();
    else if (skip.empty()) p.scanAdd = true;
    else if (equalsNoCase(skip, "S") || equalsNoCase(skip, "P")) p.scanAdd = false;
    else {
      reason = tr(why::kSkip, {skip});
      return std::nullopt;
    }

    const std::string power = cell(kPowerCol);
    if (!power.empty()) {
      p.power = ParsePower(power);
      if (!p.power) {
        reason = tr(why::kPower, {power});
        return std::nullopt;
      }
    }
    return p;
  }

 private:
  bool inBand(int64_t units, int field) const {
    return units >= limitUnits(LowerLimit(ctx_.ws)) && units <= limitUnits(UpperLimit(ctx_.ws, field));
  }
  std::string rangeReason(const Tr &t, int64_t units, int field) const {
    return tr(t, {mhz6(units), PlainNumber(LowerLimit(ctx_.ws)), PlainNumber(UpperLimit(ctx_.ws, field))});
  }

  bool ctcss(int col, std::string &out, std::string &reason) const {
    const std::string v = cell(col);
    auto t = parseCtcss(v);
    if (!t) {
      reason = tr(why::kCtcss, {kColumns[col], v});
      return false;
    }
    out = *t;
    return true;
  }
  bool dcs(int col, char polarity, std::string &out, std::string &reason) const {
    const std::string v = cell(col);
    auto t = parseDcs(v, polarity);
    if (!t) {
      reason = tr(why::kDcs, {kColumns[col], v});
      return false;
    }
    out = *t;
    return true;
  }

  bool readTones(Planned &p, std::string &reason) const {
    const std::string tone = cell(kTone);
    if (tone.empty()) return true;
    std::string pol = cell(kPolarityCol);
    for (char &c : pol) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (pol.empty()) pol = "NN";
    const bool polOk = pol.size() == 2 && (pol[0] == 'N' || pol[0] == 'R') && (pol[1] == 'N' || pol[1] == 'R');
    auto needPolarity = [&] {
      if (!polOk) reason = tr(why::kPolarity, {cell(kPolarityCol)});
      return polOk;
    };
    if (equalsNoCase(tone, "Tone")) return ctcss(kRTone, p.encode, reason);
    if (equalsNoCase(tone, "TSQL")) {
      if (!ctcss(kCTone, p.decode, reason)) return false;
      p.encode = p.decode;
      return true;
    }
    if (equalsNoCase(tone, "DTCS"))
      return needPolarity() && dcs(kDtcs, pol[0], p.encode, reason) && dcs(kDtcs, pol[1], p.decode, reason);
    if (!equalsNoCase(tone, "Cross")) {
      reason = tr(why::kTone, {tone});
      return false;
    }
    // Cross: "TX->RX", each side Tone, DTCS or nothing.
    std::string mode = cell(kCrossMode);
    mode.erase(std::remove(mode.begin(), mode.end(), ' '), mode.end());
    const auto arrow = mode.find("->");
    if (arrow == std::string::npos) {
      reason = tr(why::kCross, {cell(kCrossMode)});
      return false;
    }
    const std::string txSide = lower(mode.substr(0, arrow)), rxSide = lower(mode.substr(arrow + 2));
    auto known = [](const std::string &s) { return s.empty() || s == "tone" || s == "dtcs"; };
    if (!known(txSide) || !known(rxSide) || (txSide.empty() && rxSide.empty())) {
      reason = tr(why::kCross, {cell(kCrossMode)});
      return false;
    }
    if ((txSide == "dtcs" || rxSide == "dtcs") && !needPolarity()) return false;
    if (txSide == "tone" && !ctcss(kRTone, p.encode, reason)) return false;
    if (txSide == "dtcs" && !dcs(kDtcs, pol[0], p.encode, reason)) return false;
    if (rxSide == "tone" && !ctcss(kCTone, p.decode, reason)) return false;
    if (rxSide == "dtcs" && !dcs(kRxDtcs, pol[1], p.decode, reason)) return false;
    return true;
  }

  const ChannelContext &ctx_;
  const Header &h_;
  const Record &rec_;
};

// Stores one planned row into channel p.channel through the channel operations.
bool store(ChannelContext &ctx, const Planned &p) {
  const int n = p.channel;
  auto change = [&](int field, const std::string &text) { return ChangeChannel(ctx, 1, n, field, text, false); };
  if (change(kFieldRx, display(p.rx)) != EditStatus::Ok) return false;
  change(kFieldTx, p.tx ? display(*p.tx) : std::string());
  // A decode tone set while both tones are off is copied to the encode tone (and the other
  // way round): set the one that is not off first, so the second lands exactly.
  const std::string off = ToneListEntry(0);
  const std::string decode = p.decode.empty() ? off : p.decode;
  const std::string encode = p.encode.empty() ? off : p.encode;
  if (!p.decode.empty()) {
    change(kFieldDecode, decode);
    change(kFieldEncode, encode);
  } else {
    change(kFieldEncode, encode);
    change(kFieldDecode, decode);
  }
  if (p.power) change(kFieldPower, kPowerTexts[*p.power].get());
  if (p.spacing) change(kFieldSpacing, kSpacingTexts[*p.spacing].get());
  if (p.scanAdd) change(kFieldScanAddCheck, *p.scanAdd ? "1" : "0");
  return true;
}

}  // namespace

std::optional<int> ParsePower(std::string_view textIn) {
  const std::string text = trim(textIn);
  const std::string l = lower(text);
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

std::string PowerWatts(int level) {
  switch (level) {
    case 0: return "1.0W";
    case 1: return "2.5W";
    default: return "5.0W";
  }
}

bool IsChannelList(std::string_view text, std::string &error) {
  if (text.size() > kMaxCsvBytes) {
    error = tr(why::kTooBig);
    return false;
  }
  const std::vector<Record> records = readRecords(text);
  if (records.empty()) {
    error = tr(why::kNoHeader);
    return false;
  }
  if (readHeader(records.front()).at[kFrequency] < 0) {
    error = tr(why::kNoFrequency);
    return false;
  }
  return true;
}

ImportReport ImportChannelCsv(ChannelContext &ctx, std::string_view text, const ImportOptions &options) {
  ImportReport report;
  if (!IsChannelList(text, report.error)) return report;
  const std::vector<Record> records = readRecords(text);
  const Header header = readHeader(records.front());
  const bool atLocation = options.placement == Placement::AtLocation;
  if (atLocation && header.at[kLocation] < 0) {
    report.error = tr(why::kNoLocation);
    return report;
  }
  report.ok = true;

  // Locations first: the list moves up by one when its lowest Location is 0.
  struct Row {
    const Record *rec;
    std::optional<int64_t> location;
  };
  std::vector<Row> rows;
  std::optional<int64_t> lowest;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const Record &rec = records[r];
    if (std::all_of(rec.fields.begin(), rec.fields.end(), [](const std::string &f) { return f.empty(); })) continue;
    Row row{&rec, std::nullopt};
    if (atLocation) {
      RowReader reader(ctx, header, rec);
      const std::string loc = reader.cell(kLocation);
      auto d = ParseDecimal(loc);
      if (d && !d->inexact && d->units % 1000000000000 == 0) row.location = static_cast<int64_t>(d->units / 1000000000000);
      if (row.location && (!lowest || *row.location < *lowest)) lowest = row.location;
    }
    rows.push_back(row);
  }
  report.rows = static_cast<int>(rows.size());
  report.shiftedFromZero = atLocation && lowest && *lowest == 0;

  std::vector<Planned> planned;
  std::map<int, int> lineOfChannel;
  for (const Row &row : rows) {
    RowReader reader(ctx, header, *row.rec);
    std::string reason;
    int channel = 0;
    if (atLocation) {
      if (!row.location) {
        report.skipped.push_back({row.rec->line, tr(why::kLocationNumber, {reader.cell(kLocation)})});
        continue;
      }
      const int64_t n = *row.location + (report.shiftedFromZero ? 1 : 0);
      if (n < 1 || n > kMaxChannels) {
        report.skipped.push_back({row.rec->line, tr(why::kLocationRange, {std::to_string(n)})});
        continue;
      }
      channel = static_cast<int>(n);
      if (auto seen = lineOfChannel.find(channel); seen != lineOfChannel.end()) {
        report.skipped.push_back(
            {row.rec->line, tr(why::kDuplicate, {std::to_string(channel), std::to_string(seen->second)})});
        continue;
      }
    }
    auto p = reader.read(reason);
    if (!p) {
      report.skipped.push_back({row.rec->line, reason});
      continue;
    }
    p->channel = channel;
    if (atLocation) lineOfChannel[channel] = p->line;
    planned.push_back(*p);
  }

  CodeplugData &data = ctx.ws.working;
  // Append: the free channels after the highest one in use, then the gaps from channel 1.
  if (!atLocation) {
    std::vector<int> free;
    auto used = [&](int n) { return !options.replaceAll && data.findChannel(n) != 0; };
    int highest = 0;
    for (int n = 1; n <= kMaxChannels; ++n)
      if (used(n)) highest = n;
    for (int n = highest + 1; n <= kMaxChannels; ++n) free.push_back(n);
    for (int n = 1; n < highest; ++n)
      if (!used(n)) free.push_back(n);
    std::size_t next = 0;
    std::vector<Planned> placed;
    for (Planned &p : planned) {
      if (next >= free.size()) {
        report.skipped.push_back({p.line, tr(why::kNoFree)});
        continue;
      }
      p.channel = free[next++];
      placed.push_back(p);
    }
    planned = std::move(placed);
    std::stable_sort(report.skipped.begin(), report.skipped.end(),
                     [](const SkippedRow &a, const SkippedRow &b) { return a.line < b.line; });
  }
  if (planned.empty()) return report;

  EditStep undoStep(ctx.ws, step::ImportChannels());  // the whole import is one undo step
  if (options.replaceAll) {
    std::set<int> kept;
    for (const Planned &p : planned) kept.insert(p.channel);
    for (int k = data.channelCount; k >= 1; --k) {
      const ChannelRecord *e = data.slot(k);
      if (e && !kept.count(e->number)) {
        DeleteChannel(ctx, k);
        ++report.removed;
      }
    }
  }
  for (const Planned &p : planned) {
    const bool existed = data.findChannel(p.channel) != 0;
    if (!store(ctx, p)) {
      report.skipped.push_back({p.line, tr(why::kNotStored, {std::to_string(p.channel)})});
      continue;
    }
    ++(existed ? report.replaced : report.created);
    report.channels.push_back(p.channel);
  }
  std::stable_sort(report.skipped.begin(), report.skipped.end(),
                   [](const SkippedRow &a, const SkippedRow &b) { return a.line < b.line; });
  ctx.notifyAll();
  return report;
}

std::string ImportSummaryHead(const ImportReport &r) {
  if (!r.ok) return r.error + "\n";
  std::string out;
  if (r.imported() == 0) out += tr(why::kSummaryNothing) + "\n";
  else
    out += tr(why::kSummaryImported,
              {std::to_string(r.imported()), std::to_string(r.created), std::to_string(r.replaced)}) + "\n";
  if (r.removed) out += tr(why::kSummaryRemoved, {std::to_string(r.removed)}) + "\n";
  if (r.shiftedFromZero) out += tr(why::kSummaryShift) + "\n";
  if (!r.skipped.empty()) out += tr(why::kSummarySkipped, {std::to_string(r.skipped.size())}) + "\n";
  return out;
}

std::string SkippedRowText(const SkippedRow &s) { return tr(why::kSummaryLine, {std::to_string(s.line), s.reason}); }

std::string ImportSummaryText(const ImportReport &r) {
  std::string out = ImportSummaryHead(r);
  if (r.ok)
    for (const SkippedRow &s : r.skipped) out += "  " + SkippedRowText(s) + "\n";
  return out;
}

// ---- export ----

namespace {

struct ToneSide {
  enum Kind { None, Ctcss, Dcs } kind = None;
  std::string value;  // "88.5" or "023"
  char polarity = 'N';
};

// A stored tone code as the format's pieces; nullopt when it cannot be read.
std::optional<ToneSide> toneSide(const std::string &code) {
  ToneSide s;
  if (code == kToneOff) return s;
  const std::string text = ToneCodeText(code);
  if (text.size() == 5 && text[0] == 'D' && (text.back() == 'N' || text.back() == 'I') && FindToneEntry(text) >= 0) {
    s.kind = ToneSide::Dcs;
    s.value = text.substr(1, 3);
    s.polarity = text.back() == 'I' ? 'R' : 'N';
    return s;
  }
  if (auto t = parseCtcss(text)) {
    s.kind = ToneSide::Ctcss;
    s.value = *t;
    return s;
  }
  return std::nullopt;
}

std::optional<int64_t> storedUnits(const std::string &stored) {
  if (stored.size() != 8 || !std::all_of(stored.begin(), stored.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return std::stoll(stored);
}

// The largest usual tuning step that the frequency and the offset both fall on.
std::string tuningStep(int64_t rx, int64_t offset) {
  // Steps in 10 Hz: 5, 6.25, 2.5 kHz; 6.25 kHz is 625 units.
  for (auto [units, text] : {std::pair<int64_t, const char *>{500, "5.00"}, {625, "6.25"}, {250, "2.50"}})
    if (rx % units == 0 && offset % units == 0) return text;
  return "5.00";
}

std::string quoted(const std::string &v) {
  if (v.find_first_of(",\"\r\n") == std::string::npos) return v;
  std::string out = "\"";
  for (char c : v) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

std::string ExportChannelCsv(const ChannelContext &ctx, std::vector<std::string> *warnings) {
  auto warn = [&](int number, const std::string &what) {
    if (warnings) warnings->push_back("channel " + std::to_string(number) + ": " + what);
  };
  std::string out;
  for (int c = 0; c < kColumnCount; ++c) out += std::string(c ? "," : "") + kColumns[c];
  out += "\r\n";

  const CodeplugData &data = ctx.ws.working;
  std::vector<const ChannelRecord *> channels;
  for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k)
    if (const ChannelRecord *e = data.slot(k); e && e->number >= 1 && e->number <= kMaxChannels) channels.push_back(e);
  std::stable_sort(channels.begin(), channels.end(),
                   [](const ChannelRecord *a, const ChannelRecord *b) { return a->number < b->number; });

  for (const ChannelRecord *e : channels) {
    auto rx = storedUnits(e->rx.text());
    if (!rx) {
      warn(e->number, "its RX frequency \"" + e->rx.text() + "\" cannot be read; left out");
      continue;
    }
    std::string duplex, offset = "0.000000";
    int64_t offsetUnits = 0;
    const std::string txText = e->tx.text();
    const bool noTx = txText.empty() || txText == kNoTxFrequency;
    std::optional<int64_t> tx = noTx ? std::nullopt : storedUnits(txText);
    if (!noTx && !tx) warn(e->number, "its TX frequency \"" + txText + "\" cannot be read; written as off");
    if (!tx) {
      duplex = "off";
    } else if (*tx != *rx) {
      duplex = *tx > *rx ? "+" : "-";
      offsetUnits = *tx > *rx ? *tx - *rx : *rx - *tx;
      offset = mhz6(offsetUnits);
    }

    auto side = [&](const std::string &code, const char *which) {
      auto s = toneSide(code);
      if (!s) {
        warn(e->number, std::string("its ") + which + " tone code \"" + code + "\" cannot be read; written as none");
        return ToneSide{};
      }
      return *s;
    };
    const ToneSide txTone = tx ? side(e->encode.text(), "encode") : ToneSide{};
    const ToneSide rxTone = side(e->decode.text(), "decode");

    std::string tone, rTone = "88.5", cTone = "88.5", dtcs = "023", rxDtcs = "023", crossMode = "Tone->Tone";
    std::string polarity = "NN";
    using K = ToneSide;
    if (txTone.kind == K::None && rxTone.kind == K::None) {
    } else if (txTone.kind == K::Ctcss && rxTone.kind == K::None) {
      tone = "Tone";
      rTone = txTone.value;
    } else if (txTone.kind == K::Ctcss && rxTone.kind == K::Ctcss && txTone.value == rxTone.value) {
      tone = "TSQL";
      cTone = rxTone.value;
    } else if (txTone.kind == K::Dcs && rxTone.kind == K::Dcs && txTone.value == rxTone.value) {
      tone = "DTCS";
      dtcs = txTone.value;
      polarity = {txTone.polarity, rxTone.polarity};
    } else {
      tone = "Cross";
      auto name = [](const ToneSide &s) { return s.kind == K::Ctcss ? "Tone" : s.kind == K::Dcs ? "DTCS" : ""; };
      crossMode = std::string(name(txTone)) + "->" + name(rxTone);
      if (txTone.kind == K::Ctcss) rTone = txTone.value;
      if (txTone.kind == K::Dcs) dtcs = txTone.value;
      if (rxTone.kind == K::Ctcss) cTone = rxTone.value;
      if (rxTone.kind == K::Dcs) rxDtcs = rxTone.value;
      polarity = {txTone.kind == K::Dcs ? txTone.polarity : 'N', rxTone.kind == K::Dcs ? rxTone.polarity : 'N'};
    }

    char name[8];
    std::snprintf(name, sizeof name, "CH%03d", e->number);
    const std::vector<std::string> cells = {
        std::to_string(e->number), name, mhz6(*rx), duplex, offset, tone, rTone, cTone, dtcs, polarity, rxDtcs,
        crossMode, e->spacing == 0 ? "NFM" : "FM", tuningStep(*rx, offsetUnits), e->scanAdd ? "" : "S",
        PowerWatts(std::min<int>(e->power, 2)), "", "", "", "", ""};
    for (std::size_t c = 0; c < cells.size(); ++c) out += (c ? "," : "") + quoted(cells[c]);
    out += "\r\n";
  }
  return out;
}

bool ReadChannelCsvFile(const std::string &path, std::string &textOut, std::string &error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    error = tr(std::filesystem::exists(path, ec) ? why::kNotRegular : why::kUnreadable, {path});
    return false;
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    error = tr(why::kUnreadable, {path});
    return false;
  }
  if (size > kMaxCsvBytes) {
    error = tr(why::kTooBig);
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = tr(why::kUnreadable, {path});
    return false;
  }
  std::string text;
  text.resize(static_cast<std::size_t>(size));
  in.read(text.data(), static_cast<std::streamsize>(size));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) {
    error = tr(why::kUnreadable, {path});
    return false;
  }
  textOut = std::move(text);
  return true;
}

}  // namespace n27::csv
