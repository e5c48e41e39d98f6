#include "channels/tone_list.h"

#include <array>
#include <cstdio>

#include "channels/number_text.h"

namespace n27 {
namespace {

constexpr const char *kCtcssTones[kCtcssCount] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

constexpr const char *kDcsCodes[kDcsCount] = {
    "017", "023", "025", "026", "031", "032", "036", "043", "047", "050", "051", "053", "054",
    "055", "065", "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132",
    "134", "135", "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212",
    "217", "223", "225", "226", "243", "244", "245", "246", "251", "252", "254", "255", "261",
    "263", "265", "266", "271", "274", "305", "306", "311", "315", "325", "331", "332", "343",
    "345", "346", "351", "356", "364", "365", "371", "411", "412", "413", "423", "425", "431",
    "432", "445", "446", "452", "454", "455", "462", "464", "465", "466", "503", "506", "516",
    "523", "526", "532", "534", "546", "565", "606", "612", "624", "627", "631", "632", "645",
    "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754", "765"};

// Entries 1..282 (entry 0, the Off text, depends on the language).
const std::array<std::string, kToneCount> &fixedEntries() {
  static const std::array<std::string, kToneCount> list = [] {
    std::array<std::string, kToneCount> l;
    l[0] = "OFF";
    for (int i = 0; i < kCtcssCount; ++i) l[1 + i] = kCtcssTones[i];
    for (int i = 0; i < kDcsCount; ++i) {
      l[kFirstDcsN + i] = std::string("D") + kDcsCodes[i] + "N";
      l[kFirstDcsI + i] = std::string("D") + kDcsCodes[i] + "I";
    }
    return l;
  }();
  return list;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string ToneListEntry(int i) {
  if (i == 0) return kToneOffText.get();
  if (i < 0 || i >= kToneCount) return {};
  return fixedEntries()[i];
}

std::vector<std::string> ToneList() {
  std::vector<std::string> list(fixedEntries().begin(), fixedEntries().end());
  list[0] = kToneOffText.get();
  return list;
}

int FindToneEntry(std::string_view text) {
  if (text == kToneOffText.get()) return 0;
  const auto &l = fixedEntries();
  for (int i = 1; i < kToneCount; ++i)
    if (l[i] == text) return i;
  return -1;
}

int ToneIndex(ToneKind kind, std::string_view text) {
  int base = kind == ToneKind::DcsN ? kFirstDcsN - 1 : kind == ToneKind::DcsI ? kFirstDcsI - 1 : 0;
  // The search covers 116 entries from the base, whatever the kind (for CTCSS it runs on into
  // the DCS entries, which a numeric text never equals).
  const auto &l = fixedEntries();
  for (int c = 1; c <= kDcsCount && base + c < kToneCount; ++c)
    if (l[base + c] == text) return c - 1;
  auto d = ParseDecimal(text);
  if (!d) return 0;
  Decimal tenths = *d;
  tenths.units *= 10;
  int64_t t = RoundTo(tenths, 0, Rounding::HalfEven);
  // Far outside any tone; keeps the value an int.
  if (t > 1000000) t = 1000000;
  if (t < -1000000) t = -1000000;
  return static_cast<int>(t);
}

std::string ToneToCode(std::string_view text) {
  if (text.empty()) return {};
  if (text == kToneOffText.get()) return kToneOff;
  int code;
  if (text.back() == 'N') {
    code = 0x0200 + ToneIndex(ToneKind::DcsN, text);
  } else if (text.back() == 'I') {
    code = 0x0300 + ToneIndex(ToneKind::DcsI, text);
  } else {
    auto d = ParseDecimal(text);
    if (!d) return {};
    Decimal tenths = *d;
    tenths.units *= 10;
    int64_t t = RoundTo(tenths, 0, Rounding::HalfEven);
    int k = t < 500 ? 0 : t > 2600 ? kCtcssCount - 1 : ToneIndex(ToneKind::Ctcss, text);
    code = k < 100 ? 0x0100 + k : 0x8000 + k;
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", static_cast<unsigned>(code) & 0xFFFFu);
  return buf;
}

std::string ToneCodeText(std::string_view code) {
  if (code == kToneOff) return kToneOffText.get();
  if (code.size() != 4) return std::string(code);
  int nibbles[4];
  for (int i = 0; i < 4; ++i)
    if ((nibbles[i] = hexDigit(code[i])) < 0) return std::string(code);
  int hi = nibbles[0] * 16 + nibbles[1];
  int lo = nibbles[2] * 16 + nibbles[3];
  if (hi >= 0x80) return FormatFixed((hi - 0x80) * 256 + lo, 1, 1);
  int entry = code.substr(0, 2) == "02" ? lo + kFirstDcsN
              : code.substr(0, 2) == "03" ? lo + kFirstDcsI
                                          : lo + 1;
  if (entry >= kToneCount) return std::string(code);
  return ToneListEntry(entry);
}

}  // namespace n27
