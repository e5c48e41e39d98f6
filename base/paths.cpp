#include "base/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace n27 {

namespace {

std::string environment(const char *name) {
  const char *value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string homeFolder() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
    return pw->pw_dir;
  // No home at all (a bare service account): a private folder of this user in /tmp.
  return "/tmp/n27-" + std::to_string(::getuid());
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are ignored,
// as the XDG rules say), else the fallback below the home folder.
std::string xdgFolder(const char *variable, const char *fallback) {
  std::string value = environment(variable);
  if (!value.empty() && value.front() == '/') return value;
  return JoinPath(homeFolder(), fallback);
}

std::string createdFolder(const std::string &folder) {
  MakeFolders(folder, 0700);
  return folder;
}

}  // namespace

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

bool MakeFolders(const std::string &folder, unsigned mode) {
  if (folder.empty()) return false;
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  const std::string parent = ParentFolder(folder);
  if (!parent.empty() && parent != folder && !MakeFolders(parent, mode)) return false;
  if (::mkdir(folder.c_str(), static_cast<mode_t>(mode)) == 0) return true;
  return errno == EEXIST && fs::is_directory(folder, ec);
}

std::string ProgramFolder() {
  if (std::string env = environment("N27_PROGRAM_DIR"); !env.empty()) return env;
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

bool IsInstalledLayout() {
  const std::string program = ProgramFolder();
  std::error_code ec;
  return fs::path(program).filename() == "bin" &&
         fs::is_directory(JoinPath(ParentFolder(program), "share/n27"), ec);
}

std::string ShippedDataDir() {
  if (std::string env = environment("N27_DATA_DIR"); !env.empty()) return env;
  if (IsInstalledLayout()) return JoinPath(ParentFolder(ProgramFolder()), "share/n27");
  return ProgramFolder();
}

std::string ShippedPath(const std::string &relative) {
  return JoinPath(ShippedDataDir(), relative);
}

std::string VersionFile() {
  if (IsInstalledLayout() && environment("N27_DATA_DIR").empty())
    return ShippedPath("Version.ini");
  return JoinPath(ParentFolder(ProgramFolder()), "Version.ini");
}

std::string ConfigHome() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string DataHome() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }
std::string ConfigDir() { return createdFolder(JoinPath(ConfigHome(), "n27")); }
std::string DataDir() { return createdFolder(JoinPath(DataHome(), "n27")); }
std::string DataSubdir(const std::string &name) { return createdFolder(JoinPath(DataDir(), name)); }

std::string WritableFolder() { return ConfigDir(); }

std::string ReadablePath(const std::string &relative) {
  std::string own = JoinPath(ConfigDir(), relative);
  std::error_code ec;
  if (fs::exists(own, ec)) return own;
  return ShippedPath(relative);
}

}  // namespace n27
