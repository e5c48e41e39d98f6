// ".ted" files fed arbitrary bytes, through the test data window's Load and through a test-mode
// Open of the data file beside them, then typed into the window. A file is taken by both or
// by neither; what is taken the window shows as it stands and the tuning block carries
// unchanged; whatever is typed, the window keeps values its own Load takes back.
//
// Input: [flags][file …][field][length][text …] …; flags bit 0: the file is the next 32 bytes.

#include <cstdint>
#include <string>

#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/tuning_file.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_scratch.h"
#include "fuzz/fuzz_workspace.h"
#include "link/test_data.h"
#include "link/tuning_block.h"

using namespace n27;

namespace {

std::string DataFileBytes() {
  Workspace ws = fuzz::NewWorkspace();
  EncodeModelRecord(ws);
  return SerializeDataFile(ws.working);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  static const std::string dataFile = DataFileBytes();
  std::size_t at = 1;
  std::size_t length = (data[0] & 1) ? kTuningFileSize : (size > 1 ? data[at++] % 64 : 0);
  std::string bytes(reinterpret_cast<const char *>(data + at), std::min(length, size - at));
  if (data[0] & 1) bytes.resize(kTuningFileSize, '\0');
  at += std::min(length, size - at);

  fuzz::ClearScratch();
  const std::string ted = fuzz::ScratchPath("radio.ted"), dat = fuzz::ScratchPath("radio.dat");
  fuzz::WriteScratch(ted, bytes);
  fuzz::WriteScratch(dat, dataFile);

  TuningTable start{};
  start.fill(7);
  link::TestDataForm form(start, {});
  std::string problem;
  const bool loaded = form.load(ted, problem);
  Workspace ws;
  ws.testMode = true;
  ws.tuning = start;
  FileOutcome why;
  const bool opened = LoadDataFile(ws, dat, &why) == FileStatus::Ok;
  FUZZ_CHECK(loaded == opened);
  if (!loaded) {
    FUZZ_CHECK(!problem.empty() && !why.reason().empty());
    FUZZ_CHECK(form.table() == start && ws.tuning == start);
  } else {
    TuningTable table{};
    FUZZ_CHECK(ParseTuningFile(bytes, table) && TuningTableProblem(table).empty());
    FUZZ_CHECK(form.table() == table && ws.tuning == table);
    // Shown as it stands: taking the fields back changes nothing.
    for (int i = 0; i < link::kTestDataFields; ++i)
      FUZZ_CHECK(link::ClampTestDataValue(i, form.text(i)) == table[static_cast<std::size_t>(i)]);
    const TuningTable sent = link::DecodeTuningBlock(link::EncodeTuningBlock(table).bytes);
    for (int i = 0; i < link::kTestDataFields; ++i)
      FUZZ_CHECK(sent[static_cast<std::size_t>(i)] == table[static_cast<std::size_t>(i)]);
  }

  // Typing: whatever the fields show is a table the window's own Load takes back.
  while (at + 2 <= size) {
    const int field = data[at] % (link::kTestDataFields + 1);
    const std::size_t n = std::min<std::size_t>(data[at + 1] % 8, size - at - 2);
    const std::string typed(reinterpret_cast<const char *>(data + at + 2), n);
    at += 2 + n;
    const std::string shown = form.change(field, typed);
    if (field < link::kTestDataFields) FUZZ_CHECK(shown == form.text(field));
  }
  Workspace accepted;
  form.accept(accepted);
  FUZZ_CHECK(TuningTableProblem(accepted.tuning).empty());
  FUZZ_CHECK(form.save(ted, problem));
  link::TestDataForm again(TuningTable{}, {});
  FUZZ_CHECK(again.load(ted, problem) && again.table() == accepted.tuning);
  return 0;
}
