#include "codeplug/image_codec.h"

#include <charconv>
#include <optional>
#include <string>

#include "codeplug/bands.h"
#include "base/bytes.h"

namespace n27 {

namespace {

constexpr uint32_t kNoFrequency = 0xFFFFFFFFu;
// A frequency text holds at most 8 digits of 10 Hz: anything from 1 GHz up cannot be shown.
constexpr uint32_t kMaxShowableHz = 999999999u;

std::size_t BitmapByte(std::size_t base, int n) { return base + static_cast<std::size_t>(n - 1) / 8; }
uint8_t BitmapBit(int n) { return static_cast<uint8_t>(1u << ((n - 1) % 8)); }

uint32_t Get32Be(const RadioImage &image, std::size_t at) {
  uint8_t b[4];
  for (std::size_t i = 0; i < 4; ++i) b[i] = image.at(at + i);
  return get32be(b);
}

void Put32Be(RadioImage &image, std::size_t at, uint32_t value) {
  uint8_t b[4];
  put32be(b, value);
  for (std::size_t i = 0; i < 4; ++i) image.set(at + i, b[i]);
}

std::string HexByte(uint8_t b) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string{kDigits[b >> 4], kDigits[b & 0x0F]};
}

// The stored frequency text (units of 10 Hz) → Hz; nullopt for "none" (empty, "FFFFFFFF")
// and for a text that is not a number.
std::optional<uint32_t> TextToHz(const std::string &text) {
  if (text.empty() || text == "FFFFFFFF") return std::nullopt;
  uint64_t tens = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), tens);
  if (ec != std::errc() || end != text.data() + text.size() || tens * 10 > kMaxShowableHz)
    return std::nullopt;
  return static_cast<uint32_t>(tens * 10);
}

// One tone byte from two hexadecimal characters; a pair that is not hexadecimal gives FF (off).
uint8_t ToneByte(const std::string &text, std::size_t at) {
  if (at + 2 > text.size()) return 0xFF;
  unsigned value = 0;
  auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + 2, value, 16);
  if (ec != std::errc() || end != text.data() + at + 2) return 0xFF;
  return static_cast<uint8_t>(value);
}

uint8_t Flag(uint16_t word) { return word != 0 ? 1 : 0; }

}  // namespace

int ScrambleFreqToSend(int stored) {
  if (stored == 0) return kScrambleFreqForZero;  // none chosen yet: what the dialog shows
  return stored < kScrambleFreqLowest ? kScrambleFreqLowest
                                      : stored > kScrambleFreqHighest ? kScrambleFreqHighest : stored;
}

void DecodeChannel(const RadioImage &image, CodeplugData &data, int n) {
  if (n < 1 || n > kMaxChannels) return;
  if ((image.at(BitmapByte(mem::kValidBitmap, n)) & BitmapBit(n)) == 0) return;
  if (data.channelCount >= kMaxChannels) return;

  ChannelRecord &ch = data.channels[data.channelCount];
  const std::size_t r = mem::ChannelRecordAddress(n);
  const uint32_t rxHz = Get32Be(image, r + mem::kChRx);
  // The radio drops a channel whose receive bytes are all zero or all FF, whatever its valid
  // bit says; a receive frequency of 1 GHz or more cannot be a channel of this radio either.
  if (rxHz == 0 || rxHz == kNoFrequency || rxHz > kMaxShowableHz) return;
  ++data.channelCount;

  ch.scanAdd = (image.at(BitmapByte(mem::kScanAddBitmap, n)) & BitmapBit(n)) ? 1 : 0;
  ch.inUse = 1;
  ch.number = static_cast<uint16_t>(n);
  // The text holds units of 10 Hz. A receive frequency of 1..9 Hz would read as "0", which a
  // write turns into "no channel": it reads as 10 Hz instead, so the channel stays a channel.
  ch.rx.assign(std::to_string(rxHz < 10 ? 1 : rxHz / 10));

  const uint32_t txHz = Get32Be(image, r + mem::kChTx);
  // A transmit frequency that cannot be shown is taken as none rather than cut to a wrong one.
  if (txHz == kNoFrequency || txHz > kMaxShowableHz)
    ch.tx.assign("FFFFFFFF");
  else
    ch.tx.assign(std::to_string(txHz / 10));

  ch.decode.assign(HexByte(image.at(r + mem::kChDecode)) + HexByte(image.at(r + mem::kChDecode + 1)));
  ch.encode.assign(HexByte(image.at(r + mem::kChEncode)) + HexByte(image.at(r + mem::kChEncode + 1)));

  const uint8_t flags = image.at(r + mem::kChFlags);
  ch.compander = (flags >> 7) & 1;
  ch.spacing = (flags >> 6) & 1;
  ch.talkaround = (flags >> 5) & 1;
  ch.reverse = (flags >> 4) & 1;
  ch.power = (flags >> 2) & 3;
  if (ch.power > 2) ch.power = 2;
  ch.specialDcs = (flags >> 1) & 1;
  ch.busyLock = flags & 1;

  ch.scramble = image.at(r + mem::kChScramble) & 0x0F;
  if (ch.scramble > 10) ch.scramble = 0;

  uint16_t freq = static_cast<uint16_t>(image.at(r + mem::kChScrambleFreq) |
                                        (image.at(r + mem::kChScrambleFreq + 1) << 8));
  // The radio's range is 1300..4100 Hz: 00 00 reads as 1300, FF FF as 4100.
  ch.scrambleFreq = freq < kScrambleFreqLowest    ? kScrambleFreqLowest
                    : freq > kScrambleFreqHighest ? kScrambleFreqHighest
                                                  : freq;
}

void EncodeChannel(RadioImage &image, const CodeplugData &data, int k) {
  const ChannelRecord *ch = data.slot(k);
  if (ch == nullptr || ch->inUse == 0) return;
  const int n = ch->number;
  if (n < 1 || n > kMaxChannels) return;
  const std::size_t r = mem::ChannelRecordAddress(n);

  Put32Be(image, r + mem::kChRx, TextToHz(ch->rx.raw()).value_or(kNoFrequency));
  Put32Be(image, r + mem::kChTx, TextToHz(ch->tx.raw()).value_or(kNoFrequency));

  const std::string decode = ch->decode.raw(), encode = ch->encode.raw();
  image.set(r + mem::kChDecode, ToneByte(decode, 0));
  image.set(r + mem::kChDecode + 1, ToneByte(decode, 2));
  image.set(r + mem::kChEncode, ToneByte(encode, 0));
  image.set(r + mem::kChEncode + 1, ToneByte(encode, 2));

  // Each value goes into its own bits only: a wider value (busy lock-out "Repeater" = 2, say)
  // must not spill into the neighbouring settings of the same byte.
  const uint8_t power = static_cast<uint8_t>(ch->power > 2 ? 2 : ch->power);
  image.set(r + mem::kChFlags,
            static_cast<uint8_t>(Flag(ch->compander) << 7 | Flag(ch->spacing) << 6 |
                                 Flag(ch->talkaround) << 5 | Flag(ch->reverse) << 4 | power << 2 |
                                 Flag(ch->specialDcs) << 1 | Flag(ch->busyLock)));
  image.set(r + mem::kChScramble, static_cast<uint8_t>(ch->scramble & 0x0F));
  const int scrambleHz = ScrambleFreqToSend(ch->scrambleFreq);
  image.set(r + mem::kChScrambleFreq, static_cast<uint8_t>(scrambleHz & 0xFF));
  image.set(r + mem::kChScrambleFreq + 1, static_cast<uint8_t>(scrambleHz >> 8));

  const std::size_t valid = BitmapByte(mem::kValidBitmap, n);
  image.set(valid, static_cast<uint8_t>(image.at(valid) | BitmapBit(n)));
  if (ch->scanAdd == 1) {
    const std::size_t scan = BitmapByte(mem::kScanAddBitmap, n);
    image.set(scan, static_cast<uint8_t>(image.at(scan) | BitmapBit(n)));
  }
}

void DecodeImage(Workspace &ws) {
  CodeplugData &data = ws.working;
  // The words the image does not hold (PTT ID, optional signalling, calls …) stay with their
  // channel: a channel known before the read keeps its own, a channel new to the table starts
  // from blank words rather than from whatever another channel left in the slot.
  const std::array<ChannelRecord, kMaxChannels> before = data.channels;
  const int countBefore = data.channelCount;
  data.channelCount = 0;
  for (int n = 1; n <= kMaxChannels; ++n) {
    if (data.channelCount >= kMaxChannels) break;
    ChannelRecord &next = data.channels[data.channelCount];
    next = ChannelRecord{};
    for (int k = 0; k < countBefore && k < kMaxChannels; ++k)
      if (before[k].number == n) {
        next = before[k];
        break;
      }
    DecodeChannel(ws.image, data, n);
  }
  // Slots above the count keep what they held (nothing reads them).
  for (int k = data.channelCount; k < kMaxChannels; ++k) data.channels[k] = before[k];

  std::string model;
  for (std::size_t i = 0; i < mem::kModelNameLength; ++i) {
    uint8_t b = ws.image.at(mem::kModelName + i);
    if (b == 0x00 || b == 0xFF) break;
    model.push_back(static_cast<char>(b));
  }
  data.modelName.assignNulPadded(model);
  data.bandCode = ws.image.at(mem::kBandCode);
  DecodeModelRecord(ws);

  DecodeFeatureSettings(ws.image, data);
  DecodeRadioInfoFlags(ws.image, ws.radioInfoFlags);
}

void EncodeImage(Workspace &ws) {
  const CodeplugData &data = ws.working;
  ws.image.fill(mem::kEncodeClearFrom, mem::kEncodeClearTo, 0);
  for (int k = 1; k <= data.channelCount && k <= kMaxChannels; ++k) EncodeChannel(ws.image, data, k);

  const std::string model = data.modelName.raw();
  for (std::size_t i = 0; i < mem::kModelNameLength; ++i)
    ws.image.set(mem::kModelName + i, i < model.size() ? static_cast<uint8_t>(model[i]) : 0);
  ws.image.set(mem::kBandCode, static_cast<uint8_t>(data.bandCode & 0xFF));

  EncodeFeatureSettings(ws.image, data);
}

}  // namespace n27
