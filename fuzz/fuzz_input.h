#pragma once
// How a harness reads its input: byte by byte and in counted pieces, with zeros (and empty
// pieces) once the input runs out, so every input is a whole case.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace n27::fuzz {

struct Input {
  const uint8_t *p;
  std::size_t n, i = 0;
  bool more() const { return i < n; }
  uint8_t byte() { return i < n ? p[i++] : 0; }
  std::string bytes(std::size_t count) {
    count = std::min(count, n - i);
    std::string s(reinterpret_cast<const char *>(p + i), count);
    i += count;
    return s;
  }
};

}  // namespace n27::fuzz
