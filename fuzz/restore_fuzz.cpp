// The checks of a raw image before a restore writes it, fed arbitrary images (most of them a
// good image with bytes changed). A refused image leaves the workspace as it was and says
// why; an accepted one is taken byte for byte, names this radio model and a known band, and
// holds channels a write keeps.
//
// Input: [flags][offset high][offset low][byte] …; flags bit 1: the rest is the image itself.

#include <cstdint>
#include <string>

#include "channels/channel_ops.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_scratch.h"
#include "fuzz/fuzz_workspace.h"
#include "link/restore.h"

using namespace n27;

namespace {

std::string GoodImage() {
  Workspace ws = fuzz::NewWorkspace({{1, "446.00000"}, {9, "470.12500"}});
  ws.image.fill(0, RadioImage::kSize - 1, 0xFF);
  EncodeImage(ws);
  const auto &b = ws.image.bytes();
  return std::string(b.begin(), b.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  static const std::string good = GoodImage();
  const uint8_t flags = data[0];
  std::string image;
  if (flags & 2) {
    image.assign(reinterpret_cast<const char *>(data + 1), size - 1);
  } else {
    image = good;
    if (flags & 1) image.resize(2560);
    for (std::size_t at = 1; at + 3 <= size; at += 3) {
      std::size_t offset = (std::size_t(data[at]) << 8) | data[at + 1];
      // Most changes land on the model record and the first channels.
      offset = (flags & 4) ? offset % image.size() : 400 + offset % 40;
      image[offset] = static_cast<char>(data[at + 2]);
    }
  }
  fuzz::ClearScratch();
  const std::string path = fuzz::ScratchPath("backup.img");
  fuzz::WriteScratch(path, image);

  Workspace ws;
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ws.testMode = flags & 8;
  ws.image.fill(0, RadioImage::kSize - 1, 0x5A);
  const Workspace before = ws;
  const auto refused = PrepareRestore(ws, path);
  if (refused) {
    FUZZ_CHECK(!refused->empty());
    FUZZ_CHECK(ws.image == before.image && ws.working == before.working);
    FUZZ_CHECK(ws.modelName == before.modelName && ws.bandText == before.bandText);
    return 0;
  }
  FUZZ_CHECK(!ws.testMode && (image.size() == 2560 || image.size() == 2561));
  for (std::size_t a = 0; a < RadioImage::kSize; ++a)
    FUZZ_CHECK(ws.image.at(a) == (a < image.size() ? static_cast<uint8_t>(image[a]) : 0xFF));
  FUZZ_CHECK(ws.modelName == kModelCode);
  FUZZ_CHECK(ws.bandText == kBand400 || ws.bandText == kBand136);
  Workspace read;
  read.image = ws.image;
  read.bandText = ws.bandText;
  SetBandLimits(read);
  DecodeImage(read);
  FUZZ_CHECK(read.working.channelCount > 0);
  return 0;
}
