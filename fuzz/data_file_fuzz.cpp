// The data file loader fed arbitrary bytes. A file it accepts must load as unmodified, save
// back to what it read, and go through a write and a read of the radio without changing
// again after the first one.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"
#include "fuzz/fuzz_check.h"

using namespace n27;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // Most inputs get the size right so the parser itself is what is fuzzed.
  std::string bytes(reinterpret_cast<const char *>(data), size);
  if (size > 0 && size < 9759 && (data[0] & 1)) bytes.resize(9759, '\0');
  CodeplugData parsed;
  if (!ParseDataFile(bytes, parsed)) return 0;
  FUZZ_CHECK(bytes.size() == 9759);

  // A freshly loaded file is not modified, and saving it keeps every value.
  FUZZ_CHECK(!IsModified(parsed, parsed));
  const std::string saved = SerializeDataFile(parsed);
  FUZZ_CHECK(saved.size() == 9759);
  CodeplugData back;
  FUZZ_CHECK(ParseDataFile(saved, back));
  FUZZ_CHECK(back == parsed);
  FUZZ_CHECK(!IsModified(back, parsed));

  // Write to the radio, read back, write, read: the second read gives the first one's data.
  Workspace ws;
  ws.working = parsed;
  EncodeImage(ws);
  DecodeImage(ws);
  const CodeplugData first = ws.working;
  EncodeImage(ws);
  DecodeImage(ws);
  FUZZ_CHECK(ws.working == first);
  return 0;
}
