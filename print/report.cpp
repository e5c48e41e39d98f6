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
    case PrintItem::Channel: break;
  }
  return nullptr;
}

std::string onOff(bool on) { return on ? features::kOn.get() : features::kOff.get(); }

ReportPair pairOf(const features::Setting &s, const Workspace &ws) {
  return {s.label.get(), s.view(ws).shownText()};
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

Report BuildReport(const ChannelContext &ctx, const PrintSelection &selection) {
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
    for (std::size_t first = 0; first < channels.size(); first += kChannelsPerPage) {
      ReportPage page = pageOf(ctx, it.item, it.caption.get());
      const std::size_t last = std::min(channels.size(), first + kChannelsPerPage);
      for (std::size_t i = first; i < last; ++i) channelRows(ctx, *channels[i], page.rows);
      report.pages.push_back(std::move(page));
    }
  }
  return report;
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
