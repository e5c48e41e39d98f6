// The data file commands of n27-cli, run as a user runs them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/file_io.h"
#include "base/ini_file.h"
#include "common/cli_run.h"
#include "common/test_folder.h"

namespace {

namespace fs = std::filesystem;

using FileCommands = TestFolderFixture;

TEST_F(FileCommands, NewShowAndWrongUse) {
  CliRun r = Cli("new --band 1 --empty -o " + path("a.dat"));
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(fs::file_size(path("a.dat")), 9759u);
  r = Cli("show " + path("a.dat"));
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("136 - 174 MHz"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Channels: 0"), std::string::npos) << r.out;

  for (const char *cmd : {"new", "show", "decode", "encode"}) {
    r = Cli(std::string(cmd) + " --help");
    EXPECT_EQ(r.status, 0) << cmd;
    EXPECT_NE(r.out.find("Usage: n27-cli " + std::string(cmd)), std::string::npos) << cmd;
  }
  EXPECT_NE(Cli("new --band 2 -o " + path("b.dat")).status, 0);
  EXPECT_NE(Cli("new --band 0").status, 0);  // no output file
  EXPECT_NE(Cli("new --colour red -o " + path("b.dat")).status, 0);
  EXPECT_FALSE(fs::exists(path("b.dat")));

  std::ofstream(path("bad.dat")) << "not a data file";
  r = Cli("show " + path("bad.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("file error."), std::string::npos) << r.out;
  EXPECT_NE(Cli("show " + path("missing.dat")).status, 0);
}

TEST_F(FileCommands, DecodeThenEncodeGivesBackTheChannelArea) {
  std::string image(2560, '\0');
  const char model[] = "N27PR";
  image.replace(417, 5, model, 5);
  for (int n : {1, 2, 40, 128}) {
    const std::size_t r = 512 + static_cast<std::size_t>(n - 1) * 16;
    const unsigned char rec[16] = {0x1A, 0x95, 0x83, 0xEA, 0x1A, 0x95, 0x83, 0xEA,
                                   0x01, 0x08, 0xFF, 0xFF, 0x48, 0x02, 0xB8, 0x0B};
    image.replace(r, 16, reinterpret_cast<const char *>(rec), 16);
    image[272 + (n - 1) / 8] = static_cast<char>(image[272 + (n - 1) / 8] | (1 << ((n - 1) % 8)));
  }
  image[288] = 0x02;  // channel 2 in the scan list
  std::ofstream(path("radio.img"), std::ios::binary) << image;

  CliRun r = Cli("decode " + path("radio.img") + " -o " + path("radio.dat"));
  ASSERT_EQ(r.status, 0) << r.out;
  r = Cli("show " + path("radio.dat"));
  EXPECT_NE(r.out.find("Channels: 4"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("446.00625"), std::string::npos) << r.out;
  r = Cli("encode " + path("radio.dat") + " -o " + path("back.img"));
  ASSERT_EQ(r.status, 0) << r.out;
  const std::string back = n27::ReadWholeFile(path("back.img")).value();
  ASSERT_EQ(back.size(), 2561u);
  EXPECT_EQ(back.substr(272, 32), image.substr(272, 32));
  EXPECT_TRUE(back.substr(512, 2048) == image.substr(512, 2048));
  EXPECT_EQ(back.substr(417, 6), image.substr(417, 6));

  std::ofstream(path("short.img"), std::ios::binary) << image.substr(0, 2000);
  r = Cli("decode " + path("short.img") + " -o " + path("x.dat"));
  EXPECT_NE(r.status, 0);
  EXPECT_FALSE(fs::exists(path("x.dat")));
  EXPECT_NE(Cli("encode " + path("radio.dat") + " --base " + path("short.img") + " -o " + path("x.img")).status, 0);
}

TEST_F(FileCommands, ShippedDefaultFilesAreWhatTheScriptMakesAndNewStartsFromThem) {
  const std::string script = std::string(N27_SOURCE_DIR) + "/scripts/make-default-files.sh";
  const std::string cmd = "bash " + script + " " + N27_BINARY_DIR + " " + dir.string() + " 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const char *name : {"N27PR_0.dat", "N27PR_1.dat"}) {
    auto made = n27::ReadWholeFile((dir / name).string());
    auto shipped = n27::ReadWholeFile(std::string(N27_SOURCE_DIR) + "/Init/" + name);
    ASSERT_TRUE(made && shipped) << name;
    EXPECT_TRUE(*made == *shipped) << name << " differs from what the script makes";
  }
  CliRun r = Cli("new --band 1 -o " + path("new.dat"));
  ASSERT_EQ(r.status, 0) << r.out;
  r = Cli("show " + path("new.dat"));
  EXPECT_NE(r.out.find("Channels: 16"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("173.50000"), std::string::npos) << r.out;
}

}  // namespace
