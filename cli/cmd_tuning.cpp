// n27-cli tuning: shows or sets the factory tuning values kept beside a data file (".ted").

#include <filesystem>
#include <iostream>

#include "cli/cli_command.h"
#include "base/file_io.h"
#include "cli/cli_util.h"
#include "codeplug/tuning_file.h"
#include "link/test_data.h"

namespace n27::cli {
namespace {

constexpr const char *kTuningUsage =
    "Usage: n27-cli tuning FILE.dat [INDEX=HEX ...]\n"
    "\n"
    "Shows or sets the factory tuning values kept beside a data file in FILE.ted, the file\n"
    "the test mode saves with every data file. Prints the 16 entries, one per line, as\n"
    "INDEX=HEX. With INDEX=HEX arguments (index 0 to 13; 1 to 3 hexadecimal digits, entry 8\n"
    "up to 4) the entries are set as the test data window sets them: values from 100 hex\n"
    "become FF, entries 3 and 8 keep up to 400; then FILE.ted is saved. A missing FILE.ted\n"
    "starts from zeros when entries are set.\n";

void printTable(const TuningTable &table) {
  for (std::size_t i = 0; i < table.size(); ++i)
    std::cout << i << "=" << link::TestDataHex(table[i]) << "\n";
}

int RunTuning(const std::vector<std::string> &args) {
  int rc = 0;
  auto parsed = ParseCommand(args, {}, kTuningUsage, rc);
  if (!parsed) return rc;
  if (parsed->positional.empty()) return UsageError("tuning", "give a data file", kTuningUsage);
  const std::string dataFile = parsed->positional.front();
  const std::string ted = TuningFilePath(SaveTarget(dataFile));  // beside a link's target
  if (ted.empty())
    return UsageError("tuning", "\"" + dataFile + "\" is too short a name to have a .ted file", kTuningUsage);

  // Every setting is checked before anything is read or written.
  struct Setting {
    int index;
    std::string text;
  };
  std::vector<Setting> settings;
  for (std::size_t k = 1; k < parsed->positional.size(); ++k) {
    Setting s{};
    std::string error;
    if (!link::ParseTuningSetting(parsed->positional[k], s.index, s.text, error))
      return UsageError("tuning", error, kTuningUsage);
    settings.push_back(s);
  }

  TuningTable table{};
  std::string problem = TuningFileReadProblem(ted);
  bool exists = problem.empty();
  if (exists && !ReadTuningFile(ted, table)) {
    exists = false;
    problem = "cannot be read";
  }
  if (!exists) {
    // Only a file that is not there at all may be started afresh.
    std::error_code ec;
    const bool absent = !std::filesystem::exists(std::filesystem::symlink_status(ted, ec));
    if (settings.empty() || !absent) return Fail("tuning", ted + ": " + link::FileErrorWithReason(problem));
  }

  // Values the test data window would not take: shown as they stand, set as it sets them.
  if (std::string bad = TuningTableProblem(table); exists && !bad.empty())
    std::cerr << "n27-cli tuning: " << ted << ": " << bad
              << (settings.empty() ? "; a data file with this .ted is refused in the test mode\n"
                                   : "; saved as the test data window takes it\n");
  if (settings.empty()) {
    printTable(table);
    return 0;
  }
  link::TestDataForm form(table, {TuningSource::File, ted, false});
  for (const Setting &s : settings) {
    std::string shown = form.change(s.index, s.text);
    if (std::stoul(s.text, nullptr, 16) != static_cast<uint16_t>(link::ClampTestDataValue(s.index, shown)))
      std::cerr << "n27-cli tuning: entry " << s.index << ": " << s.text << " becomes " << shown << "\n";
  }
  if (!form.save(ted, problem)) return Fail("tuning", ted + ": " + problem);
  printTable(form.table());
  return 0;
}

}  // namespace
N27_CLI_COMMAND("tuning", "show or set the tuning values of a data file's .ted", RunTuning);
}  // namespace n27::cli
