#include "print/report.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "channels/channel_context.h"
#include "channels/channel_window_texts.h"
#include "channels/field_codec.h"
#include "channels/freq_codec.h"
#include "features/dtmf_settings.h"
#include "features/function_setup.h"
#include "features/key_assignment.h"
#include "features/local_message.h"
#include "features/radio_information.h"
#include "features/scan_settings.h"
#include "features/setting.h"

namespace n27::print {

const std::array<PrintItemInfo, kPrintItemCount> kPrintItems = {{
    {PrintItem::Channel, 0, Tr{"Channel Infomation", "信道信息"}},
    {PrintItem::FunctionSetup, 1, Tr{"Function Setup", "功能设定"}},
    {PrintItem::KeySetting, 2, Tr{"Key Setting", "键设置"}},
    {PrintItem::Scan, 3, Tr{"Scan Information", "扫描信息"}},
    {PrintItem::Dtmf, 6, Tr{"DTMF"}},
    {PrintItem::EmbeddedMessage, 4, Tr{"Embedded Message", "嵌入信息"}},
    {PrintItem::LocalMessage, 5, Tr{"Local Message", "本机信息"}},
}};

namespace {

const features::Area *areaOf(PrintItem item) {
  switch (item) {
    case PrintItem::FunctionSetup: return &features::FunctionSetupArea();
    case PrintItem::KeySetting: return &features::KeyAssignmentArea();
    case PrintItem::Scan: return &features::ScanSettingsArea();
    case PrintItem::Dtmf: return &features::DtmfArea();
    case PrintItem::EmbeddedMessage: return &features::LocalMessageArea();
    case PrintItem::LocalMessage: return &features::RadioInformationArea();
    case PrintItem::Channel:
    case PrintItem::LicenceCheck: break;
  }
  return nullptr;
}

std::string onOff(bool on) { return on ? features::kOn.get() : features::kOff.get(); }

ReportPair pairOf(const features::Setting &s, const Workspace &ws) {
  return {s.label.get(), s.shownText(ws)};
}

// Function Setup prints its settings in these pairs; a setting not named here gets a row of
// its own after them.
const std::vector<std::vector<std::string_view>> kFunctionRows = {
    {"tot", "totwarning"},
    {"squelch", "voiceprompt"},
    {"callresponse"},
    {"micnoisereduction", "batterysave"},
    {"alertlocked", "bandextension"},
    {"resetallowed"},
    {"tailtype", "squelchtail"},
    {"voxfunction"},
    {"voxlevel", "voxdelay"},
    {"canceloperation", "voxproceedtone"},
};

std::vector<ReportRow> functionRows(const features::Area &area, const Workspace &ws) {
  std::vector<ReportRow> rows;
  std::vector<const features::Setting *> done;
  for (const auto &names : kFunctionRows) {
    ReportRow row;
    for (std::string_view name : names)
      if (const features::Setting *s = area.find(name); s && s->printed) {
        row.pairs.push_back(pairOf(*s, ws));
        done.push_back(s);
      }
    if (!row.pairs.empty()) rows.push_back(std::move(row));
  }
  for (const features::Setting &s : area.settings)
    if (s.printed && std::find(done.begin(), done.end(), &s) == done.end()) rows.push_back({{}, {pairOf(s, ws)}});
  return rows;
}

// The other windows print their settings in window order, two to a row; a box holding a long
// text (a message line, the maintenance reason) takes a row of its own.
std::vector<ReportRow> areaRows(const features::Area &area, const Workspace &ws) {
  std::vector<ReportRow> rows;
  bool open = false;  // the last row takes a second pair
  for (const features::Setting &s : area.settings) {
    if (!s.printed) continue;
    const features::SettingView v = s.view(ws);
    const bool alone = v.kind == features::SettingKind::Text && (v.maxLength > 16 || v.text.size() > 16);
    ReportPair p{s.label.get(), v.shownText()};
    if (open && !alone) {
      rows.back().pairs.push_back(std::move(p));
      open = false;
    } else {
      rows.push_back({{}, {std::move(p)}});
      open = !alone;
    }
  }
  return rows;
}

// The entry at a stored list position; the number itself when the list is shorter.
std::string entryAt(const std::vector<std::string> &entries, int position) {
  return position >= 0 && position < static_cast<int>(entries.size()) ? entries[position] : std::to_string(position);
}

std::string frequency(const ChannelContext &ctx, std::string_view stored) {
  std::string shown = ShowFre(ctx, stored);
  return shown.empty() ? shown : shown + " MHz";
}

std::vector<std::string> scrambleEntries() {
  std::vector<std::string> out{chtext::kScrambleOff.get()};
  for (int i = 1; i <= chtext::kScrambleNumbered; ++i) out.push_back(std::to_string(i));
  out.push_back(chtext::kScrambleDefine.get());
  return out;
}

// One channel as the detail dialog shows it: its heading line, then its rows.
void channelRows(const ChannelContext &ctx, const ChannelRecord &e, std::vector<ReportRow> &rows) {
  const auto &L = chtext::kDetailLabels;
  const auto &C = chtext::kDetailChecks;
  auto value = [&](int field) { return ValueToText(ctx, e, field); };
  auto pos = [&](int field, int stored) { return entryAt(FieldChoices(field, e), stored); };
  const std::string tx = frequency(ctx, e.tx.text());
  const bool hasTx = !tx.empty();
  char hz[16];
  std::snprintf(hz, sizeof hz, "%04d", e.scrambleFreq == 0 ? chtext::kScrambleFreqShownForZero : e.scrambleFreq);

  rows.push_back({std::string(chtext::kDetailChannel.get()) + " " + std::to_string(e.number), {}});
  auto row = [&](std::string l1, std::string v1, std::string l2 = {}, std::string v2 = {}) {
    ReportRow r;
    r.pairs.push_back({std::move(l1), std::move(v1)});
    if (!l2.empty()) r.pairs.push_back({std::move(l2), std::move(v2)});
    rows.push_back(std::move(r));
  };
  row(L[0].get(), frequency(ctx, e.rx.text()), L[1].get(), tx);
  row(L[2].get(), value(kFieldDecode), L[3].get(), hasTx ? value(kFieldEncode) : "");
  row(L[4].get(), value(kFieldOptSignal), L[5].get(), value(kFieldSpUnmute));
  row(L[6].get(), value(kFieldPower), L[7].get(), value(kFieldSpacing));
  row(L[8].get(), kBusyLockTexts[ShownBusyLock(e)].get(), L[9].get(), pos(kFieldPttId, e.pttId));
  row(L[10].get(), value(kFieldAutodial), L[11].get(), pos(kFieldRelation, e.relation));
  row(L[12].get(), pos(kFieldCall1, e.call1), L[13].get(), pos(kFieldCall2, e.call2));
  row(L[14].get(), entryAt(scrambleEntries(), e.scramble), chtext::kDefineScramble.get(), hz);
  row(C[0].get(), onOff(e.scanAdd != 0), C[1].get(), onOff(hasTx && e.reverse != 0));
  row(C[2].get(), onOff(e.talkaround != 0), C[3].get(), onOff(e.specialDcs != 0));
  row(C[4].get(), onOff(e.compander != 0));
}

// The existing channels, lowest channel number first.
std::vector<const ChannelRecord *> sortedChannels(const CodeplugData &data) {
  std::vector<const ChannelRecord *> out;
  const int count = std::min<int>(data.channelCount, kMaxChannels);
  for (int k = 1; k <= count; ++k)
    if (const ChannelRecord *e = data.slot(k)) out.push_back(e);
  std::stable_sort(out.begin(), out.end(),
                   [](const ChannelRecord *a, const ChannelRecord *b) { return a->number < b->number; });
  return out;
}

ReportPage pageOf(const ChannelContext &ctx, PrintItem item, const std::string &caption) {
  ReportPage page;
  page.fileName = std::filesystem::path(ctx.ws.fileName).filename().string();
  page.item = item;
  page.layout = item == PrintItem::Channel ? PageLayout::Channels : PageLayout::Settings;
  page.title = kReportTitle.get();
  page.caption = caption;
  return page;
}

}  // namespace

std::vector<ReportRow> SectionRows(const ChannelContext &ctx, PrintItem item) {
  std::vector<ReportRow> rows;
  if (item == PrintItem::Channel) {
    for (const ChannelRecord *e : sortedChannels(ctx.ws.working)) channelRows(ctx, *e, rows);
    return rows;
  }
  const features::Area *area = areaOf(item);
  if (!area) return rows;
  return item == PrintItem::FunctionSetup ? functionRows(*area, ctx.ws) : areaRows(*area, ctx.ws);
}

Report BuildReport(const ChannelContext &ctx, const PrintSelection &selection, int channelsPerPage) {
  const std::size_t perPage = static_cast<std::size_t>(std::max(1, channelsPerPage));
  Report report;
  for (const PrintItemInfo &it : kPrintItems) {
    if (!selection[static_cast<int>(it.item)]) continue;
    if (it.item != PrintItem::Channel) {
      const features::Area *area = areaOf(it.item);
      ReportPage page = pageOf(ctx, it.item, area->section.get());
      page.rows = SectionRows(ctx, it.item);
      report.pages.push_back(std::move(page));
      continue;
    }
    const auto channels = sortedChannels(ctx.ws.working);
    if (channels.empty()) {
      ReportPage page = pageOf(ctx, it.item, it.caption.get());
      page.rows.push_back({kNoChannels.get(), {}});
      report.pages.push_back(std::move(page));
      continue;
    }
    for (std::size_t first = 0; first < channels.size(); first += perPage) {
      ReportPage page = pageOf(ctx, it.item, it.caption.get());
      const std::size_t last = std::min(channels.size(), first + perPage);
      for (std::size_t i = first; i < last; ++i) channelRows(ctx, *channels[i], page.rows);
      report.pages.push_back(std::move(page));
    }
  }
  return report;
}

namespace {

// Preferred left edges of label 1, value 1, label 2, value 2 (fractions of the page width).
constexpr std::array<double, 4> kSettingColumns = {0.05, 0.35, 0.55, 0.75};
constexpr std::array<double, 4> kChannelColumns = {0.10, 0.30, 0.55, 0.75};

struct Widest {
  double label1 = 0, value1 = 0, label2 = 0, value2 = 0;  // of the rows with two pairs
  double aloneLabel = 0;                                   // label of a pair alone in its row
};

Widest widestOf(const std::vector<ReportRow> &rows, const TextWidth &width) {
  Widest w;
  for (const ReportRow &r : rows) {
    if (!r.heading.empty() || r.pairs.empty()) continue;
    if (r.pairs.size() == 1) {
      w.aloneLabel = std::max(w.aloneLabel, width(r.pairs[0].label));
      continue;
    }
    w.label1 = std::max(w.label1, width(r.pairs[0].label));
    w.value1 = std::max(w.value1, width(r.pairs[0].value));
    w.label2 = std::max(w.label2, width(r.pairs[1].label));
    w.value2 = std::max(w.value2, width(r.pairs[1].value));
  }
  return w;
}

// The rows' vertical room on a page at a text size: the header (title, caption and two line
// breaks at 10 pt) above, the footer line (10 pt) below.
void placeRows(SectionPlan &plan, const PageMeasures &page) {
  plan.rowsTop = page.height * kTitleTop + page.titleLine + 3 * page.textLine;
  plan.rowsBottom = page.height * (1 - kFooterLift) - page.textLine;
  plan.rowLine = page.textLine * plan.points / kTextPoints;
  const double room = plan.rowsBottom - plan.rowsTop;
  plan.rowsPerPage = plan.rowLine > 0 && room > 0 ? static_cast<int>(room / plan.rowLine + 1e-9) : 0;
}

}  // namespace

SectionPlan PlanSection(PageLayout layout, const std::vector<ReportRow> &rows, const PageMeasures &page,
                        const TextWidth &width) {
  const std::array<double, 4> &pref = layout == PageLayout::Channels ? kChannelColumns : kSettingColumns;
  const Widest w = widestOf(rows, width);
  const double W = page.width, gap = W * kColumnGap, right = W * kRightEdge;
  SectionPlan plan;
  // Two pairs side by side, from 10 pt down to 8 pt in half points.
  for (double points = kTextPoints; points >= kSmallestPoints - 1e-9; points -= 0.5) {
    const double k = points / kTextPoints;
    std::array<double, 4> x{};
    x[0] = W * pref[0];
    x[1] = std::max(W * pref[1], x[0] + std::max(w.label1, w.aloneLabel) * k + gap);
    // The second pair moves left of its columns when it needs the room, never into the first
    // pair's value.
    x[2] = std::max(x[1] + w.value1 * k + gap, std::min(W * pref[2], right - (w.label2 + w.value2) * k - gap));
    x[3] = std::max(x[2] + w.label2 * k + gap, std::min(W * pref[3], right - w.value2 * k));
    if (x[3] + w.value2 * k <= right + W * 1e-9) {
      plan.points = points;
      plan.left = x;
      placeRows(plan, page);
      return plan;
    }
  }
  // Each pair on a row of its own: the labels in one column, the values beside them. Labels
  // too long for half the page shrink (not below 8 pt) so that values keep some room.
  plan.pairsApart = true;
  const double label = std::max({w.label1, w.label2, w.aloneLabel});
  plan.points = kTextPoints;
  while (plan.points > kSmallestPoints && W * pref[0] + label * plan.points / kTextPoints + gap > W * 0.5)
    plan.points -= 0.5;
  const double x1 = std::max(W * pref[1], W * pref[0] + label * plan.points / kTextPoints + gap);
  plan.left = {W * pref[0], x1, W * pref[0], x1};
  placeRows(plan, page);
  return plan;
}

std::vector<ReportRow> PlannedRows(const std::vector<ReportRow> &rows, const SectionPlan &plan) {
  if (!plan.pairsApart) return rows;
  std::vector<ReportRow> out;
  for (const ReportRow &r : rows) {
    if (r.pairs.size() < 2) {
      out.push_back(r);
      continue;
    }
    for (const ReportPair &p : r.pairs) out.push_back({{}, {p}});
  }
  return out;
}

int ChannelsPerPage(const SectionPlan &plan, const std::vector<ReportRow> &channelRows) {
  int longest = 0, current = 0;
  for (const ReportRow &r : PlannedRows(channelRows, plan)) {
    if (!r.heading.empty()) current = 0;
    longest = std::max(longest, ++current);
  }
  if (longest == 0) return 1;
  return std::max(1, plan.rowsPerPage / longest);
}

Report RepaginateChannels(const Report &report, int channelsPerPage) {
  const int perPage = std::max(1, channelsPerPage);
  Report out;
  for (std::size_t i = 0; i < report.pages.size();) {
    const ReportPage &first = report.pages[i];
    if (first.layout != PageLayout::Channels) {
      out.pages.push_back(first);
      ++i;
      continue;
    }
    // The run of channel pages, as one list of channels (a channel starts at its heading).
    std::vector<std::vector<ReportRow>> channels;
    for (; i < report.pages.size() && report.pages[i].layout == PageLayout::Channels; ++i)
      for (const ReportRow &r : report.pages[i].rows) {
        if (!r.heading.empty() || channels.empty()) channels.emplace_back();
        channels.back().push_back(r);
      }
    for (std::size_t c = 0; c < channels.size() || c == 0; c += static_cast<std::size_t>(perPage)) {
      ReportPage page = first;
      page.rows.clear();
      for (std::size_t k = c; k < channels.size() && k < c + static_cast<std::size_t>(perPage); ++k)
        page.rows.insert(page.rows.end(), channels[k].begin(), channels[k].end());
      out.pages.push_back(std::move(page));
      if (channels.empty()) break;
    }
  }
  return out;
}

std::string ReportText(const Report &report) {
  std::string out;
  int number = 0;
  for (const ReportPage &page : report.pages) {
    out += page.title + "\n" + page.caption;
    if (!page.fileName.empty()) out += "    " + std::string(kFileName.get()) + ": " + page.fileName;
    out += "\n\n";
    for (const ReportRow &row : page.rows) {
      if (!row.heading.empty()) out += row.heading;
      else out += page.layout == PageLayout::Channels ? "    " : "  ";
      for (std::size_t i = 0; i < row.pairs.size(); ++i)
        out += (i ? " | " : "") + row.pairs[i].label + ": " + row.pairs[i].value;
      out += "\n";
    }
    out += " -" + std::to_string(++number) + "- \n\n";
  }
  return out;
}

}  // namespace n27::print
