#pragma once
// Runs n27-cli from the build's program folder as a user runs it, for the command line tests.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

struct CliRun {
  int status;
  std::string out;  // stdout and stderr together
};

// `args` is passed to the shell as it is: quote what needs quoting.
inline CliRun Cli(const std::string &args) {
  const std::string cmd = std::string(N27_PROGRAM_DIR) + "/n27-cli " + args + " 2>&1";
  CliRun r{-1, {}};
  FILE *p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}
