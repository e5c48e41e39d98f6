#pragma once
// A simulated N27: answers the programming protocol from its own memory, exactly as the radio
// does, with faults that can be switched on to exercise the programmer's recovery.
//
// The radio listens for "PROGRAM" and acknowledges it; in programming mode it answers the
// identification request (02) with its 14-byte identification, an acknowledgement (06) with
// an acknowledgement, a read request ('R' address length) with a data frame from its memory,
// a data frame ('W' …) with an acknowledgement after storing it (a frame with a wrong checksum
// is not acknowledged), and the end request ('E') with an acknowledgement, leaving
// programming mode. Bytes that fit no frame are skipped.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace n27::sim {

using Bytes = std::vector<uint8_t>;

inline constexpr std::size_t kMemorySize = 2561;

struct RadioSettings {
  std::string model = "N27PR";  // up to 5 characters, NUL-padded in the reply
  int band = 0;                 // 0 400-490 MHz, 1 136-174 MHz
  std::string firmware = "V101";
  std::string password;         // up to 4 characters; empty: none
  bool killed = false;
  bool stunned = false;
  std::string serial = "N27SIM0000000001";  // up to 16 characters, at 448..463
};

// Reply numbers count every reply the radio would send, from 1; 0 switches a fault off.
struct Faults {
  int dropReply = 0;        // this reply is not sent
  int garbleReply = 0;      // this reply is sent with every byte inverted
  int badChecksumReply = 0; // this reply, when it is a data frame, carries a wrong checksum
  int stopAfterBlocks = 0;  // after answering this many block reads/writes the radio is silent
  bool noEndAck = false;    // the end request is never answered
  // A memory cell that no longer takes a new value: a data frame over this address is
  // acknowledged, but the byte keeps what it held (-1 = none). A verify after the write finds it.
  int stuckByte = -1;
  // A noisy line: each reply meets a fault with this chance (0 = never): dropped, garbled,
  // one data byte flipped (data frames), or the radio falls silent until the next program
  // request. Drawn from a generator seeded with randomSeed.
  double randomFaultRate = 0;
  unsigned randomSeed = 1;
};

// What the radio did, in order, for a trace: program request, block read, block written,
// end request, and the faults put on the line.
struct Event {
  enum Kind { Program, Read, Write, End, Drop, Garble, BadChecksum, Stop } kind;
  std::size_t address = 0;
};
const char *EventName(Event::Kind kind);

class SimulatedRadio {
 public:
  explicit SimulatedRadio(RadioSettings settings = {}, Faults faults = {});

  std::array<uint8_t, kMemorySize> &memory() { return memory_; }
  const std::array<uint8_t, kMemorySize> &memory() const { return memory_; }
  // The radio's copy of its identification at 416..427.
  void applyIdentification();
  // The programming password at 492..495 (FF where there is no character).
  void applyPassword();
  // Fills the radio-information area (432..491) with plausible factory values.
  void fillFactoryInformation();
  // The serial number at 448..463 (FF where there is no character).
  void applySerial();

  // Bytes from the line; the complete replies they call for, in order.
  std::vector<Bytes> receive(const uint8_t *data, std::size_t n);
  std::vector<Bytes> receive(const Bytes &b) { return receive(b.data(), b.size()); }
  // The line was quiet for a while: a frame left unfinished is dropped.
  void resetFraming();
  bool hasUnfinishedFrame() const { return !pending_.empty(); }
  std::size_t unfinishedBytes() const { return pending_.size(); }

  // True once after an end request that closed a session with at least one stored frame.
  bool takeCompletedWrite();
  // Called when such an end request arrives, before its acknowledgement is sent: a saved copy
  // of the memory is complete by the time the programmer learns the write is done.
  std::function<void()> onCompletedWrite;
  // The events since the last call (the list is emptied: it never grows with the run).
  std::vector<Event> takeEvents();

  bool inProgramMode() const { return programMode_; }
  const RadioSettings &settings() const { return settings_; }
  // Addresses of the data frames stored since the last program request, in order.
  const std::vector<std::size_t> &writtenAddresses() const { return written_; }
  // Addresses read since the last program request, in order.
  const std::vector<std::size_t> &readAddresses() const { return read_; }
  int programRequests() const { return programRequests_; }
  // Faults put on the line so far (random and numbered).
  long faultsInjected() const { return faults_injected_; }

  Bytes identificationReply() const;

 private:
  // Tries to take one frame from the front of pending_; false when more bytes are needed.
  bool takeFrame(std::vector<Bytes> &replies);
  void reply(std::vector<Bytes> &replies, Bytes bytes, bool dataFrame = false);
  Bytes readReply(std::size_t address, std::size_t length) const;

  RadioSettings settings_;
  Faults faults_;
  std::array<uint8_t, kMemorySize> memory_{};
  Bytes pending_;
  bool programMode_ = false;
  bool wroteInSession_ = false;
  bool completedWrite_ = false;
  bool silent_ = false;
  int replies_ = 0;
  int blocks_ = 0;
  int programRequests_ = 0;
  std::vector<std::size_t> written_;
  std::vector<std::size_t> read_;
  std::vector<Event> events_;
  std::mt19937 random_;
  long faults_injected_ = 0;
  void log(Event::Kind kind, std::size_t address = 0);
};

}  // namespace n27::sim
