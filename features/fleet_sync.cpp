#include "features/fleet_sync.h"

#include <array>

#include "features/key_filters.h"

namespace n27::features {

namespace {

constexpr Tr kAll{"All", "所有"};
constexpr int kFleetOffset = 99, kIdOffset = 999;
// ID 1254 would be stored as 255, the mark of an empty cell: the ID would silently vanish.
constexpr Tr kIdTakenForEmpty{"ID 1254 cannot be stored: the radio reads it as an empty cell.",
                              "ID 1254 无法保存：电台会把它当作空白。"};

int offset(FleetColumn c) { return c == FleetColumn::Fleet ? kFleetOffset : kIdOffset; }

// The own fleet and ID lists: a blank entry, then the numbers.
std::vector<std::string> ownList(int first, int last) {
  auto v = NumberList(first, last);
  v.insert(v.begin(), " ");
  return v;
}

// Fleet(Own): the blank entry stores 255; ID(Own): the blank entry stores 0. Up to 4001
// entries: the shown text and a choice are worked out without the list.
template <typename T>
Setting ownValue(std::string key, std::string control, Tr label, T FleetSyncBlock::*member, int first, int last,
                 int valueOffset, T blank) {
  Setting s{std::move(key), std::move(control), label, SettingKind::List, {}, {}};
  const auto shownIndex = [=](const Workspace &w) {
    const auto stored = static_cast<int64_t>(w.working.fleetSync.*member);
    return stored >= 1 && stored <= last - first + 1 ? static_cast<int>(stored) : 0;
  };
  s.view = [=](const Workspace &w) { return ListView(ownList(first, last), shownIndex(w)); };
  s.shown = [=](const Workspace &w) {
    const int i = shownIndex(w);
    return i == 0 ? std::string(" ") : std::to_string(first + i - 1);
  };
  s.choose = [=](FeatureContext &c, const std::string &text) {
    int i = 0;  // the blank entry, typed as nothing too
    if (!text.empty() && text != " ") {
      const int n = NumberEntry(text, first, last);
      if (n < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
      i = n + 1;
    }
    c.ws.working.fleetSync.*member = i == 0 ? blank : static_cast<T>(i + first - 1 - valueOffset);
    return ChooseResult{};
  };
  s.choicesHint = "blank (\"\") or " + std::to_string(first) + " … " + std::to_string(last);
  return s;
}

template <typename T>
Setting indexValue(std::string key, std::string control, Tr label, T FleetSyncBlock::*member,
                   std::function<std::vector<std::string>()> entries) {
  Setting s{std::move(key), std::move(control), label, SettingKind::List, {}, {}};
  s.view = [=](const Workspace &w) {
    const auto stored = w.working.fleetSync.*member;
    return ListView(entries(), stored <= 0x7FFFFFFF ? static_cast<int>(stored) : -1);
  };
  s.choose = [=](FeatureContext &c, const std::string &text) {
    int i = FindEntry(entries(), text);
    if (i < 0) return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.working.fleetSync.*member = static_cast<T>(i);
    return ChooseResult{};
  };
  return s;
}

// A list of the numbers first … last, after the language's "Off" when `off`: the index chosen is
// stored. Its text is worked out without the list (the modulation delay has 6001 entries).
template <typename T>
Setting numberValue(std::string key, std::string control, Tr label, T FleetSyncBlock::*member, int first, int last,
                    bool off) {
  const auto numbers = NumberList(first, last);
  Setting s = indexValue<T>(std::move(key), std::move(control), label, member,
                            off ? OffThen(numbers) : std::function([numbers] { return numbers; }));
  s.shown = [=](const Workspace &w) {
    const int64_t stored = w.working.fleetSync.*member, lead = off ? 1 : 0;
    const int64_t i = stored <= last - first + lead ? stored : 0;  // outside the list: its first entry
    return off && i == 0 ? std::string(kOff.get()) : std::to_string(first + i - lead);
  };
  s.choose = [=](FeatureContext &c, const std::string &text) {
    int i = NumberEntry(text, first, last);
    if (i >= 0)
      i += off ? 1 : 0;
    else if (off && FindEntry({kOff.get()}, text) == 0)
      i = 0;
    else
      return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.working.fleetSync.*member = static_cast<T>(i);
    return ChooseResult{};
  };
  return s;
}

Setting cell(int row, FleetColumn column) {
  static const auto labels = [] {
    std::array<std::array<std::string, 2>, 2 * kMaxFleetEntries> a;
    for (int r = 1; r <= kMaxFleetEntries; ++r) {
      a[static_cast<std::size_t>(2 * r - 2)] = {"Fleet " + std::to_string(r), "队列 " + std::to_string(r)};
      a[static_cast<std::size_t>(2 * r - 1)] = {"ID " + std::to_string(r), "ID " + std::to_string(r)};
    }
    return a;
  }();
  const auto &l = labels[static_cast<std::size_t>(2 * row - 2 + (column == FleetColumn::Id ? 1 : 0))];
  Setting s{(column == FleetColumn::Fleet ? "fleet" : "id") + std::to_string(row), "MSFlexGrid1",
            Tr{l[0].c_str(), l[1].c_str()}, SettingKind::Text, {}, {}};
  s.view = [row, column](const Workspace &w) {
    const auto &e = w.working.fleets[static_cast<std::size_t>(row - 1)];
    return TextView(FleetCellText(column, column == FleetColumn::Fleet ? e.fleet : e.id),
                    column == FleetColumn::Fleet ? 3 : 4);
  };
  s.choose = [row, column](FeatureContext &c, const std::string &text) {
    if (!CommitFleetCell(c.ws.working, row, column, text))
      return ChooseResult::fail(ChooseStatus::Invalid,
                                column == FleetColumn::Id && FleetIdTakenForEmpty(text) ? kIdTakenForEmpty.get() : "");
    return ChooseResult{};
  };
  s.choicesHint = column == FleetColumn::Fleet ? "100 … 349 (clamped), A for All, empty clears"
                                               : "1000 … 4999 (clamped), A for All, empty clears";
  s.row = row;
  s.column = column == FleetColumn::Fleet ? 1 : 2;
  return s;
}

std::vector<Setting> fleetSyncTable() {
  using B = FleetSyncBlock;
  std::vector<Setting> t;
  t.push_back(ownValue<uint16_t>("fleet", "Combo1_0", Tr{"Fleet(Own)", "队列（自身）"}, &B::fleetOwn, kFleetMin, kFleetMax,
                                 kFleetOffset, 255));
  t.push_back(ownValue<uint32_t>("id", "Combo1_1", Tr{"ID(Own)", "ID（自身）"}, &B::idOwn, kIdMin, kIdMax, kIdOffset, 0));
  t.push_back(indexValue<uint16_t>("baudrate", "Combo1_2", Tr{"FleetSync Baud Rate[bps]", "队列同步波特率[bps]"},
                                   &B::baudRate, [] { return std::vector<std::string>{"1200", "2400"}; }));
  t.push_back(numberValue<uint32_t>("modulationdelay", "Combo1_3",
                                    Tr{"Data TX Modulation Delay Time[ms]", "数据发射调制延迟时间[毫秒]"},
                                    &B::modulationDelay, 0, 6000, false));
  t.push_back(numberValue<uint32_t>("messagetimer", "Combo1_4", Tr{"Message Mode Timer[s]", "信息模式定时器[秒]"},
                                    &B::messageTimer, 1, 300, true));
  Setting side{"sidetone", "Check1", Tr{"PTT ID Side Tone", "PTT ID 侧音"}, SettingKind::Check, {}, {}};
  side.view = [](const Workspace &w) { return CheckView(w.working.fleetSync.sideTone != 0); };
  side.choose = [](FeatureContext &c, const std::string &text) {
    auto on = ParseCheck(text);
    if (!on) return ChooseResult::fail(ChooseStatus::NotOffered);
    c.ws.working.fleetSync.sideTone = *on ? 1 : 0;
    return ChooseResult{};
  };
  t.push_back(side);
  for (int r = 1; r <= kMaxFleetEntries; ++r) {
    t.push_back(cell(r, FleetColumn::Fleet));
    t.push_back(cell(r, FleetColumn::Id));
  }
  return t;
}

}  // namespace

std::string FleetCellText(FleetColumn column, uint32_t stored) {
  if (stored == kEmptyCell) return {};
  if (stored == kAllCell) return kAll.get();
  return std::to_string(stored + static_cast<uint32_t>(offset(column)));
}

namespace {

// The number a typed cell text stands for, clamped to the column's range: the leading digits
// ("12A" is 12; no digit at all counts as 0). Nothing for All, an empty cell or a refused text.
std::optional<long> cellNumber(FleetColumn column, std::string_view typed) {
  if (typed.empty() || typed == "A") return std::nullopt;
  long n = 0;
  for (char ch : typed) {
    if (ch < '0' || ch > '9') break;
    n = n * 10 + (ch - '0');
    if (n > 1000000) break;  // far above either range: clamped below
  }
  const bool fleet = column == FleetColumn::Fleet;
  const long low = fleet ? kFleetMin : kIdMin, high = fleet ? kFleetMax : kIdMax;
  return n < low ? low : n > high ? high : n;
}

}  // namespace

bool FleetIdTakenForEmpty(std::string_view text) {
  auto typed = FilterText(text, FleetCellKey);
  if (!typed) return false;
  auto n = cellNumber(FleetColumn::Id, *typed);
  return n && *n - kIdOffset == kEmptyCell;
}

std::optional<uint32_t> FleetCellValue(FleetColumn column, std::string_view text) {
  // A cell showing "All" that is committed again stays All (it is not a number).
  if (text == kAll.at(kEnglish) || text == kAll.at(kChinese)) return kAllCell;
  auto typed = FilterText(text, FleetCellKey);
  if (!typed) return std::nullopt;
  if (*typed == "A") return kAllCell;
  if (typed->empty()) return kEmptyCell;
  const long n = *cellNumber(column, *typed);
  const auto stored = static_cast<uint32_t>(n - offset(column));
  if (stored == kEmptyCell) return std::nullopt;  // would read back as an empty cell
  return stored;
}

bool CommitFleetCell(CodeplugData &data, int row, FleetColumn column, std::string_view text) {
  if (row < 1 || row > kMaxFleetEntries) return false;
  auto value = FleetCellValue(column, text);
  if (!value) return false;
  auto &e = data.fleets[static_cast<std::size_t>(row - 1)];
  if (column == FleetColumn::Fleet)
    e.fleet = static_cast<uint16_t>(*value);
  else
    e.id = *value;
  int count = 0;
  for (int r = 1; r <= kMaxFleetEntries; ++r) {
    const auto &x = data.fleets[static_cast<std::size_t>(r - 1)];
    if (x.fleet != kEmptyCell || x.id != kEmptyCell) count = r;
  }
  data.fleetCount = static_cast<uint16_t>(count);
  return true;
}

const Area &FleetSyncArea() {
  static const Area area{"fleetsync", "FrmFleetSync", Tr{"FleetSync", "FleetSync(队列同步)"}, fleetSyncTable()};
  return area;
}

}  // namespace n27::features
