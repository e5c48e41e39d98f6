// The INDEX=HEX arguments of `n27-cli tuning` fed arbitrary text, each applied to the test
// data window as the command does. An argument is taken as a field of 0..13 and hexadecimal
// digits the field holds, or refused with a reason; what is taken ends as a value the field
// shows and a ".ted" file may hold.
//
// Input: arguments separated by NUL bytes.

#include <cstdint>
#include <string>

#include "codeplug/tuning_file.h"
#include "fuzz/fuzz_check.h"
#include "link/test_data.h"

using namespace n27;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string all(reinterpret_cast<const char *>(data), size);
  link::TestDataForm form(TuningTable{}, {TuningSource::File, "radio.ted", false});
  std::size_t start = 0;
  for (int args = 0; args < 32 && start <= all.size(); ++args) {
    std::size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    const std::string arg = all.substr(start, end - start);
    start = end + 1;
    int index = -1;
    std::string text, error;
    if (!link::ParseTuningSetting(arg, index, text, error)) {
      FUZZ_CHECK(!error.empty());
      continue;
    }
    FUZZ_CHECK(index >= 0 && index < link::kTestDataFields && error.empty());
    FUZZ_CHECK(!text.empty() && static_cast<int>(text.size()) <= link::TestDataMaxLength(index));
    FUZZ_CHECK(text.find_first_not_of("0123456789ABCDEF") == std::string::npos);
    const std::string shown = form.change(index, text);
    const int16_t value = link::ClampTestDataValue(index, shown);
    FUZZ_CHECK(value == link::ClampTestDataValue(index, text) && link::TestDataHex(value) == shown);
    FUZZ_CHECK(value >= 0 && value <= (link::IsTwoByteEntry(index) ? link::kTwoByteEntryMax : 0xFF));
    FUZZ_CHECK(form.origin().edited || value == 0);
  }
  Workspace ws;
  form.accept(ws);
  FUZZ_CHECK(TuningTableProblem(ws.tuning).empty());
  return 0;
}
