// n27-cli info: reads the radio's information area and prints the record.

#include <iostream>

#include "cli/cli_command.h"
#include "cli/radio_link.h"
#include "codeplug/bands.h"
#include "link/transfer_session.h"

namespace n27::cli {
namespace {

const std::string kInfoUsage = std::string(
    "Usage: n27-cli info --port PORT [--retries N]\n"
    "\n"
    "Reads the information stored in the radio (model, band, serial number, dates, codes)\n"
    "and prints it. No password is needed.\n") + kLinkOptionsUsage;

int RunInfo(const std::vector<std::string> &args) {
  int rc = 0;
  auto parsed = ParseCommand(args, LinkOptionDefs(), kInfoUsage.c_str(), rc);
  if (!parsed) return rc;
  LinkOptions link;
  std::string error;
  if (!ReadLinkOptions(*parsed, link, error)) return UsageError("info", error, kInfoUsage.c_str());
  if (!parsed->positional.empty())
    return UsageError("info", "unexpected argument \"" + parsed->positional.front() + "\"", kInfoUsage.c_str());

  Workspace ws;
  PrepareLinkWorkspace(ws, link);
  PrepareRadioInformationRead(ws);
  link::Identification radio;
  if (!RunTransfer("info", ws, TransferType::RadioInformation, link, &radio)) return 1;
  CompleteRadioInformationRead(ws, radio);
  const RadioInformation &r = ws.radioInfo;
  std::cout << "Radio Type:       " << ModelDisplayName(r.radioType) << "\n"
            << "Frequency:        " << BandText(r.bandCode) << "\n"
            << "Area Code:        " << r.areaCode << "\n"
            << "Serial Number:    " << r.serialNumber << "\n"
            << "Producted Date:   " << r.productionDate << "\n"
            << "Manufacture Code: " << r.manufactureCode << "\n"
            << "User Code:        " << r.userCode << "\n"
            << "Version:          " << r.version << "\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("info", "read and print the information stored in a radio", RunInfo);
}  // namespace n27::cli
