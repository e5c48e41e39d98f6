// Writing a channel list: every channel in use as one row of the community CSV format.

#include "channels/channel_csv.h"

#include <algorithm>
#include <cstdio>

#include "channels/csv_columns.h"
#include "channels/freq_codec.h"
#include "channels/tone_list.h"

namespace n27::csv {

using namespace detail;

std::string PowerWatts(int level) {
  switch (level) {
    case 0: return "1.0W";
    case 1: return "2.5W";
    default: return "5.0W";
  }
}

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

}  // namespace n27::csv
