#include "channels/field_codec.h"

#include <span>

#include "channels/freq_codec.h"
#include "channels/number_text.h"
#include "channels/tone_list.h"

namespace n27 {
namespace {

std::string tableText(std::span<const Tr> table, int value) {
  if (value >= 0 && value < static_cast<int>(table.size())) return table[value].get();
  return std::to_string(value);
}

std::vector<std::string> tableTexts(std::span<const Tr> table) {
  std::vector<std::string> out;
  for (const auto &t : table) out.emplace_back(t.get());
  return out;
}

// Position of a text among the table's texts in the current language, then in the other.
int position(std::span<const Tr> table, std::string_view text) {
  int current = LanguageIndex(), other = current == kEnglish ? kChinese : kEnglish;
  for (int language : {current, other})
    for (std::size_t i = 0; i < table.size(); ++i)
      if (text == table[i].at(language)) return static_cast<int>(i);
  return -1;
}

std::span<const Tr> spUnmuteTable(const ChannelRecord &entry) {
  return HasDecodeTone(entry) ? std::span<const Tr>(kSpUnmuteToneTexts)
                              : std::span<const Tr>(kSpUnmuteNoToneTexts);
}

// The word and the accepted values of the fields that take a plain integer.
struct IntegerField {
  int field;
  uint16_t ChannelRecord::*word;
  int max;
};
constexpr IntegerField kIntegerFields[] = {
    {kFieldAutodial, &ChannelRecord::autodial, 7},
    {kFieldWord36, &ChannelRecord::w36, 0xFFFF},
    {kFieldScanAddCheck, &ChannelRecord::scanAdd, 1},
    {kFieldReverse, &ChannelRecord::reverse, 1},
    {kFieldTalkaround, &ChannelRecord::talkaround, 1},
    {kFieldRelation, &ChannelRecord::relation, 1},
    {kFieldCall1, &ChannelRecord::call1, 15},
    {kFieldCall2, &ChannelRecord::call2, 15},
    {kFieldScramble, &ChannelRecord::scramble, 12},
    {kFieldCompander, &ChannelRecord::compander, 1},
    {kFieldSpecialDcs, &ChannelRecord::specialDcs, 1},
};

const IntegerField *integerField(int field) {
  for (const auto &f : kIntegerFields)
    if (f.field == field) return &f;
  return nullptr;
}

// A tone field: the new code, and the other tone follows when both were Off.
EditStatus setTone(FixedText<4> &mine, FixedText<4> &other, std::string_view text) {
  std::string code = ToneToCode(text);
  if (code.empty()) return EditStatus::Unmatched;
  bool bothOff = mine.text() == kToneOff && other.text() == kToneOff;
  mine.assign(code);
  if (bothOff) other.assign(code);
  return EditStatus::Ok;
}

// A list field: the text's position, or the fallback for a text that is not in the list
// (-1 keeps the value).
EditStatus setListValue(uint16_t &word, std::span<const Tr> table, std::string_view text,
                        int fallback) {
  int p = position(table, text);
  if (p >= 0) {
    word = static_cast<uint16_t>(p);
    return EditStatus::Ok;
  }
  if (fallback >= 0) word = static_cast<uint16_t>(fallback);
  return EditStatus::Unmatched;
}

}  // namespace

bool HasDecodeTone(const ChannelRecord &entry) { return entry.decode.text() != kToneOff; }

std::string ValueToText(const ChannelContext &ctx, const ChannelRecord &entry, int field) {
  switch (field) {
    case kFieldRx: return ShowFre(ctx, entry.rx.text());
    case kFieldTx: return ShowFre(ctx, entry.tx.text());
    case kFieldDecode: return ToneCodeText(entry.decode.text());
    case kFieldEncode: return ToneCodeText(entry.encode.text());
    case kFieldPower: return tableText(kPowerTexts, entry.power);
    case kFieldScanAdd: return tableText(kScanAddTexts, entry.scanAdd);
    case kFieldOptSignal: return tableText(kOptSignalTexts, entry.optSignal);
    case kFieldPttId: return tableText(kPttIdTexts, entry.pttId);
    case kFieldSpacing: return tableText(kSpacingTexts, entry.spacing);
    case kFieldSpUnmute: return tableText(spUnmuteTable(entry), entry.spUnmute);
    case kFieldBusyLock: return tableText(kBusyLockTexts, entry.busyLock);
    case kFieldAutodial: return std::to_string(entry.autodial + 1);
    case kFieldScrambleFreq: return std::to_string(entry.scrambleFreq);
    default:
      if (const auto *f = integerField(field)) return std::to_string(entry.*(f->word));
      return {};
  }
}

std::vector<std::string> FieldChoices(int field, const ChannelRecord &entry) {
  switch (field) {
    case kFieldDecode:
    case kFieldEncode: return ToneList();
    case kFieldPower: return tableTexts(kPowerTexts);
    case kFieldScanAdd: return tableTexts(kScanAddTexts);
    case kFieldOptSignal: return tableTexts(kOptSignalTexts);
    case kFieldPttId: return tableTexts(kPttIdTexts);
    case kFieldSpacing: return tableTexts(kSpacingTexts);
    case kFieldSpUnmute: return tableTexts(spUnmuteTable(entry));
    case kFieldBusyLock: return tableTexts(std::span<const Tr>(kBusyLockTexts).first(3));
    case kFieldRelation: return tableTexts(kRelationTexts);
    case kFieldCall1:
    case kFieldCall2: {
      std::vector<std::string> out;
      for (int i = 1; i <= 16; ++i) out.push_back(std::to_string(i));
      return out;
    }
    default: return {};
  }
}

std::vector<std::string> SpUnmuteChoices(const ChannelRecord &entry) {
  auto all = tableTexts(spUnmuteTable(entry));
  if (entry.optSignal == 0) all.resize(1);
  return all;
}

std::vector<std::string> BusyLockChoices(const ChannelRecord &entry) {
  return tableTexts(std::span<const Tr>(kBusyLockTexts).first(HasDecodeTone(entry) ? 3 : 2));
}

int ShownBusyLock(const ChannelRecord &entry) {
  int max = 1 + (HasDecodeTone(entry) ? 1 : 0) + (entry.optSignal != 0 ? 1 : 0);
  return entry.busyLock > max ? 0 : entry.busyLock;
}

EditStatus SetChannelValue(const ChannelContext &ctx, ChannelRecord &entry, int field,
                           std::string_view text) {
  switch (field) {
    case kFieldRx:
      entry.rx.assign(SaveFre(ctx, text));
      return EditStatus::Ok;
    case kFieldTx:
      if (text.empty()) {
        entry.tx.assign(kNoTxFrequency);
        entry.txOff = 1;
        if (entry.encode.text() != kToneOff) entry.encode.assign(kToneOff);
        entry.reverse = 0;
      } else {
        entry.tx.assign(SaveFre(ctx, text));
        entry.txOff = 0;
      }
      return EditStatus::Ok;
    case kFieldDecode: return setTone(entry.decode, entry.encode, text);
    case kFieldEncode: return setTone(entry.encode, entry.decode, text);
    case kFieldPower: return setListValue(entry.power, kPowerTexts, text, -1);
    case kFieldScanAdd:
      entry.scanAdd = position(kScanAddTexts, text) == 1 ? 1 : 0;
      return position(kScanAddTexts, text) >= 0 ? EditStatus::Ok : EditStatus::Unmatched;
    case kFieldOptSignal: {
      EditStatus s = setListValue(entry.optSignal, kOptSignalTexts, text, -1);
      // No choice that involves optional signalling survives without it.
      if (s == EditStatus::Ok && entry.optSignal == 0) {
        if (entry.busyLock == 3) entry.busyLock = 0;
        if (entry.spUnmute == 1 || entry.spUnmute == 2) entry.spUnmute = 0;
      }
      return s;
    }
    case kFieldPttId: return setListValue(entry.pttId, kPttIdTexts, text, 0);
    case kFieldSpacing: {
      int p = position(kSpacingTexts, text);
      entry.spacing = p == 0 ? 0 : 1;
      return p >= 0 ? EditStatus::Ok : EditStatus::Unmatched;
    }
    case kFieldSpUnmute: return setListValue(entry.spUnmute, spUnmuteTable(entry), text, -1);
    case kFieldBusyLock:
      return setListValue(entry.busyLock, std::span<const Tr>(kBusyLockTexts).first(3), text, -1);
    case kFieldScrambleFreq: {
      auto v = ParseInteger(text);
      if (!v) return IsNumeric(text) ? EditStatus::OutOfRange : EditStatus::NotNumeric;
      int64_t hz = *v < kScrambleFreqMin ? kScrambleFreqMin : *v > kScrambleFreqMax ? kScrambleFreqMax : *v;
      entry.scrambleFreq = static_cast<uint16_t>(hz);
      return EditStatus::Ok;
    }
    default: break;
  }
  const IntegerField *f = integerField(field);
  if (!f) return EditStatus::NoField;
  auto v = ParseInteger(text);
  if (!v) return IsNumeric(text) ? EditStatus::OutOfRange : EditStatus::NotNumeric;
  if (*v < 0 || *v > f->max) return EditStatus::OutOfRange;
  entry.*(f->word) = static_cast<uint16_t>(*v);
  return EditStatus::Ok;
}

}  // namespace n27
