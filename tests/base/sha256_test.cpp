#include <gtest/gtest.h>

#include "base/sha256.h"

using namespace n27;

// Digests written out by hand from the published test vectors, fed whole and in odd pieces
// (block boundaries at 55, 56, 64 bytes are where padding goes wrong).
TEST(Sha256, PublishedVectors) {
  struct Case { std::string input; const char *digest; };
  const Case cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(Sha256Hex(c.input), c.digest) << c.input.size();
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < c.input.size(); at += step, step = step % 67 + 7)
      pieces.add(std::string_view(c.input).substr(at, step));
    EXPECT_EQ(pieces.finishHex(), c.digest) << c.input.size();
  }
}
