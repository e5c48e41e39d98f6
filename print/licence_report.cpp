#include "print/licence_report.h"

#include <algorithm>
#include <filesystem>

#include "channels/channel_context.h"
#include "channels/field_codec.h"
#include "plan/transmissions.h"

namespace n27::print {

namespace {

constexpr Tr kLicence{"Licence", "许可证"};
constexpr Tr kNoLicence{"None attached", "未附加"};
constexpr Tr kCheckedOn{"Checked on", "检查日期"};
constexpr Tr kLicensee{"Licensee", "持证人"};
constexpr Tr kReference{"Reference", "许可证编号"};
constexpr Tr kTransmitting{"Transmitting channels", "发射信道"};
constexpr Tr kNoTransmitting{"No channel transmits.", "没有发射信道。"};
constexpr Tr kChannel{"Channel %1", "信道 %1"};
constexpr Tr kChannelReversed{"Channel %1 reversed", "信道 %1 倒频"};
constexpr Tr kChannelTalkaround{"Channel %1 talkaround", "信道 %1 脱网"};
constexpr Tr kLine{"Line %1", "第 %1 行"};
constexpr Tr kNotHeld{"No licence line holds this frequency", "许可证中没有该频率"};
constexpr Tr kReceiveOnly{"RX only", "仅接收"};
constexpr Tr kUntil{"until %1", "至 %1"};
constexpr Tr kFindings{"Findings", "检查结果"};

std::string channelLabel(const plan::Transmission &t) {
  const Tr &text = t.kind == plan::TransmitKind::Reverse      ? kChannelReversed
                   : t.kind == plan::TransmitKind::Talkaround ? kChannelTalkaround
                                                              : kChannel;
  return Fill(text, {std::to_string(t.channel)});
}

std::string channelValue(const plan::Transmission &t) {
  return plan::MhzText(t.frequencyHz) + " MHz, " + kSpacingTexts[t.bandwidthHz > 12'500].get() + ", " +
         kPowerTexts[std::clamp(t.powerLevel, 0, 2)].get() + " " + plan::WattsText(t.watts) + " W";
}

std::string lineValue(const plan::LicenceLine &l) {
  std::string v = plan::MhzText(l.frequencyHz) + " MHz";
  if (l.bandwidthHz > 0) v += ", " + plan::KhzText(l.bandwidthHz) + " kHz";
  if (l.powerWatts > 0) v += ", " + plan::WattsText(l.powerWatts) + " W";
  if (l.receiveOnly) v += std::string(", ") + kReceiveOnly.get();
  if (l.expires) v += ", " + Fill(kUntil, {l.expires->text()});
  return v;
}

ReportRow pairRow(std::string l1, std::string v1, std::string l2 = {}, std::string v2 = {}) {
  ReportRow r;
  r.pairs.push_back({std::move(l1), std::move(v1)});
  if (!l2.empty()) r.pairs.push_back({std::move(l2), std::move(v2)});
  return r;
}

}  // namespace

std::vector<ReportPage> LicenceCheckPages(const ChannelContext &ctx, const plan::AttachedLicence &licence,
                                          const plan::Date &today) {
  ReportPage page;
  page.item = PrintItem::LicenceCheck;
  page.layout = PageLayout::Settings;
  page.title = kReportTitle.get();
  page.caption = kLicenceCheckItem.get();
  page.fileName = std::filesystem::path(ctx.ws.fileName).filename().string();

  const std::string name = std::filesystem::path(licence.name).filename().string();
  page.rows.push_back(pairRow(kLicence.get(), licence.attached ? name : kNoLicence.get(), kCheckedOn.get(), today.text()));
  if (licence.licence)
    page.rows.push_back(pairRow(kLicensee.get(), licence.licence->licensees(), kReference.get(),
                                licence.licence->references()));
  else if (!licence.problem.empty())
    page.rows.push_back(pairRow(kLicence.get(), licence.problem));

  page.rows.push_back({kTransmitting.get(), {}});
  const std::vector<plan::Transmission> sent = plan::Transmissions(ctx.ws.working);
  if (sent.empty()) page.rows.push_back(pairRow(kNoTransmitting.get(), ""));
  for (const plan::Transmission &t : sent) {
    if (!licence.licence) {
      page.rows.push_back(pairRow(channelLabel(t), channelValue(t)));
      continue;
    }
    const plan::LineCheck c = plan::BestLine(*licence.licence, t, today);
    if (c.line)
      page.rows.push_back(pairRow(channelLabel(t), channelValue(t), Fill(kLine, {std::to_string(c.line->line)}),
                                  lineValue(*c.line)));
    else
      page.rows.push_back(pairRow(channelLabel(t), channelValue(t), kLicence.get(), kNotHeld.get()));
  }

  page.rows.push_back({kFindings.get(), {}});
  const auto findings = plan::CheckPlan(ctx.ws.working, plan::InputsFor(licence, today));
  if (findings.empty()) page.rows.push_back(pairRow(plan::FindingsSummary(findings), ""));
  for (const PlanFinding &f : findings) page.rows.push_back(pairRow(plan::SeverityText(f.severity), f.message));
  return {page};
}

}  // namespace n27::print
