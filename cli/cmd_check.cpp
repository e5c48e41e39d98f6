// n27-cli check: the plan of a data file checked before it goes into radios.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/plan_options.h"

#include <iostream>

#include "plan/findings_format.h"

namespace n27::cli {
namespace {

constexpr const char *kCheckUsage =
    "Usage: n27-cli check FILE.dat [--licence LICENCE.csv] [--format text|json] [--chinese]\n"
    "\n"
    "Checks the plan of a data file before it goes into radios: the channels, the scan banks\n"
    "and the customer's licence — the one attached to the file (FILE.licence.csv beside\n"
    "FILE.dat) or the one given. Prints the findings, one a line, or as a JSON array of\n"
    "objects with the keys severity, rule, channel (a number or null) and message.\n"
    "  --licence FILE  check against this licence instead of the attached one\n"
    "  --format FMT    text (default) or json\n"
    "  --chinese       the messages of the Chinese interface\n"
    "Exit status: 0 no error (warnings may be printed), 1 an error, 2 wrong use or a file\n"
    "that cannot be read (the data file or the licence).\n";

int RunCheck(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {kLicenceOption, {{"--format"}, true}, {{"--chinese"}, false}}, kCheckUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) return UsageError("check", "give exactly one data file", kCheckUsage);
  const std::string format = parsed->value("--format", "text");
  if (format != "text" && format != "json") return UsageError("check", "--format is text or json", kCheckUsage);
  if (parsed->has("--chinese")) SetLanguageIndex(kChinese);

  Workspace ws;
  if (!LoadWorkspace("check", parsed->positional.front(), ws)) return 2;
  const plan::AttachedLicence licence = CommandLicence(*parsed, ws);
  // A licence that cannot be used is never taken as no licence: nothing is checked.
  if (licence.attached && !licence.licence) {
    Fail("check", licence.name + ": " + licence.problem);
    return 2;
  }
  plan::RulesGate gate(licence);
  const PlanVerdict verdict = gate.check(ws.working);
  if (format == "json") {
    std::cout << plan::FindingsJson(verdict.findings);
  } else {
    std::cout << plan::FindingsText(verdict.findings);
    std::cerr << plan::FindingsSummary(verdict.findings) << "\n";
  }
  return plan::HasError(verdict.findings) ? 1 : 0;
}

}  // namespace

N27_CLI_COMMAND("check", "the plan of a data file checked, with the customer's licence", RunCheck);

}  // namespace n27::cli
