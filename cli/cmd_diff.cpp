// n27-cli diff: the differences between two configurations (data files, radio images or the
// radio connected).

#include <iostream>

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/radio_link.h"
#include "codeplug/configuration.h"
#include "link/transfer_session.h"
#include "print/config_diff.h"

namespace n27::cli {
namespace {

const std::string kDiffUsage = std::string(
    "Usage: n27-cli diff A B [--chinese]\n"
    "       n27-cli diff A --port PORT [--password PW] [--retries N] [--chinese]\n"
    "\n"
    "Lists what differs between two configurations, channel by channel and field by field,\n"
    "and setting by setting, by the captions the program's windows show. A and B are data\n"
    "files (.dat, 9759 bytes) or raw radio images (2560 or 2561 bytes); with --port the\n"
    "radio connected there is read and compared with A. When one side is a radio or an\n"
    "image, only what the radio's memory holds is compared (values that only a data file\n"
    "keeps, such as DTMF and FleetSync, are no difference then).\n"
    "Exit code: 0 equal, 1 different, 2 error or wrong use.\n"
    "  --chinese          the captions of the Chinese interface\n") + kLinkOptionsUsage;

int RunDiff(const std::vector<std::string> &args) {
  auto optionDefs = LinkOptionDefs();
  optionDefs.push_back({{"--chinese"}, false});
  int rc = 0;
  auto parsed = ParseCommand(args, optionDefs, kDiffUsage.c_str(), rc);
  if (!parsed) return rc;
  if (parsed->has("--chinese")) SetLanguageIndex(kChinese);
  const bool radio = parsed->has("--port");
  const std::size_t wanted = radio ? 1 : 2;
  if (parsed->positional.size() != wanted)
    return UsageError("diff", radio ? "give one configuration to compare with the radio" : "give two configurations",
                      kDiffUsage.c_str());

  Workspace first, second;
  std::string error;
  PrepareWorkspace(first);
  bool firstImage = false, secondImage = radio;
  if (!print::LoadComparable(first, parsed->positional[0], error, &firstImage)) return Fail("diff", error), 2;
  std::string secondName;
  if (radio) {
    LinkOptions link;
    if (!ReadLinkOptions(*parsed, link, error)) return UsageError("diff", error, kDiffUsage.c_str());
    PrepareLinkWorkspace(second, link);
    NewConfiguration(second);
    PrepareRead(second);
    link::Identification id;
    if (!RunTransfer("diff", second, TransferType::Read, link, &id)) return 2;
    CompleteRead(second, id);
    secondName = "radio (" + link.port + ")";
  } else {
    PrepareWorkspace(second);
    if (!print::LoadComparable(second, parsed->positional[1], error, &secondImage)) return Fail("diff", error), 2;
    secondName = parsed->positional[1];
  }
  const bool radioScope = firstImage || secondImage;
  const auto diffs = print::CompareConfigurations(
      first, second, radioScope ? print::CompareScope::RadioMemory : print::CompareScope::Everything);
  if (radioScope) std::cout << print::difftext::kRadioScope.get() << "\n";
  std::cout << print::DifferencesText(diffs, parsed->positional[0], secondName);
  return diffs.empty() ? 0 : 1;
}

}  // namespace
N27_CLI_COMMAND("diff", "list the differences between two configurations", RunDiff);
}  // namespace n27::cli
