#pragma once
// SHA-256 (FIPS 180-4) of bytes in memory, in plain C++: the radio history names what was
// programmed into a radio by this hash.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace n27 {

class Sha256 {
 public:
  Sha256();
  void add(const uint8_t *data, std::size_t size);
  void add(std::string_view bytes) { add(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()); }
  // The digest of everything added; the object must not be used afterwards.
  std::array<uint8_t, 32> finish();
  // The digest as 64 lower-case hexadecimal digits.
  std::string finishHex();

 private:
  void block(const uint8_t *p);
  std::array<uint32_t, 8> h_;
  std::array<uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes added
};

// The hexadecimal digest of `bytes` in one call.
std::string Sha256Hex(std::string_view bytes);

}  // namespace n27
