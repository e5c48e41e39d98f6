// Importing a channel list: the file checked, its rows planned against what the radio holds,
// then stored through the channel operations as one undo step.

#include "channels/channel_csv.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "channels/channel_changes.h"
#include "channels/channel_ops.h"
#include "channels/csv_columns.h"
#include "channels/field_codec.h"
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

using namespace detail;

namespace {

// ---- texts of the import ----
namespace why {
constexpr Tr kTooBig{"The file is larger than 1 MiB; a channel list is much smaller.",
                     "文件大于 1 MiB，不是信道列表。"};
constexpr Tr kTooManyRows{"The file holds more than %1 rows; a channel list for this radio holds at most 128 channels.",
                          "文件超过 %1 行；本机的信道列表最多 128 个信道。"};
constexpr Tr kUnclosedQuote{"a quoted field that starts in this row is never closed (the rest of the file would belong to it)",
                            "本行开始的引号字段没有结束（文件其余部分都会属于它）"};
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
constexpr Tr kNoFree{"no free channel left", "没有空闲信道"};
constexpr Tr kNotStored{"channel %1 could not be stored", "信道 %1 无法保存"};

constexpr Tr kSummaryImported{"Channels imported: %1 (new: %2, replaced: %3).", "已导入信道：%1 个（新建 %2 个，覆盖 %3 个）。"};
constexpr Tr kSummaryRemoved{"Channels removed (not in the list): %1.", "已删除列表以外的信道：%1 个。"};
constexpr Tr kSummaryShift{"The list counts from Location 0: every channel moved up by one (Location 0 is channel 1).",
                           "列表从位置 0 开始编号：所有信道顺移一位（位置 0 为信道 1）。"};
constexpr Tr kSummarySkipped{"Rows skipped: %1", "跳过的行：%1 行"};
constexpr Tr kSummaryLine{"line %1: %2", "第 %1 行：%2"};
constexpr Tr kSummaryMore{"… and %1 more rows skipped.", "……另有 %1 行被跳过。"};
constexpr Tr kSummaryNothing{"No row could be imported; the channels are unchanged.", "没有可导入的行，信道未改变。"};
}  // namespace why

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

// A Location cell as a whole number. Nothing for any other text, nor for a number far beyond
// any channel list: such a number must not wrap into a channel number.
std::optional<int64_t> locationNumber(const std::string &cell) {
  constexpr __int128 kUnit = 1000000000000;  // 10^12: Decimal's units of 1
  constexpr __int128 kFarBeyond = 1000000;
  auto d = ParseDecimal(cell);
  if (!d || d->inexact || d->units % kUnit != 0) return std::nullopt;
  const __int128 n = d->units / kUnit;
  if (n < -kFarBeyond || n > kFarBeyond) return std::nullopt;
  return static_cast<int64_t>(n);
}

// The records of a text IsChannelList accepted.
std::vector<Record> channelListRecords(std::string_view text, bool &tooMany) {
  return readRecords(text, kMaxCsvRows, &tooMany);
}

}  // namespace

bool IsChannelList(std::string_view text, std::string &error) {
  if (text.size() > kMaxCsvBytes) {
    error = tr(why::kTooBig);
    return false;
  }
  bool tooMany = false;
  const std::vector<Record> records = channelListRecords(text, tooMany);
  if (tooMany) {
    error = tr(why::kTooManyRows, {std::to_string(kMaxCsvRows)});
    return false;
  }
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
  bool tooMany = false;
  const std::vector<Record> records = channelListRecords(text, tooMany);
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
    if (atLocation && !rec.unclosedQuote) {
      RowReader reader(ctx, header, rec);
      row.location = locationNumber(reader.cell(kLocation));
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
    if (row.rec->unclosedQuote) {
      report.skipped.push_back({row.rec->line, tr(why::kUnclosedQuote)});
      continue;
    }
    if (atLocation) {
      if (!row.location) {
        report.skipped.push_back({row.rec->line, rowReason(why::kLocationNumber, {reader.cell(kLocation)})});
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
  ScanChoicesFollow follow(ctx);  // the same plan with the scan window open or closed
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

std::vector<std::string> SkippedRowLines(const ImportReport &r) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < r.skipped.size() && i < kSkippedRowsListed; ++i)
    lines.push_back(SkippedRowText(r.skipped[i]));
  if (r.skipped.size() > kSkippedRowsListed)
    lines.push_back(tr(why::kSummaryMore, {std::to_string(r.skipped.size() - kSkippedRowsListed)}));
  return lines;
}

std::string ImportSummaryText(const ImportReport &r) {
  std::string out = ImportSummaryHead(r);
  if (r.ok)
    for (const std::string &line : SkippedRowLines(r)) out += "  " + line + "\n";
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
