// The radio image decoder and encoder fed arbitrary memory: what a read gives, written back
// and read again, is what the first read gave (less the trailing blanks of a message line).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "codeplug/image_codec.h"
#include "fuzz/fuzz_check.h"

using namespace n27;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Workspace ws;
  for (std::size_t a = 0; a < RadioImage::kSize && a < size; ++a) ws.image.set(a, data[a]);
  DecodeImage(ws);
  CodeplugData first = ws.working;
  const auto flags = ws.radioInfoFlags;
  // Every channel that was read is a channel a write keeps.
  for (int k = 0; k < first.channelCount; ++k) {
    const std::string rx = first.channels[k].rx.raw();
    FUZZ_CHECK(!rx.empty() && rx != "0" && rx.size() <= 8);
  }

  EncodeImage(ws);
  // A message line loses its trailing blanks on the way to the radio; nothing else changes.
  first.message1.assign(first.message1.text());
  first.message2.assign(first.message2.text());
  Workspace again;
  again.image = ws.image;
  again.working = first;
  again.radioInfoFlags = flags;
  DecodeImage(again);
  FUZZ_CHECK(again.working == first);
  FUZZ_CHECK(again.modelName == ws.modelName && again.bandText == ws.bandText);

  // Encoding the same data again changes nothing more.
  RadioImage once = ws.image;
  EncodeImage(again);
  FUZZ_CHECK(again.image == once);
  return 0;
}
