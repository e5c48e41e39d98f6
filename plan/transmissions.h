#pragma once
// What a configuration makes the radio transmit, and which licence line each transmission
// falls under: the base of the licence rules and of the printed licence check.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/codeplug_data.h"
#include "plan/licence.h"

namespace n27::plan {

// A licence line that ends within this many days draws a warning.
inline constexpr int kExpiryWarningDays = 30;

// How a channel comes to transmit on a frequency.
enum class TransmitKind {
  Tx,          // its TX frequency
  Reverse,     // its RX frequency, with reverse on
  Talkaround,  // its RX frequency, with talkaround on
};

struct Transmission {
  int channel = 0;
  TransmitKind kind = TransmitKind::Tx;
  int64_t frequencyHz = 0;
  int64_t bandwidthHz = 0;  // of the channel spacing
  int powerLevel = 0;       // 0 Low, 1 Middle, 2 High
  double watts = 0;         // the level's nominal output
};

// The nominal output of a power level in watts (Low 1.0, Middle 2.5, High 5.0; a damaged
// level above High counts as High).
double NominalWatts(int powerLevel);
// The bandwidth of a channel spacing value (0 12.5 kHz, anything else 25 kHz).
int64_t SpacingHz(int spacing);

// A stored frequency text ("46212500", units of 10 Hz) in Hz; nothing for "", "FFFFFFFF" or a
// text that is not eight digits.
std::optional<int64_t> StoredFrequencyHz(const std::string &stored);

// Every transmission of the channels in use, by channel number: the TX frequency, then the RX
// frequency when reverse or talkaround lets the channel transmit there (once, and only when it
// differs from TX). A channel without a TX frequency does not transmit. A TX text that cannot
// be read gives no transmission (the band rule names it).
std::vector<Transmission> Transmissions(const CodeplugData &config);

// A transmission held against one licence line.
struct LineCheck {
  const LicenceLine *line = nullptr;  // nullptr: no line holds the frequency
  bool receiveOnly = false;           // the line is for receiving only
  bool overBandwidth = false;
  bool overPower = false;
  bool expired = false;
  bool expiresSoon = false;           // within kExpiryWarningDays of `today`
  // Weighed: a line that allows transmitting at all counts before one for receiving only.
  int problems() const { return 4 * receiveOnly + overBandwidth + overPower + expired; }
};

// The line that suits a transmission best: of the lines at its frequency, the one with the
// fewest problems (then not expiring soon, then first in the file).
LineCheck BestLine(const Licence &licence, const Transmission &t, const Date &today);

}  // namespace n27::plan
