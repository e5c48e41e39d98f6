// The feature settings inside the RadioImage: function setup, keys, scan, local messages,
// the radio-information area. Every setting takes one whole byte; values from the radio are
// forced into range by a per-setting read rule when decoded.

#include <array>
#include <cstdint>
#include <string>

#include "codeplug/ansi_text.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"
#include "codeplug/record_field.h"

namespace n27 {

namespace {

uint8_t toByte(int value) { return static_cast<uint8_t>(value & 0xFF); }

constexpr int kAsIs = -1;  // no read rule: the byte is taken as it is

// One setting of one whole byte. A byte read from the radio above `limit` becomes `fallback`.
struct ByteSetting {
  std::size_t address;
  FieldRef field;
  int limit = kAsIs;
  int fallback = 0;
  bool writeOnly = false;  // sent to the radio, never taken back from it
};

template <int16_t FunctionSetup::*M>
constexpr FieldRef fn = Member<&CodeplugData::function, M>;
template <int16_t StandAloneValues::*M>
constexpr FieldRef sa = Member<&CodeplugData::standAlone, M>;
template <std::size_t W>
int16_t &scan(CodeplugData &d) {
  return d.scan.words[W];
}

using F = FunctionSetup;
using S = StandAloneValues;

// The function and scan settings of the image, in the order they are written.
const ByteSetting kByteMap[] = {
    {mem::kRrm, sa<&S::rrm>},
    {mem::kByte12, sa<&S::byte12>},  // no editor: carried unchanged
    {mem::kCurrentChannel, sa<&S::currentChannel>},
    {mem::kKeyLock, sa<&S::keyLock>},
    {mem::kTot, fn<&F::tot>, 40, 4},
    {mem::kTotWarning, fn<&F::totWarning>, 10, 0},
    {mem::kVoicePrompt, fn<&F::voicePrompt>, 0, 1},
    {mem::kCallResponse, fn<&F::callResponse>, 5, 0},
    {mem::kSquelch, fn<&F::squelch>, 9, 4},
    {mem::kBatterySave, fn<&F::batterySave>, 3, 0},
    {mem::kBeep, fn<&F::beep>, 1, 1},
    {mem::kCancelOperation, fn<&F::cancelOperation>, 1, 0},
    {mem::kDwChannel, fn<&F::dwChannel>},
    {mem::kVoxFunction, fn<&F::voxFunction>, 1, 0},
    {mem::kVoxLevel, fn<&F::voxLevel>, 9, 4},
    {mem::kVoxDelay, fn<&F::voxDelay>, 27, 1},
    {mem::kVoxProceedTone, fn<&F::voxProceedTone>, 1, 0},
    {mem::kBacklightMode, fn<&F::backlightMode>},
    {mem::kRbSetting, fn<&F::rbSetting>},
    {mem::kSquelchTailNoSig, fn<&F::squelchTailNoSig>},
    {mem::kScanMode, fn<&F::scanMode>},
    {mem::kMicNoiseReduction, fn<&F::micNoiseReduction>, 2, 1},
    {mem::kAlertLocked, sa<&S::alertLockedFlag>, kAsIs, 0, true},
    {mem::kChannelLocked, sa<&S::channelLocked>, 1, 0},
    {mem::kCtcssTailType, fn<&F::ctcssTailType>, 4, 0},
    {mem::kResetAllowed, fn<&F::resetAllowed>, 1, 1},
    {mem::kBandExtension, sa<&S::bandExtension>, 1, 0},
    {mem::kScanSwitch, fn<&F::scanSwitch>, 1, 1},
    {mem::kDcsTailType, sa<&S::dcsTailType>},
    {mem::kScanPriority, scan<0>, 2, 0},
    {mem::kLookBackA, scan<9>},
    {mem::kLookBackB, scan<10>},
    {mem::kRevertChannel, scan<11>},
    {mem::kDropoutDelay, scan<12>},
    {mem::kTxDwell, scan<13>},
};

// The bytes of a text field: up to its first 0xFF or 0x00, or its full length.
std::string readText(const RadioImage &image, std::size_t start, std::size_t length) {
  std::string out;
  for (std::size_t i = 0; i < length; ++i) {
    uint8_t b = image.at(start + i);
    if (b == 0xFF || b == 0x00) break;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

std::string trimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// A message line in the image: its characters, then 0xFF to the end of the 32 bytes.
void encodeMessage(RadioImage &image, std::size_t start, const FixedText<32> &line) {
  // Cut at the first NUL, trailing blanks removed: "HELLO   " is written as five letters.
  const std::string text = line.text();
  for (std::size_t i = 0; i < mem::kMessageLength; ++i)
    image.set(start + i, i < text.size() ? static_cast<uint8_t>(text[i]) : 0xFF);
}

void decodeMessage(const RadioImage &image, std::size_t start, FixedText<32> &line) {
  line.assign(readText(image, start, mem::kMessageLength));
}

// The function code a key byte holds: 16..254 are not functions and read as 255 (unset).
int16_t keyCode(uint8_t b) { return static_cast<int16_t>(b >= 16 && b <= 254 ? 255 : b); }

// A scan bank byte holds the bank position minus one. A byte above 16 — among it the 254
// that "no channel" (255) is written as — reads as 255, so "no channel" survives a write and
// a read; 0..16 read as the byte plus one.
int16_t bankWord(uint8_t b) { return static_cast<int16_t>(b > 16 ? 255 : b + 1); }

}  // namespace

void EncodeFeatureSettings(RadioImage &image, const CodeplugData &data) {
  encodeMessage(image, mem::kMessage1, data.message1);
  encodeMessage(image, mem::kMessage2, data.message2);
  for (std::size_t i = 0; i < mem::kKeyCount; ++i) image.set(mem::kKeys + i, toByte(data.keys.keys[i]));

  for (const ByteSetting &b : kByteMap) image.set(b.address, toByte(ReadMember(b.field, data)));
  image.set(mem::kReserved334, 0);
  image.fill(mem::kReserved340, mem::kReserved340 + mem::kReserved340Length - 1, 0);
  for (std::size_t h = 1; h <= mem::kScanBankCount; ++h)
    image.set(mem::kScanBanks + h - 1, toByte(data.scan.words[h] - 1));
}

void DecodeFeatureSettings(const RadioImage &image, CodeplugData &data) {
  decodeMessage(image, mem::kMessage1, data.message1);
  decodeMessage(image, mem::kMessage2, data.message2);
  for (std::size_t i = 0; i < mem::kKeyCount; ++i) data.keys.keys[i] = keyCode(image.at(mem::kKeys + i));

  for (const ByteSetting &b : kByteMap) {
    if (b.writeOnly) continue;
    const uint8_t v = image.at(b.address);
    b.field(data) = static_cast<int16_t>(b.limit != kAsIs && v > b.limit ? b.fallback : v);
  }
  for (std::size_t h = 1; h <= mem::kScanBankCount; ++h)
    data.scan.words[h] = bankWord(image.at(mem::kScanBanks + h - 1));
}

void DecodeRadioInfoFlags(const RadioImage &image, std::array<int16_t, 3> &flags) {
  const uint8_t b = image.at(mem::kRadioInfoFlags);
  for (std::size_t i = 0; i < flags.size(); ++i)
    if (flags[i] == 0) flags[i] = static_cast<int16_t>((b >> i) & 1);
}

void DecodeRadioInformation(const RadioImage &image, RadioInformation &info) {
  auto text = [&image](std::size_t start, std::size_t length) {
    return AnsiToUtf8(trimRight(readText(image, start, length)));
  };
  info.radioType = text(mem::kRadioType, mem::kRadioTypeLength);
  info.bandCode = image.at(mem::kRadioBand);
  info.areaCode = text(mem::kAreaCode, mem::kAreaCodeLength);
  info.serialNumber = text(mem::kSerialNumber, mem::kSerialNumberLength);
  info.productionDate = text(mem::kProductionDate, mem::kProductionDateLength);
  info.manufactureCode = text(mem::kManufactureCode, mem::kManufactureCodeLength);
  info.userCode = text(mem::kUserCode, mem::kUserCodeLength);
}

}  // namespace n27
