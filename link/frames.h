#pragma once
// The frames that pass between the programmer and the radio, and how a reply is recognised.
//
// The link is a half-duplex request/reply dialogue: the programmer sends one frame and then
// waits for one reply of a known length. Addresses are the RadioImage offsets, big-endian on
// the wire; memory moves in 16-byte blocks.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codeplug/radio_image.h"

namespace n27::link {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kIdentify = 0x02;
inline constexpr uint8_t kRead = 0x52;   // 'R'
inline constexpr uint8_t kWrite = 0x57;  // 'W'
inline constexpr uint8_t kEnd = 0x45;    // 'E'
inline constexpr uint8_t kIdentMark = 0x50;  // 'P', first byte of the identification reply
inline constexpr char kProgram[] = "PROGRAM";

inline constexpr std::size_t kBlockLength = 16;
inline constexpr std::size_t kFrameOverhead = 5;                  // 'W', address, length, checksum
inline constexpr std::size_t kDataFrameLength = kBlockLength + kFrameOverhead;  // 21
inline constexpr std::size_t kFrameDataOffset = 4;  // data bytes follow 'W', address, length
inline constexpr std::size_t kIdentReplyLength = 14;
inline constexpr std::size_t kPasswordBlockAddress = 480;
inline constexpr std::size_t kTuningBlockAddress = 496;

// A frame to send together with the length of the reply it expects.
struct Request {
  Bytes bytes;
  std::size_t replyLength = 0;
};

Request ProgramRequest();
Request IdentificationRequest();
Request Acknowledgement();
Request EndRequest();
// 'R', address high, address low, length; the reply is a data frame of length + 5 bytes.
Request ReadRequest(std::size_t address, std::size_t length = kBlockLength);
// 'W', address, 16, image[address .. address+15] (bytes past the image are sent as FF),
// checksum. The reply is an acknowledgement.
Request DataFrame(const RadioImage &image, std::size_t address);
// A data frame around 16 given data bytes.
Request DataFrame(std::size_t address, const uint8_t *data);

// Sum of the bytes modulo 256.
uint8_t Checksum(const uint8_t *bytes, std::size_t n);

// Frame fields of a received data frame: recognised by its mark, address, length byte and
// total length; the transfer engine verifies its checksum before taking it.
inline bool IsDataFrame(const Bytes &f) { return f.size() >= kFrameOverhead && f[0] == kWrite; }
inline std::size_t FrameAddress(const Bytes &f) { return (std::size_t(f[1]) << 8) | f[2]; }
inline std::size_t FrameLengthByte(const Bytes &f) { return f[3]; }

// Copies 16 data bytes of a data frame into the image at the frame's address; positions past
// the end of the image are skipped, and so are data bytes the frame does not hold.
void StoreDataFrame(RadioImage &image, const Bytes &frame);

// The radio's identification reply (14 bytes, 'P' first).
struct Identification {
  Bytes raw;                 // the 14 bytes as received
  std::string model;         // bytes 1..5, cut at NUL, trailing blanks removed
  int band = 0;              // byte 6
  std::string firmware;      // bytes 8..11 as they are
  bool killed = false;       // byte 12 bit 7
  bool stunned = false;      // byte 12 bit 6
};
bool IsIdentificationReply(const Bytes &reply);
Identification ParseIdentification(const Bytes &reply);
// Copies reply bytes 0..5 to image 416..421 and 7..11 to 423..427; 422 keeps its value.
void MirrorIdentification(RadioImage &image, const Bytes &reply);

}  // namespace n27::link
