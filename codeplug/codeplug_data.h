#pragma once
// CodeplugData: the decoded configuration every editor, the data file and the printout
// work on. Member order is the data file order (see data_file_layout.h).

#include <array>
#include <cstdint>
#include <string>

#include "codeplug/fixed_text.h"

namespace n27 {

inline constexpr int kMaxChannels = 128;
inline constexpr int kMaxDtmfCodes = 16;
inline constexpr int kMaxCarriedEntries = 16;
inline constexpr int kMaxFleetEntries = 8;

// The user-defined scramble frequency (word 44) in Hz. A channel holds 0 until a frequency is
// chosen; the detail dialog and the printout show that 0 as 3400 Hz, and a write sends 3400.
inline constexpr int kScrambleFreqLowest = 1300;
inline constexpr int kScrambleFreqHighest = 4100;
inline constexpr int kScrambleFreqForZero = 3400;

// One slot of the channel table: 46 16-bit words. Word numbers are given beside each member;
// the field codec and the data file address them by those numbers.
struct ChannelRecord {
  uint16_t number = 0;        // word 0: channel number 1..128
  uint16_t inUse = 0;         // word 1: 1 used
  FixedText<8> rx;            // words 2..9: 8 decimal digits, units of 10 Hz; empty = unused
  FixedText<8> tx;            // words 10..17: same, or "FFFFFFFF" for no TX frequency
  uint16_t w18 = 0;           // word 18: 0 when created; not in the image
  uint16_t txOff = 0;         // word 19: transmit-off mark
  FixedText<4> decode;        // words 20..23: decode tone code, 4 hex characters
  FixedText<4> encode;        // words 24..27: encode tone code
  uint16_t spUnmute = 0;      // word 28: 0..2
  uint16_t power = 0;         // word 29: 0 Low, 1 Middle, 2 High
  uint16_t spacing = 0;       // word 30: 0 12.5 kHz, 1 25 kHz
  uint16_t busyLock = 0;      // word 31: 0..3
  uint16_t pttId = 0;         // word 32: 0 Off, 1 BOT, 2 EOT, 3 Both
  uint16_t autodial = 0;      // word 33: 0..7
  uint16_t specialDcs = 0;    // word 34
  uint16_t scanAdd = 0;       // word 35
  uint16_t w36 = 0;           // word 36
  uint16_t reverse = 0;       // word 37
  uint16_t talkaround = 0;    // word 38
  uint16_t optSignal = 0;     // word 39: 0 None, 1 DTMF, 2 FleetSync
  uint16_t relation = 0;      // word 40: 0 And, 1 Or
  uint16_t call1 = 0;         // word 41
  uint16_t call2 = 0;         // word 42
  uint16_t scramble = 0;      // word 43
  uint16_t scrambleFreq = 0;  // word 44: Hz 1300..4100
  uint16_t compander = 0;     // word 45

  // The numeric word k (0, 1, 18, 19, 28..45); nullptr for a text word or out of range.
  uint16_t *word(int k);
  const uint16_t *word(int k) const;

  bool operator==(const ChannelRecord &) const = default;
};

// Function-setup block (31 fields), data file 90 bytes.
struct FunctionSetup {
  int16_t tot = 0;               // 1  index 0..5 (30..180 s)
  int16_t totWarning = 0;        // 2  seconds, 0 off
  int16_t squelch = 0;           // 3
  int16_t micSensitivity = 0;    // 4  not shown, not sent
  int16_t voicePrompt = 0;       // 5
  int16_t batterySave = 0;       // 6
  int16_t beep = 0;              // 7
  int16_t scanSwitch = 0;        // 8
  int16_t scramblerBackup = 0;   // 9  not sent
  int16_t pttIdSignalling = 0;   // 10 not sent
  int16_t pttIdType = 0;         // 11 not sent
  FixedText<16> botCode;         // 12 not sent
  FixedText<16> eotCode;         // 13 not sent
  int16_t voxFunction = 0;       // 14
  int16_t voxLevel = 0;          // 15
  int16_t voxDelay = 0;          // 16
  int16_t cancelOperation = 0;   // 17
  int16_t voxProceedTone = 0;    // 18
  int16_t frequencyShow = 0;     // 19 not sent
  int16_t cloneMode = 0;         // 20 not sent
  int16_t squelchTailNoSig = 0;  // 21
  int16_t ctcssTailType = 0;     // 22
  int16_t callResponse = 0;      // 23
  int16_t compander = 0;         // 24 not sent
  int16_t micNoiseReduction = 0; // 25
  int16_t resetAllowed = 0;      // 26
  int16_t spare = 0;             // 27 never written by an editor
  int16_t dwChannel = 0;         // 28 channel number - 1
  int16_t rbSetting = 0;         // 29
  int16_t scanMode = 0;          // 30
  int16_t backlightMode = 0;     // 31
  bool operator==(const FunctionSetup &) const = default;
};

// Key assignment: function codes of Key1 Press, Key2 Press, Key1 Hold, Key2 Hold.
struct KeyAssignment {
  std::array<int16_t, 4> keys{};
  bool operator==(const KeyAssignment &) const = default;
};

// Scan record: 14 words. 0 priority, 1..8 bank channels (1..16, 255 none), 9 look back A,
// 10 look back B, 11 revert, 12 dropout delay, 13 TX dwell.
struct ScanRecord {
  std::array<int16_t, 14> words{};
  bool operator==(const ScanRecord &) const = default;
};

// DTMF settings, data file 110 bytes.
struct DtmfSettings {
  int16_t speed = 0;             // 1  index 0..9
  int16_t firstDigitTime = 0;    // 2
  int16_t firstDigitDelay = 0;   // 3  0 off, else ms/100
  int16_t starHashTone = 0;      // 4
  int16_t dCode = 0;             // 5
  int16_t sideTone = 0;          // 6
  FixedText<10> selfId;          // 7
  int16_t groupCode = 0;         // 8  255 off, else 10..15
  int16_t autoResetTimer = 0;    // 9
  int16_t callAlert = 0;         // 10
  int16_t decodingResponse = 0;  // 11
  int16_t clearToTranspond = 0;  // 12
  FixedText<10> stunCode;        // 13
  int16_t stunType = 0;          // 14
  int16_t pttId = 0;             // 15
  FixedText<16> botCode;         // 16
  FixedText<16> eotCode;         // 17
  FixedText<16> stunDecode;      // 18
  FixedText<16> killDecode;      // 19
  bool operator==(const DtmfSettings &) const = default;
};

// FleetSync own values (16 bytes in the data file).
struct FleetSyncBlock {
  uint16_t fleetOwn = 0;         // fleet - 99 (1..250), 255 blank
  uint32_t idOwn = 0;            // ID - 999 (1..4000), 0 blank
  uint16_t baudRate = 0;         // index 0..1
  uint32_t modulationDelay = 0;  // ms 0..6000
  uint32_t messageTimer = 0;     // 0 off, else seconds 1..300
  uint16_t sideTone = 0;         // 0/1
  bool operator==(const FleetSyncBlock &) const = default;
};

struct DtmfCodeEntry {
  uint16_t position = 0;         // memory number 1..16
  FixedText<16> code;            // hex-text form: "*" as "E", "#" as "F"
  bool operator==(const DtmfCodeEntry &) const = default;
};

// An entry of the 16-entry list that no editor changes: carried, compared and saved.
struct CarriedEntry {
  uint16_t position = 0;
  FixedText<8> text1;
  FixedText<8> text2;
  uint16_t value1 = 0;
  uint16_t value2 = 0;
  bool operator==(const CarriedEntry &) const = default;
};

struct FleetEntry {
  uint16_t fleet = 255;          // 255 empty, 0 all, else fleet - 99
  uint32_t id = 255;             // 255 empty, 0 all, else ID - 999
  bool operator==(const FleetEntry &) const = default;
};

// The nine trailing 16-bit values: the stand-alone function values. The last three are also
// the three side values kept in the ".NVD" side file.
struct StandAloneValues {
  int16_t rrm = 0;               // image 11
  int16_t byte12 = 0;            // image 12, carried unchanged
  int16_t currentChannel = 0;    // image 13, channel number - 1
  int16_t keyLock = 0;           // image 15
  int16_t channelLocked = 0;     // image 329
  int16_t dcsTailType = 0;       // image 335
  int16_t alertLockedFlag = 0;   // image 328 (written only); 1 = box NOT ticked; side value 1
  int16_t functionLockedFlag = 0;// data file only; 1 = box NOT ticked; side value 2
  int16_t bandExtension = 0;     // image 332; side value 3
  bool operator==(const StandAloneValues &) const = default;
};

struct CodeplugData {
  uint16_t channelCount = 0;
  std::array<ChannelRecord, kMaxChannels> channels{};  // slot k is channels[k-1]
  FixedText<5> modelName;        // NUL-padded
  uint16_t bandCode = 0;
  FunctionSetup function;
  KeyAssignment keys;
  ScanRecord scan;
  DtmfSettings dtmf;
  FleetSyncBlock fleetSync;
  uint16_t fleetSyncExtra = 0;
  uint16_t dtmfCodeCount = 0;
  std::array<DtmfCodeEntry, kMaxDtmfCodes> dtmfCodes{};
  uint16_t carriedCount = 0;
  std::array<CarriedEntry, kMaxCarriedEntries> carried{};
  FixedText<32> message1;
  FixedText<32> message2;
  uint16_t fleetCount = 0;
  std::array<FleetEntry, kMaxFleetEntries> fleets{};
  StandAloneValues standAlone;

  // Slot 1..count; nullptr outside.
  ChannelRecord *slot(int k) { return k >= 1 && k <= channelCount ? &channels[k - 1] : nullptr; }
  const ChannelRecord *slot(int k) const {
    return k >= 1 && k <= channelCount ? &channels[k - 1] : nullptr;
  }
  // Slot number (1..count) of the channel with that number, 0 when there is none.
  int findChannel(int number) const;

  // Every member alike, stale slots and text padding included (IsModified is the user's view).
  bool operator==(const CodeplugData &) const = default;
};

// Radio-information record (not in the data file; lives in the Workspace).
struct RadioInformation {
  uint16_t bandCode = 3;
  std::string serialNumber;      // 16
  std::string productionDate;    // 16
  std::string maintenanceDate;   // 16
  std::string maintenanceReason; // 96
  std::string version;
  std::string radioType;         // 5
  std::string areaCode;          // 4
  std::string manufactureCode;   // 8
  std::string userCode;          // 4
  std::string dealerCode;        // 16
  std::string stockDate;         // 16
  std::string sellDate;          // 16
  std::string seller;            // 16
  bool operator==(const RadioInformation &) const = default;
};

}  // namespace n27
