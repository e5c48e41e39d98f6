#include "plan/plan_rules.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

#include "channels/field_codec.h"
#include "codeplug/bands.h"
#include "plan/transmissions.h"

namespace n27::plan {

namespace {

using S = FindingSeverity;
using P = RulePlace;

const std::vector<Rule> kRules = {
    {rule::kTxNotLicensed, S::Error, P::Channel,
     {"A channel transmits on a frequency the licence does not hold.", "信道在许可证未包含的频率上发射。"}},
    {rule::kTxOnRxOnly, S::Error, P::Channel,
     {"A channel transmits where the licence allows receiving only.", "信道在许可证只允许接收的频率上发射。"}},
    {rule::kBandwidthOver, S::Error, P::Channel,
     {"A channel is wider than its licence line allows.", "信道带宽超过许可证所允许的带宽。"}},
    {rule::kPowerOver, S::Error, P::Channel,
     {"A channel's power level, in nominal watts, is above the licence's.", "信道功率（标称瓦数）超过许可证所允许的功率。"}},
    {rule::kExpired, S::Error, P::Channel,
     {"A channel transmits under a licence line that has expired.", "信道所依据的许可证行已过期。"}},
    {rule::kExpiresSoon, S::Warning, P::Channel,
     {"A channel's licence line ends within 30 days.", "信道所依据的许可证行将在 30 天内到期。"}},
    {rule::kOffsetNotLicensed, S::Warning, P::Channel,
     {"A repeater channel receives on a frequency the licence does not hold.", "中继信道的接收频率不在许可证中。"}},
    {rule::kLicenceUnreadable, S::Error, P::Licence,
     {"The attached licence cannot be read.", "附加的许可证无法读取。"}},
    {rule::kLicenceBadLine, S::Warning, P::Licence,
     {"A line of the licence was skipped.", "许可证中的某行被跳过。"}},
    {rule::kNoChannels, S::Error, P::Plan, {"The plan holds no channel.", "计划中没有信道。"}},
    {rule::kTxOutOfBand, S::Error, P::Channel,
     {"A TX frequency lies outside the radio's band or cannot be read.", "发射频率超出对讲机频段或无法识别。"}},
    {rule::kRxOutOfBand, S::Warning, P::Channel,
     {"An RX frequency lies outside the radio's band or cannot be read.", "接收频率超出对讲机频段或无法识别。"}},
    {rule::kDuplicateChannel, S::Warning, P::Channel,
     {"Two channels have the same RX, TX, tones and spacing.", "两个信道的收发频率、亚音和带宽完全相同。"}},
    {rule::kScanEmptyChannel, S::Warning, P::Scan,
     {"A scan bank's priority channel is empty.", "扫描组的优先信道为空。"}},
    {rule::kPriorityNotInBank, S::Warning, P::Scan,
     {"A scan bank's priority channel is outside the bank or not scanned.", "扫描组的优先信道不在该组内或未加入扫描。"}},
};

namespace msg {
constexpr Tr kReversed{" when reversed", "（倒频时）"};
constexpr Tr kTalkaround{" in talkaround", "（脱网时）"};
constexpr Tr kTxNotLicensed{"Channel %1 transmits on %2 MHz%3, which the licence does not hold.",
                            "信道 %1 在 %2 MHz%3发射，许可证中没有该频率。"};
constexpr Tr kTxOnRxOnly{"Channel %1 transmits on %2 MHz%3, which licence line %4 holds for receiving only.",
                         "信道 %1 在 %2 MHz%3发射，但许可证第 %4 行只允许该频率接收。"};
constexpr Tr kBandwidthOver{"Channel %1 uses %2 on %3 MHz%4; licence line %5 allows %6 kHz.",
                            "信道 %1 在 %3 MHz%4使用 %2，许可证第 %5 行只允许 %6 kHz。"};
constexpr Tr kPowerOver{"Channel %1 transmits at %2 power (%3 W) on %4 MHz%5; licence line %6 allows %7 W.",
                        "信道 %1 在 %4 MHz%5以%2功率（%3 W）发射，许可证第 %6 行只允许 %7 W。"};
constexpr Tr kExpired{"Channel %1 transmits on %2 MHz%3 under licence line %4, which expired on %5.",
                      "信道 %1 在 %2 MHz%3发射，所依据的许可证第 %4 行已于 %5 过期。"};
constexpr Tr kExpiresSoon{"Channel %1 transmits on %2 MHz%3 under licence line %4, which expires on %5.",
                          "信道 %1 在 %2 MHz%3发射，所依据的许可证第 %4 行将于 %5 到期。"};
constexpr Tr kOffset{"Channel %1 pairs RX %2 MHz with TX %4 MHz (offset %3 MHz), but the licence holds no line at "
                     "%2 MHz.",
                     "信道 %1 的接收 %2 MHz 与发射 %4 MHz 配对（差频 %3 MHz），但许可证中没有 %2 MHz。"};
constexpr Tr kUnreadable{"The licence %1 cannot be read: %2. The plan cannot be checked against it.",
                         "无法读取许可证 %1：%2。无法按许可证检查计划。"};
constexpr Tr kBadLine{"Licence line %1 was skipped: %2.", "许可证第 %1 行已跳过：%2。"};
constexpr Tr kMoreBadLines{"%1 more licence lines were skipped.", "另有 %1 行许可证被跳过。"};
constexpr Tr kNoChannels{"The plan holds no channel.", "计划中没有信道。"};
constexpr Tr kTxOutOfBand{"Channel %1 transmits on %2 MHz, outside the radio's band %3.",
                          "信道 %1 的发射频率 %2 MHz 超出对讲机频段 %3。"};
constexpr Tr kTxUnreadable{"Channel %1 has a TX frequency that cannot be read (\"%2\").",
                           "信道 %1 的发射频率无法识别（“%2”）。"};
constexpr Tr kRxOutOfBand{"Channel %1 receives on %2 MHz, outside the radio's band %3.",
                          "信道 %1 的接收频率 %2 MHz 超出对讲机频段 %3。"};
constexpr Tr kRxUnreadable{"Channel %1 has an RX frequency that cannot be read (\"%2\").",
                           "信道 %1 的接收频率无法识别（“%2”）。"};
constexpr Tr kDuplicate{"Channel %1 is the same as channel %2 (RX, TX, tones and spacing).",
                        "信道 %1 与信道 %2 相同（收发频率、亚音和带宽）。"};
constexpr Tr kScanEmpty{"Scan bank %1 names channel %2 as its priority channel, but channel %2 is empty.",
                        "扫描组 %1 的优先信道为信道 %2，但信道 %2 为空。"};
constexpr Tr kPriorityOutside{"Scan bank %1 holds priority position %2, which is not one of its 16 channels.",
                              "扫描组 %1 的优先位置 %2 不在该组的 16 个信道之内。"};
constexpr Tr kPriorityNotScanned{"Priority channel %2 of scan bank %1 is not in the scan list (Scan Add is off).",
                                 "扫描组 %1 的优先信道 %2 不在扫描列表中（扫描添加为删除）。"};
constexpr Tr kError{"Error", "错误"};
constexpr Tr kWarning{"Warning", "警告"};
constexpr Tr kNoFindings{"No findings.", "没有发现问题。"};
constexpr Tr kErrors{"%1 errors", "%1 个错误"};
constexpr Tr kOneError{"1 error", "1 个错误"};
constexpr Tr kWarnings{"%1 warnings", "%1 个警告"};
constexpr Tr kOneWarning{"1 warning", "1 个警告"};
constexpr Tr kCounts{"%1, %2.", "%1，%2。"};
}  // namespace msg

class Checker {
 public:
  Checker(const CodeplugData &config, const PlanInputs &in) : config_(config), in_(in) {}

  std::vector<PlanFinding> run() {
    licenceItself();
    if (config_.channelCount == 0) add(rule::kNoChannels, 0, msg::kNoChannels, {});
    bandLimits();
    duplicates();
    if (in_.licence) licenceRules();
    // By channel (the licence's own and the plan's first); a channel's findings in rule order.
    std::stable_sort(channelFindings_.begin(), channelFindings_.end(),
                     [](const PlanFinding &a, const PlanFinding &b) { return a.channel < b.channel; });
    findings_.insert(findings_.end(), channelFindings_.begin(), channelFindings_.end());
    scanBanks();
    return std::move(findings_);
  }

 private:
  void add(const char *id, int channel, const Tr &text, const std::vector<std::string> &args) {
    PlanFinding f{FindRule(id)->severity, id, channel, Fill(text, args)};
    (channel > 0 ? channelFindings_ : findings_).push_back(std::move(f));
  }

  void licenceItself() {
    if (!in_.licenceProblem.empty()) add(rule::kLicenceUnreadable, 0, msg::kUnreadable, {in_.licenceName, in_.licenceProblem});
    if (!in_.licence) return;
    const auto &skipped = in_.licence->skipped;
    for (std::size_t i = 0; i < skipped.size() && i < kMaxBadLineFindings; ++i)
      add(rule::kLicenceBadLine, 0, msg::kBadLine, {std::to_string(skipped[i].line), skipped[i].reason});
    if (skipped.size() > kMaxBadLineFindings)
      add(rule::kLicenceBadLine, 0, msg::kMoreBadLines, {std::to_string(skipped.size() - kMaxBadLineFindings)});
  }

  std::vector<const ChannelRecord *> channels() const {
    std::vector<const ChannelRecord *> out;
    for (int k = 1; k <= std::min<int>(config_.channelCount, kMaxChannels); ++k) out.push_back(config_.slot(k));
    std::stable_sort(out.begin(), out.end(),
                     [](const ChannelRecord *a, const ChannelRecord *b) { return a->number < b->number; });
    return out;
  }

  void bandLimits() {
    const std::string band = BandText(config_.bandCode);
    if (band == kUnknownBand) return;  // no limits to hold the frequencies against
    const int64_t lower = std::stoll(band.substr(0, 3)) * 1'000'000, upper = std::stoll(band.substr(6, 3)) * 1'000'000;
    for (const ChannelRecord *e : channels()) {
      const std::string rx = e->rx.text(), tx = e->tx.text();
      if (const auto hz = StoredFrequencyHz(rx); !hz)
        add(rule::kRxOutOfBand, e->number, msg::kRxUnreadable, {num(e), rx});
      else if (*hz < lower || *hz > upper)
        add(rule::kRxOutOfBand, e->number, msg::kRxOutOfBand, {num(e), MhzText(*hz), band});
      if (tx.empty() || tx == "FFFFFFFF") continue;  // receives only
      if (const auto hz = StoredFrequencyHz(tx); !hz)
        add(rule::kTxOutOfBand, e->number, msg::kTxUnreadable, {num(e), tx});
      else if (*hz < lower || *hz > upper)
        add(rule::kTxOutOfBand, e->number, msg::kTxOutOfBand, {num(e), MhzText(*hz), band});
    }
  }

  void duplicates() {
    std::map<std::tuple<std::string, std::string, std::string, std::string, int>, int> first;
    for (const ChannelRecord *e : channels()) {
      auto key = std::make_tuple(e->rx.text(), e->tx.text(), e->decode.text(), e->encode.text(), e->spacing == 0 ? 0 : 1);
      auto [it, isNew] = first.emplace(key, e->number);
      if (!isNew) add(rule::kDuplicateChannel, e->number, msg::kDuplicate, {num(e), std::to_string(it->second)});
    }
  }

  void licenceRules() {
    const Licence &licence = *in_.licence;
    for (const Transmission &t : Transmissions(config_)) {
      const std::string ch = std::to_string(t.channel), mhz = MhzText(t.frequencyHz), via = viaText(t.kind);
      const LineCheck c = BestLine(licence, t, in_.today);
      if (!c.line) {
        add(rule::kTxNotLicensed, t.channel, msg::kTxNotLicensed, {ch, mhz, via});
        continue;
      }
      const std::string line = std::to_string(c.line->line);
      if (c.receiveOnly) add(rule::kTxOnRxOnly, t.channel, msg::kTxOnRxOnly, {ch, mhz, via, line});
      if (c.overBandwidth)
        add(rule::kBandwidthOver, t.channel, msg::kBandwidthOver,
            {ch, kSpacingTexts[t.bandwidthHz > 12'500].get(), mhz, via, line, KhzText(c.line->bandwidthHz)});
      if (c.overPower)
        add(rule::kPowerOver, t.channel, msg::kPowerOver,
            {ch, kPowerTexts[std::clamp(t.powerLevel, 0, 2)].get(), WattsText(t.watts), mhz, via, line,
             WattsText(c.line->powerWatts)});
      if (c.expired) add(rule::kExpired, t.channel, msg::kExpired, {ch, mhz, via, line, c.line->expires->text()});
      if (c.expiresSoon)
        add(rule::kExpiresSoon, t.channel, msg::kExpiresSoon, {ch, mhz, via, line, c.line->expires->text()});
    }
    offsets(licence);
  }

  // A repeater channel whose TX is licensed but whose RX is not: the pair is no licensed one.
  void offsets(const Licence &licence) {
    for (const ChannelRecord *e : channels()) {
      const auto rx = StoredFrequencyHz(e->rx.text()), tx = StoredFrequencyHz(e->tx.text());
      if (!rx || !tx || std::llabs(*tx - *rx) <= kMatchToleranceHz) continue;
      if (licence.matching(*tx).empty() || !licence.matching(*rx).empty()) continue;
      const int64_t offset = *tx - *rx;
      add(rule::kOffsetNotLicensed, e->number, msg::kOffset,
          {num(e), MhzText(*rx), (offset > 0 ? "+" : "-") + MhzText(std::llabs(offset), 1), MhzText(*tx)});
    }
  }

  void scanBanks() {
    const auto &w = config_.scan.words;
    if (w[0] == 0) return;  // priority None: the bank choices are not used
    for (int bank = 1; bank <= 8; ++bank) {
      const int position = w[bank];
      if (position == 255) continue;  // none chosen
      const std::string b = std::to_string(bank);
      if (position < 1 || position > 16) {
        add(rule::kPriorityNotInBank, 0, msg::kPriorityOutside, {b, std::to_string(position)});
        continue;
      }
      const int number = (bank - 1) * 16 + position;
      const ChannelRecord *e = config_.slot(config_.findChannel(number));
      if (!e) add(rule::kScanEmptyChannel, 0, msg::kScanEmpty, {b, std::to_string(number)});
      else if (e->scanAdd == 0) add(rule::kPriorityNotInBank, 0, msg::kPriorityNotScanned, {b, std::to_string(number)});
    }
  }

  static std::string num(const ChannelRecord *e) { return std::to_string(e->number); }
  static std::string viaText(TransmitKind kind) {
    switch (kind) {
      case TransmitKind::Reverse: return msg::kReversed.get();
      case TransmitKind::Talkaround: return msg::kTalkaround.get();
      case TransmitKind::Tx: break;
    }
    return {};
  }

  const CodeplugData &config_;
  const PlanInputs &in_;
  std::vector<PlanFinding> findings_, channelFindings_;
};

}  // namespace

const std::vector<Rule> &Rules() { return kRules; }

const Rule *FindRule(std::string_view id) {
  for (const Rule &r : kRules)
    if (id == r.id) return &r;
  return nullptr;
}

std::vector<PlanFinding> CheckPlan(const CodeplugData &config, const PlanInputs &in) { return Checker(config, in).run(); }

bool HasError(const std::vector<PlanFinding> &findings) { return CountOf(findings, FindingSeverity::Error) > 0; }

int CountOf(const std::vector<PlanFinding> &findings, FindingSeverity severity) {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [severity](const PlanFinding &f) { return f.severity == severity; }));
}

const char *SeverityText(FindingSeverity severity) {
  return severity == FindingSeverity::Error ? msg::kError.get() : msg::kWarning.get();
}

std::string FindingsSummary(const std::vector<PlanFinding> &findings) {
  if (findings.empty()) return msg::kNoFindings.get();
  auto count = [](int n, const Tr &one, const Tr &many) { return n == 1 ? std::string(one.get()) : Fill(many, {std::to_string(n)}); };
  return Fill(msg::kCounts, {count(CountOf(findings, FindingSeverity::Error), msg::kOneError, msg::kErrors),
                             count(CountOf(findings, FindingSeverity::Warning), msg::kOneWarning, msg::kWarnings)});
}

}  // namespace n27::plan
