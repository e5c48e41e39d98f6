#include "base/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace n27 {

std::string JoinPath(const std::string &folder, const std::string &relative) {
  if (folder.empty()) return relative;
  if (folder.back() == '/') return folder + relative;
  return folder + "/" + relative;
}

std::string ParentFolder(const std::string &folder) {
  fs::path p(folder);
  if (!p.has_filename()) p = p.parent_path();
  return p.parent_path().string();
}

std::string ProgramFolder() {
  if (const char *env = std::getenv("N27_PROGRAM_DIR"); env && *env) return env;
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

std::string WritableFolder() {
  std::string program = ProgramFolder();
  if (::access(program.c_str(), W_OK) == 0) return program;
  std::string base;
  if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char *home = std::getenv("HOME"); home && *home)
    base = JoinPath(home, ".config");
  else
    base = "/tmp";
  std::string dir = JoinPath(base, "n27");
  std::error_code ec;
  fs::create_directories(dir, ec);
  return dir;
}

std::string ReadablePath(const std::string &relative) {
  std::string writable = JoinPath(WritableFolder(), relative);
  std::error_code ec;
  if (fs::exists(writable, ec)) return writable;
  return JoinPath(ProgramFolder(), relative);
}

}  // namespace n27
