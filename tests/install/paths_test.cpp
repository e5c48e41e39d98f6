// Where the program reads and writes: the user's XDG folders, the shipped data found from the
// executable's place, and the one-time takeover of settings an older build kept beside itself.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "base/paths.h"
#include "base/settings.h"
#include "common/test_folder.h"

namespace fs = std::filesystem;
using namespace n27;

namespace {

// Sets environment variables for one test and puts the old values back.
class EnvScope {
 public:
  void set(const char *name, const std::string &value) {
    remember(name);
    setenv(name, value.c_str(), 1);
  }
  void unset(const char *name) {
    remember(name);
    unsetenv(name);
  }
  ~EnvScope() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
      else unsetenv(it->first.c_str());
    }
  }

 private:
  void remember(const char *name) {
    const char *v = std::getenv(name);
    saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

void writeFile(const std::string &path, const std::string &text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string &path) { return ReadWholeFile(path).value_or("<missing>"); }

unsigned modeOf(const std::string &path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 0777;
}

}  // namespace

using Paths = TestFolderFixture;

TEST_F(Paths, UserFoldersFollowXdgAndFallBackToHome) {
  EnvScope env;
  env.set("XDG_CONFIG_HOME", path("cfg"));
  env.set("XDG_DATA_HOME", path("dat"));
  EXPECT_EQ(ConfigDir(), path("cfg/n27"));
  EXPECT_EQ(DataDir(), path("dat/n27"));
  EXPECT_EQ(DataSubdir("backups"), path("dat/n27/backups"));
  // Created on demand, private to the user.
  EXPECT_TRUE(fs::is_directory(path("cfg/n27")));
  EXPECT_TRUE(fs::is_directory(path("dat/n27/backups")));
  EXPECT_EQ(modeOf(path("cfg/n27")), 0700u);
  EXPECT_EQ(SetupFilePath(), path("cfg/n27/mysetup.ini"));
  EXPECT_EQ(FlagsFilePath(), path("cfg/n27/Setting.ini"));
  EXPECT_EQ(WindowSettingsFilePath(), path("cfg/n27/n27.ini"));

  // Unset or relative XDG values are ignored: the folders below HOME are used.
  env.set("HOME", path("home"));
  env.unset("XDG_CONFIG_HOME");
  env.set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(ConfigDir(), path("home/.config/n27"));
  EXPECT_EQ(DataDir(), path("home/.local/share/n27"));
  EXPECT_FALSE(fs::exists("relative"));
}

TEST_F(Paths, ShippedDataIsFoundFromTheProgramsPlace) {
  EnvScope env;
  env.unset("N27_DATA_DIR");
  // Build tree: the data lies beside the program, the version table one folder up.
  env.set("N27_PROGRAM_DIR", path("build/program"));
  fs::create_directories(path("build/program"));
  EXPECT_FALSE(IsInstalledLayout());
  EXPECT_EQ(ShippedDataDir(), path("build/program"));
  EXPECT_EQ(VersionFile(), path("build/Version.ini"));

  // Installed below any prefix: <prefix>/bin and <prefix>/share/n27.
  fs::create_directories(path("opt/n27/bin"));
  fs::create_directories(path("opt/n27/share/n27"));
  env.set("N27_PROGRAM_DIR", path("opt/n27/bin"));
  EXPECT_TRUE(IsInstalledLayout());
  EXPECT_EQ(ShippedDataDir(), path("opt/n27/share/n27"));
  EXPECT_EQ(ShippedPath("Init/N27PR_0.dat"), path("opt/n27/share/n27/Init/N27PR_0.dat"));
  EXPECT_EQ(VersionFile(), path("opt/n27/share/n27/Version.ini"));

  // A bin folder without share/n27 beside it is a copied program folder, not an installation.
  fs::create_directories(path("copy/bin"));
  env.set("N27_PROGRAM_DIR", path("copy/bin"));
  EXPECT_FALSE(IsInstalledLayout());
  EXPECT_EQ(ShippedDataDir(), path("copy/bin"));
}

class TakeOver : public TestFolderFixture {
 protected:
  SettingsOrigins origins() const {
    return {path("cfg/n27"), path("prog"), path("share"), path("cfg")};
  }
  void SetUp() override {
    TestFolderFixture::SetUp();
    writeFile(path("share/language/mysetup.ini"), "[language]\nIsFirstRun=1\ncomPort=1\n");
    writeFile(path("share/BatchFun.ini"), std::string(20, '\1'));
  }
};

TEST_F(TakeOver, AnOlderBuildsSettingsAreTakenOverOnceAndNeverOverwritten) {
  writeFile(path("prog/language/mysetup.ini"), "[language]\nIsFirstRun=0\ncomPort=7\n[Ports]\nCOM250=/dev/pts/9\n");
  writeFile(path("prog/Setting.ini"), std::string("\1\0\2\0\3\0", 6) + std::string(10, '\0'));
  writeFile(path("cfg/N27/N27 Programmer.conf"), "[Settings]\nMainWidth=12000\n");
  ::chmod(path("prog/language").c_str(), 0555);
  ::chmod(path("prog").c_str(), 0555);

  auto copied = TakeOverSettings(origins());
  EXPECT_EQ(copied.size(), 4u);
  EXPECT_EQ(IniFile::read(path("cfg/n27/mysetup.ini"), "language", "comPort").value_or(""), "7");
  EXPECT_EQ(IniFile::read(path("cfg/n27/mysetup.ini"), "Ports", "COM250").value_or(""), "/dev/pts/9");
  EXPECT_EQ(ReadRadioInfoFlags(path("cfg/n27/Setting.ini")), (std::array<int16_t, 3>{1, 2, 3}));
  EXPECT_EQ(readFile(path("cfg/n27/BatchFun.ini")), std::string(20, '\1'));  // shipped default
  EXPECT_NE(readFile(path("cfg/n27/n27.ini")).find("MainWidth=12000"), std::string::npos);

  // The user changes the port; a later start takes nothing over again.
  ASSERT_TRUE(WriteSetupSettings(path("cfg/n27/mysetup.ini"), 3, true));
  EXPECT_TRUE(TakeOverSettings(origins()).empty());
  EXPECT_EQ(ReadSetupSettings(path("cfg/n27/mysetup.ini")).comPort, 3);
  // The older build's folder is only read.
  EXPECT_EQ(ReadSetupSettings(path("prog/language/mysetup.ini")).comPort, 7);
  ::chmod(path("prog/language").c_str(), 0755);
  ::chmod(path("prog").c_str(), 0755);
}

TEST_F(TakeOver, FreshUsersStartFromTheShippedDefaultsAndStaySeparate) {
  // Two users on one machine: each has their own folder; one's port never reaches the other.
  SettingsOrigins anna = origins(), ben = origins();
  anna.configDir = path("anna/n27");
  ben.configDir = path("ben/n27");
  TakeOverSettings(anna);
  ASSERT_TRUE(WriteSetupSettings(path("anna/n27/mysetup.ini"), 9, true));
  TakeOverSettings(ben);
  EXPECT_EQ(ReadSetupSettings(path("ben/n27/mysetup.ini")).comPort, 1);
  EXPECT_TRUE(ReadSetupSettings(path("ben/n27/mysetup.ini")).isFirstRun);
  EXPECT_EQ(ReadSetupSettings(path("anna/n27/mysetup.ini")).comPort, 9);
  // No older build, no Setting.ini: the flags read as 0, 0, 0.
  EXPECT_FALSE(fs::exists(path("ben/n27/Setting.ini")));
  EXPECT_EQ(ReadRadioInfoFlags(path("ben/n27/Setting.ini")), (std::array<int16_t, 3>{0, 0, 0}));
}

TEST_F(TakeOver, PerUserCopyOfAnOlderBuildWinsAndOddOriginsAreSkipped) {
  // An older build with a read-only program folder kept its copy in ~/.config/n27/language.
  writeFile(path("cfg/n27/language/mysetup.ini"), "[language]\ncomPort=12\n");
  writeFile(path("prog/language/mysetup.ini"), "[language]\ncomPort=7\n");
  // A FIFO or a huge file where an older Setting.ini / BatchFun.ini would be is not read.
  fs::create_directories(path("prog"));
  ASSERT_EQ(::mkfifo(path("prog/Setting.ini").c_str(), 0600), 0);
  { std::ofstream big(path("prog/BatchFun.ini")); big.seekp(5 << 20); big << 'x'; }
  // Something the user put in place of a settings file is left alone.
  fs::create_directories(path("cfg/n27"));
  fs::create_symlink("/nonexistent/n27.ini", path("cfg/n27/n27.ini"));

  TakeOverSettings(origins());
  EXPECT_EQ(ReadSetupSettings(path("cfg/n27/mysetup.ini")).comPort, 12);
  EXPECT_FALSE(fs::exists(path("cfg/n27/Setting.ini")));
  EXPECT_EQ(readFile(path("cfg/n27/BatchFun.ini")), std::string(20, '\1'));
  EXPECT_TRUE(fs::is_symlink(path("cfg/n27/n27.ini")));
}

TEST_F(Paths, ASettingsFileThatIsAFifoIsNeitherReadNorReplaced) {
  // Opening a FIFO would hang the start-up; it reads as defaults and is left alone.
  ASSERT_EQ(::mkfifo(path("mysetup.ini").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(path("Setting.ini").c_str(), 0600), 0);
  EXPECT_EQ(ReadSetupSettings(path("mysetup.ini")).comPort, 0);
  EXPECT_FALSE(WriteSetupSettings(path("mysetup.ini"), 3, true));
  EXPECT_TRUE(fs::is_fifo(path("mysetup.ini")));
  EXPECT_EQ(ReadRadioInfoFlags(path("Setting.ini")), (std::array<int16_t, 3>{0, 0, 0}));
}

TEST_F(TakeOver, AnUnwritableSettingsFolderCopiesNothing) {
  writeFile(path("file"), "not a folder");
  SettingsOrigins o = origins();
  o.configDir = path("file/n27");
  EXPECT_TRUE(TakeOverSettings(o).empty());
  o.configDir.clear();
  EXPECT_TRUE(TakeOverSettings(o).empty());
}
