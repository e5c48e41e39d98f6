// The installed program: `cmake --install` into a temporary DESTDIR, the tree moved elsewhere
// (no build tree to fall back on), and the programs run from there as a user runs them.

#include <gtest/gtest.h>

#include "install/shell.h"
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <thread>

#include "base/file_io.h"
#include "base/ini_file.h"

namespace fs = std::filesystem;

namespace {


bool have(const std::string &tool) { return Shell("command -v " + tool).status == 0; }

std::string quoted(const fs::path &p) { return "'" + p.string() + "'"; }

// One installation for the whole suite (installing takes a few seconds).
class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root = fs::temp_directory_path() / ("n27_installed_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    install = Shell("DESTDIR=" + quoted(root / "dest") + " " + N27_CMAKE_COMMAND + " --install " +
                 quoted(N27_BINARY_DIR) + " --prefix /usr");
    // Moved to another prefix: the programs must find their data relative to themselves.
    if (install.status == 0)
      Shell("cp -a " + quoted(root / "dest/usr") + " " + quoted(root / "opt"));
  }
  static void TearDownTestSuite() { fs::remove_all(root); }

  void SetUp() override {
    ASSERT_EQ(install.status, 0) << install.out;
    home = root / ("home_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(home);
  }

  // A command run as a user of the moved installation: own HOME and XDG folders, nothing
  // pointing at the build tree.
  std::string asUser(const std::string &command) const {
    return "cd " + quoted(home) + " && env -u N27_PROGRAM_DIR -u N27_DATA_DIR HOME=" + quoted(home) +
           " XDG_CONFIG_HOME=" + quoted(home / "config") + " XDG_DATA_HOME=" + quoted(home / "data") +
           " " + command;
  }
  static fs::path bin(const std::string &program) { return root / "opt/bin" / program; }

  static inline fs::path root;
  static inline ShellRun install;
  fs::path home;
};

// Everything created or changed after `marker`, below `folder`.
std::set<std::string> changedSince(const fs::path &folder, const fs::path &marker) {
  std::set<std::string> changed;
  const auto since = fs::last_write_time(marker);
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
    std::error_code ec;
    if (it->is_symlink(ec) || it->is_directory(ec)) continue;
    if (it->path() != marker && fs::last_write_time(it->path(), ec) >= since)
      changed.insert(fs::relative(it->path(), folder).string());
  }
  return changed;
}

}  // namespace

TEST_F(Installed, LaysOutProgramsDataMenuEntryManualsCompletionAndUdevRule) {
  const fs::path usr = root / "dest/usr";
  for (const char *f :
       {"bin/n27", "bin/n27-cli", "bin/n27-sim", "share/n27/language/english.ini",
        "share/n27/language/chinese.ini", "share/n27/language/mysetup.ini",
        "share/n27/Init/N27PR_0.dat", "share/n27/Init/N27PR_1.dat", "share/n27/help/en/index.html",
        "share/n27/dec.tbl", "share/n27/BatchFun.ini", "share/n27/Version.ini",
        "share/n27/StartE.jpg", "share/applications/n27.desktop",
        "share/icons/hicolor/256x256/apps/n27.png", "share/man/man1/n27.1.gz",
        "share/man/man1/n27-cli.1.gz", "share/man/man1/n27-sim.1.gz",
        "share/bash-completion/completions/n27-cli", "lib/udev/rules.d/60-n27-serial.rules"})
    EXPECT_TRUE(fs::is_regular_file(usr / f)) << f;
  bool metainfo = false;
  for (const auto &e : fs::directory_iterator(usr / "share/metainfo"))
    metainfo = metainfo || e.path().string().ends_with(".metainfo.xml");
  EXPECT_TRUE(metainfo);
  // Nothing of the build or the tests is installed.
  EXPECT_FALSE(fs::exists(usr / "bin/n27-bench"));
  EXPECT_FALSE(fs::exists(usr / "share/n27/n27-cli"));

  const std::string rules = n27::ReadWholeFile((usr / "lib/udev/rules.d/60-n27-serial.rules").string()).value_or("");
  EXPECT_NE(rules.find("GROUP=\"dialout\""), std::string::npos);
  EXPECT_NE(rules.find("ENV{ID_MM_DEVICE_IGNORE}=\"1\""), std::string::npos);
}

TEST_F(Installed, CommandLineWorksFromAMovedTreeWithoutTheBuild) {
  ShellRun made = Shell(asUser(quoted(bin("n27-cli")) + " new -o radio.dat"));
  ASSERT_EQ(made.status, 0) << made.out;
  ShellRun shown = Shell(asUser(quoted(bin("n27-cli")) + " show radio.dat"));
  ASSERT_EQ(shown.status, 0) << shown.out;
  EXPECT_NE(shown.out.find("N27PR"), std::string::npos) << shown.out;
  // Reading and listing wrote no settings.
  EXPECT_FALSE(fs::exists(home / "config/n27/mysetup.ini"));
}

TEST_F(Installed, DesktopProgramWritesOnlyBelowTheUsersFoldersAndTakesOverOldSettings) {
  // An older build ran from this folder and kept the user's port beside itself.
  const fs::path oldSetup = root / "opt/bin/language/mysetup.ini";
  fs::create_directories(oldSetup.parent_path());
  std::ofstream(oldSetup) << "[language]\nIsFirstRun=0\ncomPort=250\n[Ports]\nCOM250=/dev/null\n";
  const fs::path marker = root / "marker";
  std::ofstream(marker) << "";
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // file times are coarse

  const fs::path setup = home / "config/n27/mysetup.ini";
  ShellRun started = Shell(asUser("QT_QPA_PLATFORM=offscreen " + quoted(bin("n27")) +
                          " --no-splash >/dev/null 2>&1 & echo $!"));
  const pid_t pid = std::stoi(started.out);
  // The settings are written at start-up, before the main window shows; give it the time of a
  // slow machine, then stop it.
  for (int i = 0; i < 400 && !fs::exists(setup); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  ::kill(pid, SIGTERM);
  fs::remove(oldSetup);
  fs::remove(oldSetup.parent_path());

  ASSERT_TRUE(fs::exists(setup));
  EXPECT_EQ(n27::IniFile::read(setup.string(), "language", "comPort").value_or(""), "250");
  EXPECT_EQ(n27::IniFile::read(setup.string(), "Ports", "COM250").value_or(""), "/dev/null");
  EXPECT_TRUE(fs::exists(home / "config/n27/BatchFun.ini"));
  for (const auto &f : changedSince(root, marker))
    EXPECT_TRUE(f.starts_with(fs::relative(home / "config", root).string()) ||
                f.starts_with(fs::relative(home / "data", root).string()))
        << "written outside the user's folders: " << f;
}

TEST_F(Installed, ManualPagesHoldEveryOptionOfTheHelpText) {
  struct Page {
    const char *program;
    std::vector<std::string> helpArgs;
  };
  const Page pages[] = {{"n27", {""}},
                        {"n27-sim", {""}},
                        {"n27-cli", {"", "read", "write", "info", "new", "show", "edit", "batch",
                                     "set", "decode", "encode", "report"}}};
  for (const auto &page : pages) {
    ShellRun man = Shell("gzip -dc " + quoted(root / "opt/share/man/man1" / (std::string(page.program) + ".1.gz")));
    ASSERT_EQ(man.status, 0) << man.out;
    std::string text = std::regex_replace(man.out, std::regex(R"(\\-)"), "-");
    for (const auto &section : {".SH SYNOPSIS", ".SH EXIT STATUS", ".SH FILES", ".SH EXAMPLES"})
      EXPECT_NE(text.find(section), std::string::npos) << page.program << " " << section;
    for (const auto &arg : page.helpArgs) {
      ShellRun help = Shell(asUser(quoted(bin(page.program)) + " " + arg + " --help"));
      ASSERT_EQ(help.status, 0) << help.out;
      const std::regex option(R"((^|[\s,\[])(--[a-z][a-z-]+))");
      for (auto it = std::sregex_iterator(help.out.begin(), help.out.end(), option);
           it != std::sregex_iterator(); ++it)
        EXPECT_NE(text.find((*it)[2].str()), std::string::npos)
            << page.program << " " << arg << ": " << (*it)[2].str() << " missing from the manual";
    }
  }
  if (!have("man")) GTEST_SKIP() << "man is not installed: `man -w` not tried";
  ShellRun where = Shell("MANPATH=" + quoted(root / "opt/share/man") + " man -w n27-cli");
  EXPECT_EQ(where.status, 0) << where.out;
  EXPECT_NE(where.out.find("n27-cli.1.gz"), std::string::npos) << where.out;
}

TEST_F(Installed, MenuEntryAndAppStreamFileValidate) {
  const fs::path usr = root / "dest/usr";
  if (!have("desktop-file-validate")) {
    GTEST_SKIP() << "desktop-file-validate is missing (package desktop-file-utils): not checked";
  }
  ShellRun desktop = Shell("desktop-file-validate " + quoted(usr / "share/applications/n27.desktop"));
  EXPECT_EQ(desktop.status, 0) << desktop.out;
  // Hints (suggestions of more categories) are not faults; errors and warnings are.
  EXPECT_EQ(desktop.out.find("error"), std::string::npos) << desktop.out;
  EXPECT_EQ(desktop.out.find("warning"), std::string::npos) << desktop.out;
  if (!have("appstreamcli")) GTEST_SKIP() << "appstreamcli is missing (package appstream): not checked";
  ShellRun appstream = Shell("appstreamcli validate --no-net " + quoted(usr) + "/share/metainfo/*.metainfo.xml");
  EXPECT_EQ(appstream.status, 0) << appstream.out;
  EXPECT_NE(appstream.out.find("Validation was successful"), std::string::npos) << appstream.out;
}

TEST_F(Installed, BashCompletionOffersCommandsAndTheirOptions) {
  if (!have("bash")) GTEST_SKIP() << "bash is missing";
  const std::string completion = quoted(root / "opt/share/bash-completion/completions/n27-cli");
  auto complete = [&](const std::string &line, int cword) {
    const fs::path script = home / "complete.sh";
    std::ofstream(script) << "source " << completion << "\nCOMP_WORDS=(" << line
                          << ")\nCOMP_CWORD=" << cword
                          << "\n_n27_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n";
    return Shell(asUser("bash " + quoted(script)));
  };
  ShellRun commands = complete(quoted(bin("n27-cli")) + " re", 1);
  EXPECT_NE(commands.out.find("read"), std::string::npos) << commands.out;
  EXPECT_NE(commands.out.find("report"), std::string::npos) << commands.out;
  ShellRun options = complete(quoted(bin("n27-cli")) + " read --re", 2);
  EXPECT_NE(options.out.find("--retries"), std::string::npos) << options.out;
}
