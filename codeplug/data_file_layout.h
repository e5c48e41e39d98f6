#pragma once
// The ".dat" data file: one record of 9759 bytes, the fields of CodeplugData in order,
// 16-bit values little-endian, texts one byte per character. No header, no checksum.

#include <cstddef>

namespace n27::datafile {

inline constexpr std::size_t kFileSize = 9759;

inline constexpr std::size_t kChannelCount = 0;        // 2
inline constexpr std::size_t kChannelSlots = 2;        // 128 x 68
inline constexpr std::size_t kSlotSize = 68;
inline constexpr std::size_t kModelName = 8706;        // 5, NUL-padded
inline constexpr std::size_t kBandCode = 8711;         // 2
inline constexpr std::size_t kFunction = 8713;         // 90
inline constexpr std::size_t kFunctionBotCode = 8735;  // 16
inline constexpr std::size_t kFunctionEotCode = 8751;  // 16
// The function-setup block: fields 1..11 as 16-bit values, the two code texts, fields 14..31.
inline constexpr std::size_t kFunctionWordsA = 8713;   // 11 x 2
inline constexpr std::size_t kFunctionWordsB = 8767;   // 18 x 2
inline constexpr std::size_t kKeys = 8803;             // 4 x 2
inline constexpr std::size_t kScan = 8811;             // 14 x 2
inline constexpr std::size_t kDtmf = 8839;             // 110
// The DTMF block, field by field in record order.
inline constexpr std::size_t kDtmfWordsA = 8839;       // fields 1..6, 6 x 2
inline constexpr std::size_t kDtmfSelfId = 8851;       // 10
inline constexpr std::size_t kDtmfWordsB = 8861;       // fields 8..12, 5 x 2
inline constexpr std::size_t kDtmfStunCode = 8871;     // 10
inline constexpr std::size_t kDtmfWordsC = 8881;       // fields 14..15, 2 x 2
inline constexpr std::size_t kDtmfBotCode = 8885;      // 16
inline constexpr std::size_t kDtmfEotCode = 8901;      // 16
inline constexpr std::size_t kDtmfStunDecode = 8917;   // 16
inline constexpr std::size_t kDtmfKillDecode = 8933;   // 16
inline constexpr std::size_t kFleetSync = 8949;        // 16
inline constexpr std::size_t kFleetSyncExtra = 8965;   // 2
inline constexpr std::size_t kDtmfCodeCount = 8967;    // 2
inline constexpr std::size_t kDtmfCodes = 8969;        // 16 x 18
inline constexpr std::size_t kDtmfCodeSize = 18;
inline constexpr std::size_t kCarriedCount = 9257;     // 2
inline constexpr std::size_t kCarried = 9259;          // 16 x 22
inline constexpr std::size_t kCarriedSize = 22;
inline constexpr std::size_t kMessage1 = 9611;         // 32
inline constexpr std::size_t kMessage2 = 9643;         // 32
inline constexpr std::size_t kFleetCount = 9675;       // 2
inline constexpr std::size_t kFleets = 9677;           // 8 x 8
inline constexpr std::size_t kFleetSize = 8;
inline constexpr std::size_t kStandAlone = 9741;       // 9 x 2

// Inside an 18-byte DTMF code entry: position u16, 16 characters.
inline constexpr std::size_t kDtmfCodePosition = 0;
inline constexpr std::size_t kDtmfCodeText = 2;

// Inside a 22-byte entry of the carried list: position u16, two 8-character texts, two u16.
inline constexpr std::size_t kCarriedPosition = 0;
inline constexpr std::size_t kCarriedText1 = 2;
inline constexpr std::size_t kCarriedText2 = 10;
inline constexpr std::size_t kCarriedValue1 = 18;
inline constexpr std::size_t kCarriedValue2 = 20;

// Inside a 68-byte channel slot
inline constexpr std::size_t kSlotNumber = 0;
inline constexpr std::size_t kSlotInUse = 2;
inline constexpr std::size_t kSlotRx = 4;              // 8
inline constexpr std::size_t kSlotTx = 12;             // 8
inline constexpr std::size_t kSlotWord18 = 20;
inline constexpr std::size_t kSlotWord19 = 22;
inline constexpr std::size_t kSlotDecode = 24;         // 4
inline constexpr std::size_t kSlotEncode = 28;         // 4
inline constexpr std::size_t kSlotWord28 = 32;         // words 28..45, 2 bytes each

// Inside the 16-byte FleetSync block: fleet u16, ID u32, baud u16, modulation delay u32,
// message timer u16, side tone u16 (the message timer's range 0..300 fits 16 bits).
inline constexpr std::size_t kFsFleetOwn = 0;
inline constexpr std::size_t kFsIdOwn = 2;
inline constexpr std::size_t kFsBaudRate = 6;
inline constexpr std::size_t kFsModulationDelay = 8;
inline constexpr std::size_t kFsMessageTimer = 12;
inline constexpr std::size_t kFsSideTone = 14;

// Inside an 8-byte fleet list entry: fleet u16, 2 reserved bytes (0), ID u32.
inline constexpr std::size_t kFleetEntryFleet = 0;
inline constexpr std::size_t kFleetEntryId = 4;

// The ".NVD" side file: three 16-bit values.
inline constexpr std::size_t kSideFileSize = 6;

}  // namespace n27::datafile
