// n27-cli decode: a radio image file turned into a data file.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"

#include <iostream>

namespace n27::cli {
namespace {

constexpr const char *kUsage =
    "Usage: n27-cli decode IMAGE -o OUT.dat\n"
    "\n"
    "Decodes a radio memory image (2560 bytes, addresses 0..2559, or 2561 bytes) the way a\n"
    "read from the radio does, starting from a new configuration, and saves it to OUT.dat.\n"
    "The model and band are taken from image bytes 417..422.\n"
    "  -o, --output   the data file to write\n";

int RunDecode(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"-o", "--output"}, true}}, kUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1)
    return UsageError("decode", "give exactly one image file", kUsage);
  const std::string out = parsed->value("-o");
  if (out.empty()) return UsageError("decode", "no output file given (-o OUT.dat)", kUsage);

  auto image = ReadImageFile("decode", parsed->positional.front());
  if (!image) return 1;
  Workspace ws;
  PrepareWorkspace(ws);
  ws.loadDefaultFile = false;
  NewConfiguration(ws);
  ws.image = *image;
  DecodeImage(ws);
  if (!SaveWorkspace("decode", ws, out)) return 1;
  std::cout << out << ": " << ws.working.channelCount << " channels, model " << ws.modelName
            << ", " << ws.bandText << "\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("decode", "decode a radio image file into a data file", RunDecode);
}  // namespace n27::cli
