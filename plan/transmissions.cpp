#include "plan/transmissions.h"

#include <algorithm>

#include "channels/channel_csv.h"

namespace n27::plan {

double NominalWatts(int powerLevel) {
  switch (powerLevel) {
    case 0: return csv::kWattsLow;
    case 1: return csv::kWattsMiddle;
    default: return csv::kWattsHigh;
  }
}

int64_t SpacingHz(int spacing) { return spacing == 0 ? 12'500 : 25'000; }

std::optional<int64_t> StoredFrequencyHz(const std::string &stored) {
  if (stored.size() != 8) return std::nullopt;
  int64_t units = 0;
  for (char c : stored) {
    if (c < '0' || c > '9') return std::nullopt;
    units = units * 10 + (c - '0');
  }
  return units * 10;
}

std::vector<Transmission> Transmissions(const CodeplugData &config) {
  std::vector<const ChannelRecord *> channels;
  for (int k = 1; k <= std::min<int>(config.channelCount, kMaxChannels); ++k)
    if (const ChannelRecord *e = config.slot(k)) channels.push_back(e);
  std::stable_sort(channels.begin(), channels.end(),
                   [](const ChannelRecord *a, const ChannelRecord *b) { return a->number < b->number; });
  std::vector<Transmission> out;
  for (const ChannelRecord *e : channels) {
    const auto tx = StoredFrequencyHz(e->tx.text());
    if (!tx) continue;
    Transmission t{e->number, TransmitKind::Tx, *tx, SpacingHz(e->spacing), e->power, NominalWatts(e->power)};
    out.push_back(t);
    const auto rx = StoredFrequencyHz(e->rx.text());
    if (!rx || (*rx >= *tx - kMatchToleranceHz && *rx <= *tx + kMatchToleranceHz)) continue;
    if (e->reverse || e->talkaround) {
      t.kind = e->reverse ? TransmitKind::Reverse : TransmitKind::Talkaround;
      t.frequencyHz = *rx;
      out.push_back(t);
    }
  }
  return out;
}

LineCheck BestLine(const Licence &licence, const Transmission &t, const Date &today) {
  LineCheck best;
  for (const LicenceLine *l : licence.matching(t.frequencyHz)) {
    LineCheck c;
    c.line = l;
    c.receiveOnly = l->receiveOnly;
    if (!c.receiveOnly) {
      c.overBandwidth = t.bandwidthHz > l->bandwidthHz;
      c.overPower = t.watts > l->powerWatts + 1e-9;
    }
    if (l->expires) {
      c.expired = today > *l->expires;
      c.expiresSoon = !c.expired && l->expires->dayNumber() - today.dayNumber() < kExpiryWarningDays;
    }
    const bool better = !best.line || c.problems() < best.problems() ||
                        (c.problems() == best.problems() && best.expiresSoon && !c.expiresSoon);
    if (better) best = c;
  }
  return best;
}

}  // namespace n27::plan
