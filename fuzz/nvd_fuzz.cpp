// A data file opened with an arbitrary ".NVD" side file beside it (and arbitrary bytes patched
// into the data file). A side file of exactly six bytes gives the three side values, any other
// leaves those of the data file; whatever they hold, the feature windows show them, and the
// pair saved and opened again is the configuration that was opened.
//
// Input: [flags][side file length][side file …][offset high][offset low][byte] …

#include <cstdint>
#include <sstream>
#include <string>

#include "base/bytes.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/data_file_layout.h"
#include "codeplug/image_codec.h"
#include "features/feature_areas.h"
#include "features/setting_text.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_scratch.h"
#include "fuzz/fuzz_workspace.h"

using namespace n27;
namespace df = n27::datafile;

namespace {

std::string DataFileBytes(bool band136) {
  Workspace ws = fuzz::NewWorkspace({}, band136 ? "136 - 174 MHz" : "400 - 490 MHz");
  EncodeModelRecord(ws);
  return SerializeDataFile(ws.working);
}

std::array<int16_t, 3> Side(const CodeplugData &d) {
  return {d.standAlone.alertLockedFlag, d.standAlone.functionLockedFlag, d.standAlone.bandExtension};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  static const std::string base[2] = {DataFileBytes(false), DataFileBytes(true)};
  const uint8_t flags = data[0];
  std::size_t at = 2;
  const std::size_t sideLength = std::min<std::size_t>(data[1] % 16, size - at);
  const std::string side(reinterpret_cast<const char *>(data + at), sideLength);
  at += sideLength;
  std::string file = base[flags & 1];
  for (; at + 3 <= size; at += 3) {
    // Most patches land among the side values at the end of the file.
    std::size_t offset = (std::size_t(data[at]) << 8 | data[at + 1]);
    offset = (flags & 2) ? offset % df::kFileSize : df::kFileSize - 1 - offset % 18;
    file[offset] = static_cast<char>(data[at + 2]);
  }

  fuzz::ClearScratch();
  const std::string dat = fuzz::ScratchPath("radio.dat");
  fuzz::WriteScratch(dat, file);
  if (!(flags & 4)) fuzz::WriteScratch(fuzz::ScratchPath("radio.NVD"), side);
  Workspace ws;
  ws.loadDefaultFile = false;
  if (LoadDataFile(ws, dat) != FileStatus::Ok) return 0;

  CodeplugData plain;
  FUZZ_CHECK(ParseDataFile(file, plain));
  std::array<int16_t, 3> want = Side(plain);
  if (!(flags & 4) && side.size() == df::kSideFileSize)
    for (std::size_t i = 0; i < 3; ++i)
      want[i] = static_cast<int16_t>(get16le(reinterpret_cast<const uint8_t *>(side.data()) + 2 * i));
  FUZZ_CHECK(Side(ws.working) == want);
  FUZZ_CHECK(!IsModified(ws.working, ws.saved));

  std::ostringstream shown;
  for (const char *area : {"function", "key"})  // the windows that show the side values
    features::WriteAreaText(*features::FindArea(area), ws, shown);
  FUZZ_CHECK(!shown.str().empty());

  CodeplugData opened = ws.working;
  if (opened.bandCode > 1) opened.bandCode = 0;  // "Unknown Band" is saved as band 0, as written
  const std::string copy = fuzz::ScratchPath("copy.dat");
  FUZZ_CHECK(SaveDataFile(ws, copy) == FileStatus::Ok);
  Workspace back;
  back.loadDefaultFile = false;
  FUZZ_CHECK(LoadDataFile(back, copy) == FileStatus::Ok);
  FUZZ_CHECK(back.working == opened && Side(back.working) == want);
  return 0;
}
