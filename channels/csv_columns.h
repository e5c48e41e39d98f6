#pragma once
// The column mapping of a CSV channel list: the cells of one row read as the values of one
// channel of this radio (frequencies on its raster and in its band, its tones, power, spacing
// and scan add), or the reason the row does not fit.

#include <cstdint>
#include <optional>
#include <string>

#include "channels/channel_context.h"
#include "channels/csv_records.h"

namespace n27::csv::detail {

// A frequency in MHz as a count of 10 Hz; nullopt with the reason otherwise.
std::optional<int64_t> parseFrequency(const std::string &cell, const Tr &name, std::string &reason);
// A count of 10 Hz as MHz with six decimals ("446.006250"), and in the grid's form.
std::string mhz6(int64_t units10Hz);
std::string display(int64_t units10Hz);
// A CTCSS tone as the tone text the codec takes ("88.5", "123.4"); nullopt outside
// 50.0..260.0 Hz or off the 0.1 Hz raster.
std::optional<std::string> parseCtcss(const std::string &cell);

// One row that fits the radio, ready to be stored.
struct Planned {
  int line = 0;
  int channel = 0;                 // 0 until placed (append)
  int64_t rx = 0;                  // 10 Hz
  std::optional<int64_t> tx;       // none: no TX frequency
  std::string decode, encode;      // tone texts, "" for none
  std::optional<int> power;        // 0..2
  std::optional<int> spacing;      // 0 narrow, 1 wide
  std::optional<bool> scanAdd;     // none: the list has no Skip column
};

class RowReader {
 public:
  RowReader(const ChannelContext &ctx, const Header &h, const Record &rec) : ctx_(ctx), h_(h), rec_(rec) {}

  // The text of a column in this row ("" when the row or the header lacks it).
  std::string cell(int col) const;
  // The row's values, or the reason it cannot be stored.
  std::optional<Planned> read(std::string &reason) const;

 private:
  bool inBand(int64_t units, int field) const;
  std::string rangeReason(const Tr &t, int64_t units, int field) const;
  bool ctcss(int col, std::string &out, std::string &reason) const;
  bool dcs(int col, char polarity, std::string &out, std::string &reason) const;
  bool readTones(Planned &p, std::string &reason) const;

  const ChannelContext &ctx_;
  const Header &h_;
  const Record &rec_;
};

}  // namespace n27::csv::detail
