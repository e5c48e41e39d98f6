// n27-cli report: the printed report of a data file as text.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/plan_options.h"

#include <iostream>
#include <sstream>

#include "channels/channel_context.h"
#include "print/licence_report.h"
#include "print/report.h"

namespace n27::cli {
namespace {

constexpr const char *kReportUsage =
    "Usage: n27-cli report FILE.dat [--items LIST] [--licence LICENCE.csv] [--chinese]\n"
    "\n"
    "Prints what File > Print puts on paper, page by page.\n"
    "  --items LIST  comma-separated parts to print (default: all but licence):\n"
    "                channel, function, key, scan, dtmf, message, local, licence\n"
    "                (licence: the plan checked against the customer's licence)\n"
    "  --licence FILE  the licence of the licence check instead of the attached one\n"
    "  --chinese     the texts of the Chinese interface\n";

// Command-line names of the print items, in printing order.
constexpr const char *kItemNames[print::kPrintItemCount] = {"channel", "function", "key",  "scan",
                                                            "dtmf",    "message",  "local"};

bool parseItems(const std::string &list, print::PrintSelection &selection, bool &licence, std::string &bad) {
  selection.fill(false);
  std::stringstream in(list);
  std::string name;
  while (std::getline(in, name, ',')) {
    if (name.empty()) continue;
    bool found = name == "licence";
    licence = licence || found;
    for (int i = 0; i < print::kPrintItemCount; ++i)
      if (name == kItemNames[i]) selection[i] = found = true;
    if (!found) {
      bad = name;
      return false;
    }
  }
  return true;
}

int RunReport(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"--items"}, true}, kLicenceOption, {{"--chinese"}, false}}, kReportUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) return UsageError("report", "give exactly one data file", kReportUsage);

  print::PrintSelection selection;
  selection.fill(true);
  bool licenceCheck = false;
  if (parsed->has("--items")) {
    std::string bad;
    if (!parseItems(parsed->value("--items"), selection, licenceCheck, bad))
      return UsageError("report", "unknown item \"" + bad + "\"", kReportUsage);
    bool any = licenceCheck;
    for (bool on : selection) any = any || on;
    if (!any) return UsageError("report", print::kSelectItems.at(kEnglish), kReportUsage);
  }
  if (parsed->has("--chinese")) SetLanguageIndex(kChinese);

  Workspace ws;
  if (!LoadWorkspace("report", parsed->positional.front(), ws)) return 1;
  ChannelContext ctx(ws);
  print::Report report = print::BuildReport(ctx, selection);
  if (licenceCheck)
    for (auto &page : print::LicenceCheckPages(ctx, CommandLicence(*parsed, ws), plan::Today()))
      report.pages.push_back(std::move(page));
  std::cout << print::ReportText(report);
  return 0;
}

}  // namespace

N27_CLI_COMMAND("report", "the printed report of a data file, as text", RunReport);

}  // namespace n27::cli
