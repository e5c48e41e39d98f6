#include "link/tuning_block.h"

#include "base/file_io.h"

#include <fstream>

#include "base/paths.h"

namespace n27::link {

namespace {

// Entries 0..13 and the number of bytes each takes in the block.
constexpr int kEntryWidth[14] = {1, 1, 1, 2, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1};

// The factory access code. A workstation switches to test and tuning mode when the file
// "TestData.ini" beside the program begins with exactly these 32 characters (only the first
// 128 bytes are read; anything after a NUL, trailing blanks and a line end are ignored). Keep it off dealer machines: in this mode a
// write also sends the tuning block and a read shows the radio's tuning values.
constexpr char kTestModeMarker[] = "N27-FACTORY-TUNE:7Q2K-WX93-HB6M!";
static_assert(sizeof(kTestModeMarker) - 1 == 32);

}  // namespace

TuningTable DecodeTuningBlock(const Bytes &frame) {
  TuningTable t{};
  std::size_t pos = 4;  // first data byte
  const std::size_t end = frame.size() >= 4 + kBlockLength ? 4 + kBlockLength : frame.size();
  for (int e = 0; e < 14; ++e) {
    if (kEntryWidth[e] == 2) {
      if (pos + 1 >= end) break;
      uint8_t high = frame[pos], low = frame[pos + 1];
      t[static_cast<std::size_t>(e)] =
          static_cast<int16_t>((high & 0x80) ? low : (high << 8) | low);
      pos += 2;
    } else {
      if (pos >= end) break;
      t[static_cast<std::size_t>(e)] = frame[pos];
      pos += 1;
    }
  }
  return t;
}

Request EncodeTuningBlock(const TuningTable &table) {
  uint8_t data[kBlockLength];
  std::size_t pos = 0;
  for (int e = 0; e < 14; ++e) {
    auto v = static_cast<uint16_t>(table[static_cast<std::size_t>(e)]);
    if (kEntryWidth[e] == 2) data[pos++] = static_cast<uint8_t>(v >> 8);
    data[pos++] = static_cast<uint8_t>(v & 0xFF);
  }
  return DataFrame(kTuningBlockAddress, data);
}

bool IsTestModeMarker(const std::string &fileStart) {
  std::string s = fileStart.substr(0, 128);
  s = s.substr(0, s.find('\0'));
  // Trailing blanks do not count, nor the line end an editor adds.
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.pop_back();
  return s == kTestModeMarker;
}

bool LoadTestModeFlag(const std::string &programFolder) {
  // Only a regular file of a sensible size: a pipe or a device there must not stop start-up.
  auto bytes = ReadWholeFile(JoinPath(programFolder, "TestData.ini"), 64 * 1024).bytes;
  return bytes && IsTestModeMarker(*bytes);
}

bool TestModeOn(const std::string &programFolder) {
  return LoadTestModeFlag(programFolder) || LoadTestModeFlag(ConfigDir());
}

}  // namespace n27::link
