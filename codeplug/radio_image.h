#pragma once
// RadioImage: the radio's memory mirrored byte for byte, index = radio address 0..2560.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "codeplug/memory_map.h"

namespace n27 {

class RadioImage {
 public:
  static constexpr std::size_t kSize = mem::kImageSize;

  RadioImage() { bytes_.fill(0); }

  // Bounds-checked access; an address outside 0..2560 throws std::out_of_range.
  uint8_t at(std::size_t address) const { return bytes_.at(address); }
  uint8_t &at(std::size_t address) { return bytes_.at(address); }
  void set(std::size_t address, uint8_t value) { bytes_.at(address) = value; }
  // Fill [from, to] inclusive; clipped to the image.
  void fill(std::size_t from, std::size_t to, uint8_t value) {
    for (std::size_t a = from; a <= to && a < kSize; ++a) bytes_[a] = value;
  }
  bool inRange(std::size_t address) const { return address < kSize; }

  const std::array<uint8_t, kSize> &bytes() const { return bytes_; }
  std::array<uint8_t, kSize> &bytes() { return bytes_; }

  bool operator==(const RadioImage &) const = default;

 private:
  std::array<uint8_t, kSize> bytes_;
};

}  // namespace n27
