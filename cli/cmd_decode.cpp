// n27-cli decode: a radio image file turned into a data file.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/command_files.h"
#include "base/messages.h"
#include "codeplug/bands.h"
#include "codeplug/configuration.h"
#include "codeplug/image_codec.h"

#include <cstdio>
#include <iostream>

namespace n27::cli {
namespace {

constexpr const char *kDecodeUsage =
    "Usage: n27-cli decode IMAGE -o OUT.dat\n"
    "\n"
    "Decodes a radio memory image (2560 bytes, addresses 0..2559, or 2561 bytes) the way a\n"
    "read from the radio does, starting from a new configuration, and saves it to OUT.dat.\n"
    "The model and band are taken from image bytes 417..422: an image of another model\n"
    "(\"Model Error!\") or with a band code other than 0 or 1 is refused.\n"
    "  -o, --output   the data file to write\n";

int RunDecode(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed = ParseCommand(args, {{{"-o", "--output"}, true}}, kDecodeUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1)
    return UsageError("decode", "give exactly one image file", kDecodeUsage);
  const std::string out = DataFileName(parsed->value("-o"));
  if (out.empty()) return UsageError("decode", "no output file given (-o OUT.dat)", kDecodeUsage);

  const std::string in = parsed->positional.front();
  if (auto clash = CommandFiles(TestModeOn()).in(in, FileKind::Image).out(out, FileKind::Data).clash())
    return Fail("decode", *clash);
  auto image = ReadImageFile("decode", in);
  if (!image) return 1;
  // What every other command refuses is not made into a data file here either: an image of
  // another model, or of a band this program does not know.
  std::string model;
  for (std::size_t i = 0; i < mem::kModelNameLength; ++i) {
    const uint8_t b = image->at(mem::kModelName + i);
    if (b == 0x00 || b == 0xFF) break;
    model.push_back(static_cast<char>(b));
  }
  if (model != kModelCode) return Fail("decode", in + ": " + msg::kModelError);
  const uint8_t band = image->at(mem::kBandCode);
  if (band != 0 && band != 1) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", band);
    return Fail("decode", in + ": unknown band code " + std::to_string(band) + " (" + hex +
                              ") in image byte " + std::to_string(mem::kBandCode) +
                              "; known are 0 (" + kBand400 + ") and 1 (" + kBand136 + ")");
  }
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
