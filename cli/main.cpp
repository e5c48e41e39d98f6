// n27-cli: the N27 programmer's model and radio link from the shell.

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "cli/cli_command.h"

namespace n27::cli {
std::vector<Command> &Registry() {
  static std::vector<Command> commands;
  return commands;
}
}  // namespace n27::cli

namespace {
void usage(FILE *out) {
  std::fprintf(out, "Usage: n27-cli COMMAND [ARGS…]\n\nCommands:\n");
  auto commands = n27::cli::Registry();
  std::sort(commands.begin(), commands.end(),
            [](const auto &a, const auto &b) { return std::strcmp(a.name, b.name) < 0; });
  for (const auto &c : commands) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
  std::fprintf(out, "\n`n27-cli COMMAND --help` describes a command.\n");
}
}  // namespace

int main(int argc, char **argv) {
  // Numbers are always written and read with "." whatever the user's locale: the model uses
  // locale-independent conversions, and Qt must not switch the C locale behind it.
  n27::IgnoreFileSizeSignal();  // a write over `ulimit -f` fails with its reason instead
  QCoreApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    usage(args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  for (const auto &c : n27::cli::Registry())
    if (args[0] == c.name) return c.run(args);
  std::fprintf(stderr, "n27-cli: unknown command \"%s\"\n\n", args[0].c_str());
  usage(stderr);
  return 2;
}
