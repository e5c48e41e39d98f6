#include "codeplug/bands.h"

#include <charconv>

namespace n27 {

std::string ModelDisplayName(const std::string &code) { return code == kModelCode ? "N27" : code; }

std::string BandText(int code) {
  switch (code) {
    case 0: return kBand400;
    case 1: return kBand136;
    default: return kUnknownBand;
  }
}

int BandCode(const std::string &text) { return text == kBand136 ? 1 : 0; }

namespace {
// The number written in `length` characters from `from` (0-based); leading blanks are skipped
// and the number ends at the first character that is not a digit ("Unk" gives 0).
double NumberAt(const std::string &text, std::size_t from, std::size_t length) {
  if (from >= text.size()) return 0.0;
  std::string part = text.substr(from, length);
  std::size_t i = 0;
  while (i < part.size() && part[i] == ' ') ++i;
  int value = 0;
  auto [end, ec] = std::from_chars(part.data() + i, part.data() + part.size(), value);
  (void)end;
  return ec == std::errc() ? static_cast<double>(value) : 0.0;
}
}  // namespace

void SetBandLimits(Workspace &ws) {
  ws.lowerLimit = NumberAt(ws.bandText, 0, 3);
  ws.upperLimit = NumberAt(ws.bandText, 6, 3);
}

void DecodeModelRecord(Workspace &ws) {
  ws.modelName = ws.working.modelName.raw();
  ws.bandText = BandText(ws.working.bandCode);
  SetBandLimits(ws);
}

void EncodeModelRecord(Workspace &ws) {
  ws.working.modelName.assignNulPadded(ws.modelName);
  ws.working.bandCode = static_cast<uint16_t>(BandCode(ws.bandText));
}

}  // namespace n27
