#pragma once
// The radio's memory map: every offset of the RadioImage, in the decimal addresses the
// radio itself uses. The image index is the radio address.

#include <cstddef>

namespace n27::mem {

inline constexpr std::size_t kImageSize = 2561;      // addresses 0..2560
inline constexpr std::size_t kTransferEnd = 2560;    // 2560 is never transferred
inline constexpr std::size_t kBlockLength = 16;

// 0..10 kept
inline constexpr std::size_t kRrm = 11;              // function setting (RRM switch)
inline constexpr std::size_t kByte12 = 12;           // carried unchanged, no editor
inline constexpr std::size_t kCurrentChannel = 13;   // channel number - 1
// 14 kept
inline constexpr std::size_t kKeyLock = 15;
// 16..271 kept
inline constexpr std::size_t kValidBitmap = 272;     // 16 bytes, bit (n-1)%8 of 272+(n-1)/8
inline constexpr std::size_t kScanAddBitmap = 288;   // 16 bytes, same bit layout
inline constexpr std::size_t kBitmapLength = 16;
inline constexpr std::size_t kEncodeClearFrom = 272;  // EncodeImage clears 272..399
inline constexpr std::size_t kEncodeClearTo = 399;

// Function settings, one byte each
inline constexpr std::size_t kTot = 304;
inline constexpr std::size_t kTotWarning = 305;
inline constexpr std::size_t kVoicePrompt = 306;
inline constexpr std::size_t kCallResponse = 307;
inline constexpr std::size_t kSquelch = 308;
inline constexpr std::size_t kBatterySave = 309;
inline constexpr std::size_t kBeep = 310;
inline constexpr std::size_t kCancelOperation = 311;
inline constexpr std::size_t kDwChannel = 312;
inline constexpr std::size_t kVoxFunction = 313;
inline constexpr std::size_t kVoxLevel = 314;
inline constexpr std::size_t kVoxDelay = 315;
inline constexpr std::size_t kVoxProceedTone = 316;
inline constexpr std::size_t kBacklightMode = 317;
inline constexpr std::size_t kRbSetting = 318;
inline constexpr std::size_t kSquelchTailNoSig = 319;
inline constexpr std::size_t kScanPriority = 320;    // scan record word 0
inline constexpr std::size_t kScanMode = 321;
inline constexpr std::size_t kLookBackA = 322;       // scan words 9..13 at 322..326
inline constexpr std::size_t kLookBackB = 323;
inline constexpr std::size_t kRevertChannel = 324;
inline constexpr std::size_t kDropoutDelay = 325;
inline constexpr std::size_t kTxDwell = 326;
inline constexpr std::size_t kMicNoiseReduction = 327;
inline constexpr std::size_t kAlertLocked = 328;     // written only
inline constexpr std::size_t kChannelLocked = 329;
inline constexpr std::size_t kCtcssTailType = 330;
inline constexpr std::size_t kResetAllowed = 331;
inline constexpr std::size_t kBandExtension = 332;
inline constexpr std::size_t kScanSwitch = 333;
inline constexpr std::size_t kReserved334 = 334;     // written as 0
inline constexpr std::size_t kDcsTailType = 335;
inline constexpr std::size_t kKeys = 336;            // 4 bytes, one per key
inline constexpr std::size_t kReserved340 = 340;     // 4 bytes, written as 0
inline constexpr std::size_t kScanBanks = 344;       // 8 bytes, value - 1
inline constexpr std::size_t kMessage1 = 352;        // 32 bytes ANSI, 0xFF tail
inline constexpr std::size_t kMessage2 = 384;
inline constexpr std::size_t kMessageLength = 32;
inline constexpr std::size_t kIdentCopy = 416;       // 12 bytes: identification reply 0..11
inline constexpr std::size_t kModelName = 417;       // 5 bytes
inline constexpr std::size_t kModelNameLength = 5;
inline constexpr std::size_t kBandCode = 422;
inline constexpr std::size_t kIdentTail = 423;       // reply bytes 7..11 at 423..427
// 428..431 kept
inline constexpr std::size_t kRadioInfo = 432;       // 432..495 read by the radio-information read
inline constexpr std::size_t kRadioInfoFlags = 432;  // bits 0..2
inline constexpr std::size_t kRadioType = 433;       // 5 bytes
inline constexpr std::size_t kRadioBand = 438;       // 1 byte
inline constexpr std::size_t kAreaCode = 440;        // 4 bytes
inline constexpr std::size_t kSerialNumber = 448;    // 16 bytes
inline constexpr std::size_t kProductionDate = 464;  // 16 bytes
inline constexpr std::size_t kManufactureCode = 480; // 8 bytes
inline constexpr std::size_t kUserCode = 488;        // 4 bytes
inline constexpr std::size_t kPasswordBlock = 480;   // 16 bytes
inline constexpr std::size_t kPassword = 492;        // 4 bytes
inline constexpr std::size_t kTuningBlock = 496;     // 16 bytes
inline constexpr std::size_t kWriteSkipFrom = 432;   // a write never sends 432..511
inline constexpr std::size_t kWriteSkipTo = 512;
inline constexpr std::size_t kChannels = 512;        // 128 records of 16 bytes
inline constexpr std::size_t kChannelRecordLength = 16;
inline constexpr std::size_t kFillEnd = 2112;        // a transfer fills 0..2112 with FF first

// Inside one 16-byte channel record
inline constexpr std::size_t kChRx = 0;              // 4 bytes, Hz, big-endian
inline constexpr std::size_t kChTx = 4;              // 4 bytes, Hz, big-endian
inline constexpr std::size_t kChDecode = 8;          // 2 bytes, high first
inline constexpr std::size_t kChEncode = 10;         // 2 bytes
inline constexpr std::size_t kChFlags = 12;          // compander/spacing/talkaround/reverse/power/sDCS/BCL
inline constexpr std::size_t kChScramble = 13;       // low nibble 0..10
inline constexpr std::size_t kChScrambleFreq = 14;   // 2 bytes, low first

// Lengths of the feature fields (radio-information texts, reserved bytes, keys, banks)
inline constexpr std::size_t kRadioTypeLength = 5;
inline constexpr std::size_t kAreaCodeLength = 4;
inline constexpr std::size_t kSerialNumberLength = 16;
inline constexpr std::size_t kProductionDateLength = 16;
inline constexpr std::size_t kManufactureCodeLength = 8;
inline constexpr std::size_t kUserCodeLength = 4;
inline constexpr std::size_t kReserved340Length = 4;
inline constexpr std::size_t kKeyCount = 4;
inline constexpr std::size_t kScanBankCount = 8;

constexpr std::size_t ChannelRecordAddress(int channel) {
  return kChannels + static_cast<std::size_t>(channel - 1) * kChannelRecordLength;
}

}  // namespace n27::mem
