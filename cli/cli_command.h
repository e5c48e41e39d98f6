#pragma once
// n27-cli commands register themselves: each command lives in its own cli/cmd_*.cpp file
// and declares itself with N27_CLI_COMMAND. main() dispatches on the first argument.

#include <string>
#include <vector>

namespace n27::cli {

// args[0] is the command name; the rest are its arguments. Returns the process exit code.
using CommandFn = int (*)(const std::vector<std::string> &args);

struct Command {
  const char *name;
  const char *summary;  // one line for `n27-cli --help`
  CommandFn run;
};

std::vector<Command> &Registry();

struct Registrar {
  explicit Registrar(Command c) { Registry().push_back(c); }
};

}  // namespace n27::cli

#define N27_CLI_CONCAT2(a, b) a##b
#define N27_CLI_CONCAT(a, b) N27_CLI_CONCAT2(a, b)
#define N27_CLI_COMMAND(NAME, SUMMARY, FN) \
  static ::n27::cli::Registrar N27_CLI_CONCAT(n27_cli_registrar_, __COUNTER__)({NAME, SUMMARY, FN})
