#include "sim/simulated_radio.h"

#include <algorithm>
#include <cstring>

#include "codeplug/memory_map.h"
#include "link/frames.h"

namespace n27::sim {

namespace {

constexpr std::size_t kProgramLength = sizeof(link::kProgram) - 1;
// The radio answers reads of up to this many bytes; longer requests are ignored.
constexpr std::size_t kMaxReadLength = 64;
// A session longer than this (a programmer that never sends the program request again) keeps
// only its first addresses: the lists stay bounded however long the radio runs.
constexpr std::size_t kMaxLoggedAddresses = 4096;

void putText(std::array<uint8_t, kMemorySize> &m, std::size_t at, std::size_t width,
             const std::string &text, uint8_t pad) {
  for (std::size_t i = 0; i < width; ++i)
    m[at + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : pad;
}

}  // namespace

const char *EventName(Event::Kind kind) {
  switch (kind) {
    case Event::Program: return "program";
    case Event::Read: return "read";
    case Event::Write: return "write";
    case Event::End: return "end";
    case Event::Drop: return "fault drop";
    case Event::Garble: return "fault garble";
    case Event::BadChecksum: return "fault checksum";
    case Event::Stop: return "fault stop";
  }
  return "";
}

SimulatedRadio::SimulatedRadio(RadioSettings settings, Faults faults)
    : settings_(std::move(settings)), faults_(faults), random_(faults.randomSeed) {
  memory_.fill(0xFF);
  applyIdentification();
  applyPassword();
  fillFactoryInformation();
}

Bytes SimulatedRadio::identificationReply() const {
  Bytes r(link::kIdentReplyLength, 0);
  r[0] = link::kIdentMark;
  for (std::size_t i = 0; i < 5 && i < settings_.model.size(); ++i)
    r[1 + i] = static_cast<uint8_t>(settings_.model[i]);
  r[6] = static_cast<uint8_t>(settings_.band);
  r[7] = 0x01;
  for (std::size_t i = 0; i < 4; ++i)
    r[8 + i] = i < settings_.firmware.size() ? static_cast<uint8_t>(settings_.firmware[i]) : ' ';
  r[12] = static_cast<uint8_t>((settings_.killed ? 0x80 : 0) | (settings_.stunned ? 0x40 : 0));
  r[13] = 0x00;
  return r;
}

void SimulatedRadio::applyIdentification() {
  Bytes id = identificationReply();
  for (std::size_t i = 0; i < 12; ++i) memory_[mem::kIdentCopy + i] = id[i];
}

void SimulatedRadio::applyPassword() { putText(memory_, mem::kPassword, 4, settings_.password, 0xFF); }

void SimulatedRadio::applySerial() {
  putText(memory_, mem::kSerialNumber, mem::kSerialNumberLength, settings_.serial, 0xFF);
}

void SimulatedRadio::fillFactoryInformation() {
  memory_[mem::kRadioInfoFlags] = 0x00;
  putText(memory_, mem::kRadioType, 5, settings_.model, 0xFF);
  memory_[mem::kRadioBand] = static_cast<uint8_t>(settings_.band);
  putText(memory_, mem::kAreaCode, 4, "0086", 0xFF);
  applySerial();
  putText(memory_, mem::kProductionDate, 16, "2024-03-18", 0xFF);
  putText(memory_, mem::kManufactureCode, 8, "B2403A", 0xFF);
  putText(memory_, mem::kUserCode, 4, "001A", 0xFF);
}

void SimulatedRadio::resetFraming() { pending_.clear(); }

std::vector<Event> SimulatedRadio::takeEvents() {
  std::vector<Event> out;
  out.swap(events_);
  return out;
}

void SimulatedRadio::log(Event::Kind kind, std::size_t address) {
  if (events_.size() < kMaxLoggedAddresses) events_.push_back({kind, address});
  if (kind >= Event::Drop) ++faults_injected_;
}

bool SimulatedRadio::takeCompletedWrite() {
  bool done = completedWrite_;
  completedWrite_ = false;
  return done;
}

std::vector<Bytes> SimulatedRadio::receive(const uint8_t *data, std::size_t n) {
  std::vector<Bytes> replies;
  pending_.insert(pending_.end(), data, data + n);
  while (!pending_.empty() && takeFrame(replies)) {
  }
  return replies;
}

void SimulatedRadio::reply(std::vector<Bytes> &replies, Bytes bytes, bool dataFrame) {
  if (silent_) return;
  ++replies_;
  if (replies_ == faults_.dropReply) return log(Event::Drop);
  if (dataFrame && replies_ == faults_.badChecksumReply) {
    bytes.back() ^= 0x5A;
    log(Event::BadChecksum);
  }
  if (replies_ == faults_.garbleReply) {
    for (auto &b : bytes) b = static_cast<uint8_t>(~b);
    log(Event::Garble);
  }
  if (faults_.randomFaultRate > 0 &&
      std::uniform_real_distribution<double>(0, 1)(random_) < faults_.randomFaultRate) {
    switch (random_() % 4) {
      case 0: return log(Event::Drop);
      case 1:
        for (auto &b : bytes) b = static_cast<uint8_t>(~b);
        log(Event::Garble);
        break;
      case 2:
        if (dataFrame) {  // one bit of one data byte flipped on the line
          bytes[4 + random_() % (bytes.size() - 5)] ^= static_cast<uint8_t>(1u << (random_() % 8));
          log(Event::BadChecksum);
        } else {
          log(Event::Drop);
          return;
        }
        break;
      default:
        silent_ = true;  // until the next program request
        return log(Event::Stop);
    }
  }
  replies.push_back(std::move(bytes));
}

Bytes SimulatedRadio::readReply(std::size_t address, std::size_t length) const {
  Bytes r = {link::kWrite, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF),
             static_cast<uint8_t>(length)};
  for (std::size_t i = 0; i < length; ++i)
    r.push_back(address + i < mem::kTransferEnd ? memory_[address + i] : 0xFF);
  r.push_back(link::Checksum(r.data(), r.size()));
  return r;
}

bool SimulatedRadio::takeFrame(std::vector<Bytes> &replies) {
  auto drop = [this](std::size_t k) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(k));
  };
  const uint8_t first = pending_[0];

  // "PROGRAM" starts (or restarts) programming mode in any state.
  if (first == link::kProgram[0]) {
    std::size_t have = std::min(pending_.size(), kProgramLength);
    if (std::memcmp(pending_.data(), link::kProgram, have) != 0) {
      drop(1);
      return true;
    }
    if (have < kProgramLength) return false;
    drop(kProgramLength);
    ++programRequests_;
    programMode_ = true;
    wroteInSession_ = false;
    written_.clear();
    read_.clear();
    log(Event::Program);
    // A radio that fell silent on a noisy line listens again; a numbered stop stays.
    if (faults_.randomFaultRate > 0 && !(faults_.stopAfterBlocks && blocks_ >= faults_.stopAfterBlocks))
      silent_ = false;
    reply(replies, {link::kAck});
    return true;
  }
  if (!programMode_) {
    drop(1);
    return true;
  }
  switch (first) {
    case link::kIdentify:
      drop(1);
      reply(replies, identificationReply());
      return true;
    case link::kAck:
      drop(1);
      reply(replies, {link::kAck});
      return true;
    case link::kEnd:
      drop(1);
      programMode_ = false;
      log(Event::End);
      if (wroteInSession_) {
        completedWrite_ = true;
        if (onCompletedWrite) onCompletedWrite();
      }
      wroteInSession_ = false;
      if (!faults_.noEndAck) reply(replies, {link::kAck});
      return true;
    case link::kRead: {
      if (pending_.size() < 4) return false;
      std::size_t address = (std::size_t(pending_[1]) << 8) | pending_[2], length = pending_[3];
      drop(4);
      if (length == 0 || length > kMaxReadLength) return true;
      if (faults_.stopAfterBlocks && blocks_ >= faults_.stopAfterBlocks) silent_ = true;
      if (read_.size() < kMaxLoggedAddresses) read_.push_back(address);
      log(Event::Read, address);
      ++blocks_;
      reply(replies, readReply(address, length), true);
      return true;
    }
    case link::kWrite: {
      if (pending_.size() < 4) return false;
      std::size_t total = std::size_t(pending_[3]) + link::kFrameOverhead;
      if (pending_.size() < total) return false;
      Bytes frame(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(total));
      drop(total);
      if (link::Checksum(frame.data(), total - 1) != frame[total - 1]) return true;
      if (faults_.stopAfterBlocks && blocks_ >= faults_.stopAfterBlocks) silent_ = true;
      std::size_t address = link::FrameAddress(frame);
      for (std::size_t i = 0; i < frame[3]; ++i) {
        const std::size_t at = address + i;
        if (at < mem::kTransferEnd && static_cast<long>(at) != faults_.stuckByte)
          memory_[at] = frame[link::kFrameDataOffset + i];
      }
      if (written_.size() < kMaxLoggedAddresses) written_.push_back(address);
      log(Event::Write, address);
      wroteInSession_ = true;
      ++blocks_;
      reply(replies, {link::kAck});
      return true;
    }
    default:
      drop(1);
      return true;
  }
}

}  // namespace n27::sim
