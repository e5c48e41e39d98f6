// The simulated radio's frame parser fed arbitrary bytes from the line, whole and in pieces.
// How the bytes are cut never changes what the radio answers or stores; it keeps at most
// one unfinished frame; it stores only what a data frame with a right checksum carries,
// never byte 2560; and on a clean line every reply is a whole acknowledgement,
// identification or data frame with its right checksum.
//
// Input: [settings][fault][cut seed][bytes of the line …]

#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "link/frames.h"
#include "sim/simulated_radio.h"

using namespace n27;
using sim::Bytes;

namespace {

sim::SimulatedRadio Radio(uint8_t settings, uint8_t fault) {
  sim::RadioSettings s;
  s.band = settings & 1;
  s.password = settings & 2 ? "k9Z!" : "";
  s.killed = settings & 4;
  sim::Faults f;
  switch (fault % 8) {
    case 1: f.dropReply = 1 + fault / 8; break;
    case 2: f.garbleReply = 1 + fault / 8; break;
    case 3: f.badChecksumReply = 1 + fault / 8; break;
    case 4: f.stopAfterBlocks = 1 + fault / 8; break;
    case 5: f.stuckByte = fault * 10; break;
    case 6: f.randomFaultRate = 0.3, f.randomSeed = fault; break;
    case 7: f.noEndAck = true; break;
    default: break;
  }
  return sim::SimulatedRadio(s, f);
}

// Bytes the radio may change: those of each well-formed data frame it stored.
void CheckStored(const std::array<uint8_t, sim::kMemorySize> &before, const sim::SimulatedRadio &radio,
                 const std::vector<sim::Event> &events) {
  for (std::size_t a = 0; a < sim::kMemorySize; ++a) {
    if (radio.memory()[a] == before[a]) continue;
    FUZZ_CHECK(a < 2560);
    bool written = false;
    for (const sim::Event &e : events) written = written || (e.kind == sim::Event::Write && a >= e.address && a < e.address + 255);
    FUZZ_CHECK(written);
  }
}

bool WellFormed(const Bytes &r) {
  if (r.size() == 1) return r[0] == link::kAck;
  if (r.size() == link::kIdentReplyLength && r[0] == link::kIdentMark) return true;
  return r.size() >= 6 && r[0] == link::kWrite && r[3] + link::kFrameOverhead == r.size() &&
         r.back() == link::Checksum(r.data(), r.size() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 3) return 0;
  const uint8_t settings = data[0], fault = data[1];
  uint32_t seed = data[2];
  const uint8_t *line = data + 3;
  const std::size_t n = size - 3;

  sim::SimulatedRadio whole = Radio(settings, fault), pieces = Radio(settings, fault);
  auto before = whole.memory();
  const std::vector<Bytes> all = whole.receive(line, n);
  CheckStored(before, whole, whole.takeEvents());
  if (fault % 8 == 0)
    for (const Bytes &r : all) FUZZ_CHECK(WellFormed(r));

  std::vector<Bytes> got;
  for (std::size_t at = 0; at < n;) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t cut = std::min<std::size_t>(n - at, 1 + (seed >> 16) % 24);
    before = pieces.memory();
    for (Bytes &r : pieces.receive(line + at, cut)) got.push_back(std::move(r));
    CheckStored(before, pieces, pieces.takeEvents());
    at += cut;
  }
  FUZZ_CHECK(got == all);
  FUZZ_CHECK(pieces.memory() == whole.memory());
  FUZZ_CHECK(pieces.inProgramMode() == whole.inProgramMode());
  FUZZ_CHECK(pieces.unfinishedBytes() == whole.unfinishedBytes());
  FUZZ_CHECK(whole.unfinishedBytes() < 255 + link::kFrameOverhead);
  return 0;
}
