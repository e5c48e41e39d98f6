// The feature settings inside the RadioImage: function setup, keys, scan, local messages,
// the radio-information area. Every setting takes one whole byte; values from the radio are
// forced into range by a per-setting read rule when decoded.

#include <array>
#include <cstdint>
#include <string>

#include "codeplug/ansi_text.h"
#include "codeplug/image_codec.h"
#include "codeplug/memory_map.h"

namespace n27 {

namespace {

// Read rules. Each returns the value kept for a byte read from the radio.
int16_t asIs(uint8_t b) { return b; }
// A byte above `limit` is replaced by `fallback`.
int16_t above(uint8_t b, int limit, int fallback) {
  return static_cast<int16_t>(b > limit ? fallback : b);
}

uint8_t toByte(int value) { return static_cast<uint8_t>(value & 0xFF); }

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
  const std::string text = line.text();  // cut at the first NUL, trailing blanks removed
  for (std::size_t i = 0; i < mem::kMessageLength; ++i)
    image.set(start + i, i < text.size() ? static_cast<uint8_t>(text[i]) : 0xFF);
}

void decodeMessage(const RadioImage &image, std::size_t start, FixedText<32> &line) {
  line.assign(readText(image, start, mem::kMessageLength));
}

// The function code a key byte holds: 16..254 are not functions and read as 255 (unset).
int16_t keyCode(uint8_t b) { return static_cast<int16_t>(b >= 16 && b <= 254 ? 255 : b); }

// A scan bank byte holds the bank position minus one (0..15). Anything above 15 — among it
// the 254 that "no channel" (255) is written as — reads as 255, so "no channel" survives a
// write and a read.
int16_t bankWord(uint8_t b) { return static_cast<int16_t>(b > 15 ? 255 : b + 1); }

}  // namespace

void EncodeFeatureSettings(RadioImage &image, const CodeplugData &data) {
  // Local messages 352..415.
  encodeMessage(image, mem::kMessage1, data.message1);
  encodeMessage(image, mem::kMessage2, data.message2);

  // Keys 336..339.
  for (std::size_t i = 0; i < data.keys.keys.size(); ++i)
    image.set(mem::kKeys + i, toByte(data.keys.keys[i]));

  // Function settings: the stand-alone values first, then 304..335.
  const FunctionSetup &f = data.function;
  const StandAloneValues &s = data.standAlone;
  image.set(mem::kRrm, toByte(s.rrm));
  image.set(mem::kByte12, toByte(s.byte12));
  image.set(mem::kCurrentChannel, toByte(s.currentChannel));
  image.set(mem::kKeyLock, toByte(s.keyLock));
  image.set(mem::kTot, toByte(f.tot));
  image.set(mem::kTotWarning, toByte(f.totWarning));
  image.set(mem::kVoicePrompt, toByte(f.voicePrompt));
  image.set(mem::kCallResponse, toByte(f.callResponse));
  image.set(mem::kSquelch, toByte(f.squelch));
  image.set(mem::kBatterySave, toByte(f.batterySave));
  image.set(mem::kBeep, toByte(f.beep));
  image.set(mem::kCancelOperation, toByte(f.cancelOperation));
  image.set(mem::kDwChannel, toByte(f.dwChannel));
  image.set(mem::kVoxFunction, toByte(f.voxFunction));
  image.set(mem::kVoxLevel, toByte(f.voxLevel));
  image.set(mem::kVoxDelay, toByte(f.voxDelay));
  image.set(mem::kVoxProceedTone, toByte(f.voxProceedTone));
  image.set(mem::kBacklightMode, toByte(f.backlightMode));
  image.set(mem::kRbSetting, toByte(f.rbSetting));
  image.set(mem::kSquelchTailNoSig, toByte(f.squelchTailNoSig));
  image.set(mem::kScanMode, toByte(f.scanMode));
  image.set(mem::kMicNoiseReduction, toByte(f.micNoiseReduction));
  image.set(mem::kAlertLocked, toByte(s.alertLockedFlag));
  image.set(mem::kChannelLocked, toByte(s.channelLocked));
  image.set(mem::kCtcssTailType, toByte(f.ctcssTailType));
  image.set(mem::kResetAllowed, toByte(f.resetAllowed));
  image.set(mem::kBandExtension, toByte(s.bandExtension));
  image.set(mem::kScanSwitch, toByte(f.scanSwitch));
  image.set(mem::kReserved334, 0);
  image.set(mem::kDcsTailType, toByte(s.dcsTailType));
  image.fill(mem::kReserved340, mem::kReserved340 + mem::kReserved340Length - 1, 0);

  // Scan settings: 320, 322..326, and the eight bank bytes 344..351 as value - 1.
  const auto &w = data.scan.words;
  image.set(mem::kScanPriority, toByte(w[0]));
  image.set(mem::kLookBackA, toByte(w[9]));
  image.set(mem::kLookBackB, toByte(w[10]));
  image.set(mem::kRevertChannel, toByte(w[11]));
  image.set(mem::kDropoutDelay, toByte(w[12]));
  image.set(mem::kTxDwell, toByte(w[13]));
  for (std::size_t h = 1; h <= mem::kScanBankCount; ++h) image.set(mem::kScanBanks + h - 1, toByte(w[h] - 1));
}

void DecodeFeatureSettings(const RadioImage &image, CodeplugData &data) {
  decodeMessage(image, mem::kMessage1, data.message1);
  decodeMessage(image, mem::kMessage2, data.message2);

  for (std::size_t i = 0; i < data.keys.keys.size(); ++i)
    data.keys.keys[i] = keyCode(image.at(mem::kKeys + i));

  FunctionSetup &f = data.function;
  StandAloneValues &s = data.standAlone;
  auto at = [&image](std::size_t a) { return image.at(a); };
  s.rrm = asIs(at(mem::kRrm));
  s.byte12 = asIs(at(mem::kByte12));
  s.currentChannel = asIs(at(mem::kCurrentChannel));
  s.keyLock = asIs(at(mem::kKeyLock));
  f.tot = above(at(mem::kTot), 40, 4);
  f.totWarning = above(at(mem::kTotWarning), 10, 0);
  f.voicePrompt = above(at(mem::kVoicePrompt), 0, 1);
  f.callResponse = above(at(mem::kCallResponse), 4, 0);
  f.squelch = above(at(mem::kSquelch), 9, 4);
  f.batterySave = above(at(mem::kBatterySave), 3, 0);
  f.beep = above(at(mem::kBeep), 1, 1);
  f.cancelOperation = above(at(mem::kCancelOperation), 1, 0);
  f.dwChannel = asIs(at(mem::kDwChannel));
  f.voxFunction = above(at(mem::kVoxFunction), 1, 0);
  f.voxLevel = above(at(mem::kVoxLevel), 9, 4);
  f.voxDelay = above(at(mem::kVoxDelay), 27, 1);
  f.voxProceedTone = above(at(mem::kVoxProceedTone), 1, 0);
  f.backlightMode = asIs(at(mem::kBacklightMode));
  f.rbSetting = asIs(at(mem::kRbSetting));
  f.squelchTailNoSig = asIs(at(mem::kSquelchTailNoSig));
  f.scanMode = asIs(at(mem::kScanMode));
  f.micNoiseReduction = above(at(mem::kMicNoiseReduction), 2, 1);
  // Alert Locked (328) is written only: the radio's byte is not taken back.
  s.channelLocked = above(at(mem::kChannelLocked), 1, 0);
  f.ctcssTailType = above(at(mem::kCtcssTailType), 4, 0);
  f.resetAllowed = above(at(mem::kResetAllowed), 1, 1);
  s.bandExtension = above(at(mem::kBandExtension), 1, 0);
  f.scanSwitch = above(at(mem::kScanSwitch), 1, 1);
  s.dcsTailType = asIs(at(mem::kDcsTailType));

  auto &w = data.scan.words;
  w[0] = above(at(mem::kScanPriority), 2, 0);
  w[9] = asIs(at(mem::kLookBackA));
  w[10] = asIs(at(mem::kLookBackB));
  w[11] = asIs(at(mem::kRevertChannel));
  w[12] = asIs(at(mem::kDropoutDelay));
  w[13] = asIs(at(mem::kTxDwell));
  for (std::size_t h = 1; h <= mem::kScanBankCount; ++h) w[h] = bankWord(at(mem::kScanBanks + h - 1));
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
