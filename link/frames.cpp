#include "link/frames.h"

#include "codeplug/memory_map.h"

namespace n27::link {

Request ProgramRequest() {
  return {Bytes(kProgram, kProgram + sizeof(kProgram) - 1), 1};
}

Request IdentificationRequest() { return {{kIdentify}, kIdentReplyLength}; }

Request Acknowledgement() { return {{kAck}, 1}; }

Request EndRequest() { return {{kEnd}, 1}; }

Request ReadRequest(std::size_t address, std::size_t length) {
  return {{kRead, static_cast<uint8_t>((address >> 8) & 0xFF), static_cast<uint8_t>(address & 0xFF),
           static_cast<uint8_t>(length)},
          length + kFrameOverhead};
}

uint8_t Checksum(const uint8_t *bytes, std::size_t n) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += bytes[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

Request DataFrame(std::size_t address, const uint8_t *data) {
  Request r;
  r.replyLength = 1;
  r.bytes.resize(kDataFrameLength);
  r.bytes[0] = kWrite;
  r.bytes[1] = static_cast<uint8_t>((address >> 8) & 0xFF);
  r.bytes[2] = static_cast<uint8_t>(address & 0xFF);
  r.bytes[3] = static_cast<uint8_t>(kBlockLength);
  for (std::size_t i = 0; i < kBlockLength; ++i) r.bytes[kFrameDataOffset + i] = data[i];
  r.bytes[kDataFrameLength - 1] = Checksum(r.bytes.data(), kDataFrameLength - 1);
  return r;
}

Request DataFrame(const RadioImage &image, std::size_t address) {
  uint8_t data[kBlockLength];
  for (std::size_t i = 0; i < kBlockLength; ++i)
    data[i] = image.inRange(address + i) ? image.at(address + i) : 0xFF;
  return DataFrame(address, data);
}

void StoreDataFrame(RadioImage &image, const Bytes &frame) {
  if (!IsDataFrame(frame)) return;
  std::size_t address = FrameAddress(frame);
  for (std::size_t i = 0; i < kBlockLength && kFrameDataOffset + i < frame.size(); ++i)
    if (image.inRange(address + i)) image.set(address + i, frame[kFrameDataOffset + i]);
}

bool IsIdentificationReply(const Bytes &reply) {
  return reply.size() == kIdentReplyLength && reply[0] == kIdentMark;
}

Identification ParseIdentification(const Bytes &reply) {
  Identification id;
  if (!IsIdentificationReply(reply)) return id;
  id.raw = reply;
  std::size_t n = 0;
  while (n < 5 && reply[1 + n] != 0) ++n;
  id.model.assign(reply.begin() + 1, reply.begin() + 1 + static_cast<std::ptrdiff_t>(n));
  while (!id.model.empty() && id.model.back() == ' ') id.model.pop_back();
  id.band = reply[6];
  id.firmware.assign(reply.begin() + 8, reply.begin() + 12);
  id.killed = (reply[12] & 0x80) != 0;
  id.stunned = (reply[12] & 0x40) != 0;
  return id;
}

void MirrorIdentification(RadioImage &image, const Bytes &reply) {
  if (!IsIdentificationReply(reply)) return;
  for (std::size_t i = 0; i <= 5; ++i) image.set(mem::kIdentCopy + i, reply[i]);
  for (std::size_t i = 7; i <= 11; ++i) image.set(mem::kIdentCopy + i, reply[i]);
}

}  // namespace n27::link
