#pragma once
// Runs a shell command for the installation tests; stdout and stderr together.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct ShellRun {
  int status = -1;
  std::string out;
};

inline ShellRun Shell(const std::string &command) {
  ShellRun r;
  FILE *p = popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}
