// The file-type detection of `diff` and the Compare window fed arbitrary files: a data file
// (often a good one with bytes changed), a radio image, or anything else. Whatever is taken
// differs from itself in nothing, and from itself less one channel in that channel and no
// other.
//
// Input: [flags][offset high][offset low][byte] …; flags bits 0-1: a data file, a 2561-byte
// image, a 2560-byte image, or the rest as the file itself.

#include <cstdint>
#include <string>

#include "channels/channel_ops.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_scratch.h"
#include "fuzz/fuzz_workspace.h"
#include "print/config_diff.h"

using namespace n27;

namespace {

Workspace Example() {
  Workspace ws = fuzz::NewWorkspace({{1, "446.00000"}, {2, "447.00000"}, {40, "470.12500"}});
  EncodeModelRecord(ws);
  ws.image.fill(0, RadioImage::kSize - 1, 0xFF);
  EncodeImage(ws);
  return ws;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  static const Workspace example = Example();
  static const std::string dataFile = SerializeDataFile(example.working);
  static const std::string image(example.image.bytes().begin(), example.image.bytes().end());
  const uint8_t kind = data[0] & 3;
  std::string file = kind == 0 ? dataFile : image;
  if (kind == 2) file.resize(2560);
  if (kind == 3) {
    file.assign(reinterpret_cast<const char *>(data + 1), size - 1);
  } else {
    for (std::size_t at = 1; at + 3 <= size; at += 3)
      file[((std::size_t(data[at]) << 8) | data[at + 1]) % file.size()] = static_cast<char>(data[at + 2]);
  }
  fuzz::ClearScratch();
  const std::string path = fuzz::ScratchPath("a.dat");
  fuzz::WriteScratch(path, file);

  Workspace first, second;
  std::string error;
  bool isImage = false;
  if (!print::LoadComparable(first, path, error, &isImage)) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(isImage == (file.size() != 9759));
  FUZZ_CHECK(print::LoadComparable(second, path, error));
  const auto scope = isImage ? print::CompareScope::RadioMemory : print::CompareScope::Everything;
  FUZZ_CHECK(print::CompareConfigurations(first, second, scope).empty());

  // One channel less: that channel differs and no other (settings that name channels may).
  if (second.working.channelCount == 0) return 0;
  const int position = 1 + data[0] / 4 % second.working.channelCount;
  const int gone = second.working.channels[position - 1].number;
  ChannelContext ctx(second);
  FUZZ_CHECK(DeleteChannel(ctx, position));
  const auto diffs = print::CompareConfigurations(first, second);
  bool named = false;
  for (const print::Difference &d : diffs) {
    FUZZ_CHECK(d.channel == 0 || d.channel == gone);
    named = named || d.channel == gone;
  }
  FUZZ_CHECK(named);
  FUZZ_CHECK(!print::DifferencesText(diffs, "a", "b").empty());
  return 0;
}
