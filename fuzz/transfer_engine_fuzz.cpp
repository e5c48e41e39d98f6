// libFuzzer harness: the transfer engine fed arbitrary reply streams through its host
// interface.
//
// The input describes a radio (its memory, band, firmware, password, how it reckons checksums)
// and then, reply by reply, what the line does to the radio's answer: pass it, split it, drop
// it, flip bits in one byte, answer with another block of the radio, or send arbitrary bytes;
// plus the user's answers to the questions and an occasional lost line. When the input runs
// out the line is clean, so most runs reach the end of the transfer.
//
// The line of this harness damages replies the way a noisy cable does: it never turns a reply
// into a frame with a right checksum and other data than the radio's, and never damages the
// same block twice in the same way (a radio that sends the same bytes twice means them). Under
// those rules the engine must never report success with data other than the radio's.
//
// Asserted: the transfer ends exactly once; a successful read holds the radio's memory (the
// tuning block never enters the image), a successful write has every block the engine sends
// in the radio as it is in the image, a successful radio-information read holds the radio's
// information area; progress stays within 0..99 until the end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "codeplug/memory_map.h"
#include "codeplug/workspace.h"
#include "fuzz/fuzz_input.h"
#include "link/frames.h"
#include "link/transfer_engine.h"
#include "link/version_table.h"

namespace {

using n27::fuzz::Input;
using n27::link::Bytes;
namespace link = n27::link;
namespace mem = n27::mem;

[[noreturn]] void fail(const char *what) {
  std::fprintf(stderr, "transfer_engine_fuzz: %s\n", what);
  std::abort();
}

// The radio: its memory, identity and checksum rule; it answers every request correctly.
struct Radio {
  std::vector<uint8_t> memory = std::vector<uint8_t>(mem::kTransferEnd);
  std::vector<uint8_t> original;
  int band = 0;
  std::string firmware = "V101";
  uint8_t checksumOffset = 0;  // 0: the usual sum; otherwise sum + offset

  Bytes frame(std::size_t address, std::size_t length) const {
    Bytes f = {link::kWrite, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
               static_cast<uint8_t>(length)};
    for (std::size_t i = 0; i < length; ++i)
      f.push_back(address + i < memory.size() ? memory[address + i] : 0xFF);
    f.push_back(static_cast<uint8_t>(link::Checksum(f.data(), f.size()) + checksumOffset));
    return f;
  }
  Bytes identification() const {
    Bytes r = {link::kIdentMark, 'N', '2', '7', 'P', 'R', static_cast<uint8_t>(band), 1};
    for (char c : firmware) r.push_back(static_cast<uint8_t>(c));
    r.push_back(0);
    r.push_back(0);
    return r;
  }
  // The reply to a request; empty when there is none.
  Bytes answer(const Bytes &request) {
    if (request.empty()) return {};
    switch (request[0]) {
      case 'P': case link::kAck: case link::kEnd: return {link::kAck};
      case link::kIdentify: return identification();
      case link::kRead:
        if (request.size() != 4) return {};
        return frame((std::size_t(request[1]) << 8) | request[2], request[3]);
      case link::kWrite: {
        if (request.size() != link::kDataFrameLength) fail("a data frame of the wrong length");
        if (request[20] != link::Checksum(request.data(), 20)) fail("a data frame with a wrong checksum");
        std::size_t address = link::FrameAddress(request);
        for (std::size_t i = 0; i < 16; ++i)
          if (address + i < memory.size()) memory[address + i] = request[4 + i];
        return {link::kAck};
      }
      default: return {};
    }
  }
};

struct Host : n27::TransferHost {
  Input &in;
  std::deque<Bytes> requests;
  Bytes shadow;  // the bytes the engine holds towards its next reply
  bool timer = false;
  int ends = 0, closes = 0, retries = 0;
  bool success = false;
  std::string password;

  explicit Host(Input &i) : in(i) {}
  void sendBytes(const std::vector<uint8_t> &bytes) override {
    if (ends) fail("a frame sent after the end");
    requests.push_back(bytes);
    shadow.clear();
  }
  void startReplyTimer() override { timer = true; }
  void stopReplyTimer() override { timer = false; }
  void closePort() override { ++closes; }
  bool askRetry(const std::string &) override { return ++retries <= 4 && (in.byte() & 1); }
  void askPassword(std::string &entered) override {
    if (in.byte() & 1) entered = password;
  }
  bool askSwitchRelease(const std::string &) override { return in.byte() & 1; }
  void showMessage(const std::string &, n27::MessageIcon) override {}
  void progress(int percent) override {
    if (ends) fail("progress after the end");
    if (percent < 0 || percent > 99) fail("progress outside 0..99");
  }
  void note(const std::string &) override {}
  void finished(bool ok) override {
    if (++ends > 1) fail("the transfer ended twice");
    success = ok;
  }
  void switchRelease(const std::string &) override {}
};

struct Fuzz {
  Input in;
  Radio radio;
  n27::Workspace ws;
  n27::VersionTable versions;
  Host host{in};
  n27::TransferEngine engine{ws, versions, host};
  std::set<Bytes> damaged;  // damaged frames already delivered

  Fuzz(const uint8_t *data, std::size_t size) : in{data, size} {}

  // Would the engine take this reply as data the radio never sent? `other` tells whether it is
  // a data frame with data other than the radio's.
  bool misleading(const Bytes &slice, bool &other) const {
    other = false;
    if (slice.size() != link::kDataFrameLength || slice[0] != link::kWrite) return false;
    const std::size_t address = link::FrameAddress(slice);
    bool same = true;
    for (std::size_t i = 0; i < 16; ++i) {
      uint8_t truth = address + i < radio.memory.size() ? radio.memory[address + i] : 0xFF;
      same = same && slice[4 + i] == truth;
    }
    if (same) return false;
    other = true;
    const bool rightChecksum = slice[3] == 16 && slice[20] == link::Checksum(slice.data(), 20);
    return rightChecksum || slice[3] == 17 || damaged.count(slice) > 0;
  }

  // Hands bytes to the engine as the line would, unless they would mislead it (then they are
  // lost on the line instead).
  void deliver(const Bytes &chunk) {
    if (chunk.empty()) return;
    if (engine.awaitingReply()) {
      Bytes joined = host.shadow;
      joined.insert(joined.end(), chunk.begin(), chunk.end());
      const std::size_t threshold = engine.expectedReplyLength();
      if (joined.size() >= threshold) {
        Bytes slice(joined.begin(), joined.begin() + static_cast<std::ptrdiff_t>(threshold));
        bool other = false;
        if (misleading(slice, other)) return;
        if (other) damaged.insert(slice);
        host.shadow.clear();
      } else {
        host.shadow = joined;
      }
    }
    engine.onBytesReceived(chunk);
  }

  void answer(const Bytes &request) {
    Bytes reply = radio.answer(request);
    const uint8_t action = in.more() ? in.byte() : 0;
    switch (action % 16) {
      case 8: {  // in two pieces
        std::size_t cut = reply.empty() ? 0 : in.byte() % reply.size();
        deliver(Bytes(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(cut)));
        deliver(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(cut), reply.end()));
        break;
      }
      case 9: break;  // lost
      case 10: {      // bits flipped in one byte
        if (reply.empty()) break;
        uint8_t at = in.byte(), mask = in.byte();
        reply[at % reply.size()] ^= mask ? mask : 1;
        deliver(reply);
        break;
      }
      case 11: {  // another block of the radio
        std::size_t address = ((std::size_t(in.byte()) << 8) | in.byte()) % mem::kTransferEnd;
        deliver(radio.frame(address & ~std::size_t(15), 16));
        break;
      }
      case 12: {  // arbitrary bytes
        Bytes noise(in.byte() % 32);
        for (auto &b : noise) b = in.byte();
        deliver(noise);
        break;
      }
      case 13:  // the reply twice
        deliver(reply);
        deliver(reply);
        break;
      case 14:  // the line is lost
        engine.abort("lost");
        break;
      default: deliver(reply); break;
    }
  }

  void run() {
    const uint8_t setup = in.byte();
    const auto type = static_cast<n27::TransferType>(1 + setup % 3);
    radio.band = (setup >> 2) & 1 ? 1 : 0;
    if ((setup >> 3) & 1) radio.firmware = (setup >> 4) & 1 ? "V102" : "V999";
    if ((setup >> 5) & 1) radio.checksumOffset = static_cast<uint8_t>(1 + in.byte() % 255);
    ws.testMode = (setup >> 6) & 1;
    uint32_t seed = in.byte() | (uint32_t(in.byte()) << 8);
    for (auto &b : radio.memory) {
      seed = seed * 1103515245u + 12345u;
      b = static_cast<uint8_t>(seed >> 16);
    }
    // The password: none, or four characters the engine may or may not know.
    if ((setup >> 7) & 1) {
      const char pw[] = "k9Z!";
      for (int i = 0; i < 4; ++i) radio.memory[mem::kPassword + i] = static_cast<uint8_t>(pw[i]);
      host.password = pw;
      if (in.byte() & 1) ws.password = pw;
    } else {
      for (int i = 0; i < 4; ++i) radio.memory[mem::kPassword + i] = 0xFF;
    }
    radio.original = radio.memory;
    ws.modelName = "N27PR";
    ws.bandText = "400 - 490 MHz";
    ws.dataVersion = "V200";
    versions.addPair("V200V101");
    versions.addPair("V300V102");
    for (std::size_t a = 0; a < n27::RadioImage::kSize; ++a)
      ws.image.set(a, static_cast<uint8_t>(a * 31 + 7));
    if (type != n27::TransferType::Write) ws.image.fill(0, mem::kFillEnd, 0xFF);
    const n27::RadioImage before = ws.image;

    if (!engine.start(type)) fail("the transfer did not start");
    for (int steps = 0; engine.running() && steps < 20000; ++steps) {
      if (!host.requests.empty()) {
        Bytes request = host.requests.front();
        host.requests.pop_front();
        answer(request);
        continue;
      }
      if (!host.timer) fail("the engine waits without a frame sent or a timer running");
      engine.onReplyTimeout();
    }
    if (engine.running()) fail("the transfer never ended");
    // Frames already on the line still reach the radio.
    for (const Bytes &request : host.requests) radio.answer(request);
    if (host.ends != 1) fail("the transfer did not end exactly once");
    if (host.closes != 1) fail("the port was not closed once");
    if (!host.success) return;

    const auto &image = ws.image;
    if (image.at(2560) != before.at(2560)) fail("image byte 2560 changed");
    switch (type) {
      case n27::TransferType::Read:
        for (std::size_t a = 0; a < mem::kTransferEnd; ++a) {
          const bool tuning = a >= 496 && a < 512;
          if (tuning ? image.at(a) != 0xFF : image.at(a) != radio.memory[a])
            fail("a read reported success with data the radio does not hold");
        }
        break;
      case n27::TransferType::Write:
        for (std::size_t a = 0; a < mem::kTransferEnd; ++a) {
          const bool sent = a < mem::kWriteSkipFrom || a >= mem::kWriteSkipTo;
          if (sent && radio.memory[a] != image.at(a))
            fail("a write reported success with a block the radio does not hold");
          if (!sent && !(ws.testMode && a >= 496) && radio.memory[a] != radio.original[a])
            fail("a write changed the radio's own blocks");
        }
        break;
      default:
        for (std::size_t a = mem::kRadioInfo; a < mem::kTuningBlock; ++a)
          if (image.at(a) != radio.memory[a])
            fail("a radio-information read reported success with other data");
        break;
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
  Fuzz fuzz(data, size);
  fuzz.run();
  return 0;
}
