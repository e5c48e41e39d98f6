// n27-cli encode: a data file turned into a radio image file.

#include "cli/cli_command.h"
#include "cli/cli_util.h"
#include "cli/command_files.h"
#include "codeplug/image_codec.h"

#include <iostream>

namespace n27::cli {
namespace {

constexpr const char *kEncodeUsage =
    "Usage: n27-cli encode FILE.dat [--base IMAGE] -o OUT.img\n"
    "\n"
    "Encodes a data file into a radio memory image the way a write to the radio does and\n"
    "writes all 2561 bytes to OUT.img. Bytes that no setting covers come from the base image\n"
    "(2560 or 2561 bytes, for example one read from the radio); without one they are 0.\n"
    "  --base IMAGE   the image to encode onto\n"
    "  -o, --output   the image file to write\n";

int RunEncode(const std::vector<std::string> &args) {
  int exitCode = 0;
  auto parsed =
      ParseCommand(args, {{{"--base"}, true}, {{"-o", "--output"}, true}}, kEncodeUsage, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1)
    return UsageError("encode", "give exactly one data file", kEncodeUsage);
  const std::string out = parsed->value("-o");
  if (out.empty()) return UsageError("encode", "no output file given (-o OUT.img)", kEncodeUsage);

  if (auto clash = CommandFiles(TestModeOn())
                        .in(parsed->positional.front(), FileKind::Data)
                        .in(parsed->value("--base"), FileKind::Image)
                        .out(out, FileKind::Image)
                        .clash())
    return Fail("encode", *clash);
  Workspace ws;
  if (!LoadWorkspace("encode", parsed->positional.front(), ws)) return 1;
  if (parsed->has("--base")) {
    auto base = ReadImageFile("encode", parsed->value("--base"));
    if (!base) return 1;
    ws.image = *base;
  }
  EncodeImage(ws);
  if (!WriteImageFile("encode", ws.image, out)) return 1;
  std::cout << out << ": " << ws.working.channelCount << " channels\n";
  return 0;
}

}  // namespace
N27_CLI_COMMAND("encode", "encode a data file into a radio image file", RunEncode);
}  // namespace n27::cli
