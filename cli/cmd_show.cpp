// n27-cli show: a data file in readable text.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/show_sections.h"

#include <iomanip>
#include <iostream>

namespace n27::cli {
namespace {

constexpr const char *kUsage =
    "Usage: n27-cli show FILE.dat\n"
    "\n"
    "Prints the configuration of a data file: model, band, every channel and the settings.\n";

void PrintChannels(const Workspace &ws, std::ostream &out) {
  const CodeplugData &d = ws.working;
  out << "Channels: " << d.channelCount << "\n";
  if (d.channelCount == 0) return;
  out << std::left << std::setw(5) << "No." << std::setw(10) << "RX" << std::setw(10) << "TX"
      << std::setw(8) << "Decode" << std::setw(8) << "Encode" << std::setw(6) << "Power"
      << std::setw(8) << "Spacing" << std::setw(5) << "Scan" << std::setw(4) << "BCL"
      << std::setw(4) << "SP" << std::setw(7) << "PTT ID" << std::setw(7) << "OptSig"
      << std::setw(9) << "Autodial" << std::setw(4) << "Rev" << std::setw(4) << "TA"
      << std::setw(9) << "Scramble" << std::setw(9) << "ScrFreq" << std::setw(10) << "Compander"
      << "SpecialDCS\n";
  for (int k = 1; k <= d.channelCount; ++k) {
    const ChannelRecord &c = *d.slot(k);
    out << std::left << std::setw(5) << c.number << std::setw(10) << c.rx.raw() << std::setw(10)
        << c.tx.raw() << std::setw(8) << c.decode.raw() << std::setw(8) << c.encode.raw()
        << std::setw(6) << c.power << std::setw(8) << c.spacing << std::setw(5) << c.scanAdd
        << std::setw(4) << c.busyLock << std::setw(4) << c.spUnmute << std::setw(7) << c.pttId
        << std::setw(7) << c.optSignal << std::setw(9) << c.autodial << std::setw(4) << c.reverse
        << std::setw(4) << c.talkaround << std::setw(9) << c.scramble << std::setw(9)
        << c.scrambleFreq << std::setw(10) << c.compander << c.specialDcs << "\n";
  }
}

int RunShow(const std::vector<std::string> &args) {
  if (WantsHelp(args)) {
    std::cout << kUsage;
    return 0;
  }
  std::string error;
  auto parsed = ParseArgs(args, {}, error);
  if (!parsed) return UsageError("show", error, kUsage);
  if (parsed->positional.size() != 1) return UsageError("show", "give exactly one data file", kUsage);

  Workspace ws;
  if (!LoadWorkspace("show", parsed->positional.front(), ws)) return 1;
  std::cout << "File: " << ws.fileName << "\n"
            << "Model: " << ws.modelName << "\n"
            << "Band: " << ws.bandText << "\n";
  PrintChannels(ws, std::cout);
  PrintSettingsSections(ws, std::cout);
  return 0;
}

}  // namespace
N27_CLI_COMMAND("show", "print the configuration of a data file", RunShow);
}  // namespace n27::cli
