// The Debian package: built with CPack into a temporary folder and inspected with dpkg-deb.
// Building the package takes 30-90 s on a busy machine, so it runs with `make package-test`
// (N27_PACKAGE_TEST=1) rather than with every `make test`.

#include <gtest/gtest.h>

#include "install/shell.h"
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

TEST(Package, DebianPackageHoldsTheInstallationAndItsDependencies) {
  const char *wanted = std::getenv("N27_PACKAGE_TEST");
  if (!wanted || std::string(wanted) != "1")
    GTEST_SKIP() << "the package build takes a minute: run `make package-test` to build and inspect it";
  for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps"})
    if (Shell(std::string("command -v ") + tool).status != 0)
      GTEST_SKIP() << tool << " is missing (package dpkg-dev): the Debian package is not built here";
  const fs::path out = fs::temp_directory_path() / ("n27_package_" + std::to_string(::getpid()));
  fs::remove_all(out);
  ShellRun built = Shell(std::string(N27_CPACK_COMMAND) + " -G DEB -B '" + out.string() + "' --config '" +
                    N27_BINARY_DIR + "/CPackConfig.cmake'");
  ASSERT_EQ(built.status, 0) << built.out;
  fs::path deb;
  for (const auto &e : fs::directory_iterator(out))
    if (e.path().extension() == ".deb") deb = e.path();
  ASSERT_FALSE(deb.empty()) << built.out;
  EXPECT_TRUE(deb.filename().string().starts_with("n27_")) << deb;

  ShellRun contents = Shell("dpkg-deb -c '" + deb.string() + "'");
  ASSERT_EQ(contents.status, 0) << contents.out;
  for (const char *f : {"./usr/bin/n27", "./usr/bin/n27-cli", "./usr/bin/n27-sim",
                        "./usr/share/n27/Init/N27PR_0.dat", "./usr/share/n27/Version.ini",
                        "./usr/share/applications/n27.desktop", "./usr/share/man/man1/n27-cli.1.gz",
                        "./usr/share/bash-completion/completions/n27-cli",
                        "./usr/lib/udev/rules.d/60-n27-serial.rules", "root/root"})
    EXPECT_NE(contents.out.find(f), std::string::npos) << f;
  EXPECT_EQ(contents.out.find("/usr/local"), std::string::npos);

  ShellRun control = Shell("dpkg-deb -f '" + deb.string() + "' Package Depends");
  EXPECT_NE(control.out.find("Package: n27"), std::string::npos) << control.out;
  EXPECT_NE(control.out.find("libqt6widgets6"), std::string::npos) << control.out;
  EXPECT_NE(control.out.find("libc6"), std::string::npos) << control.out;
  ShellRun scripts = Shell("dpkg-deb -I '" + deb.string() + "' postinst");
  EXPECT_NE(scripts.out.find("udevadm control --reload-rules"), std::string::npos) << scripts.out;
  fs::remove_all(out);
}
